#include "vstgui/lib/clinestyle.h"

namespace VSTGUI {

const CLineStyle kLineSolid;
const CLineStyle kLineOnOffDash (CLineStyle::CoordVector {1., 1.});

} // namespace VSTGUI
