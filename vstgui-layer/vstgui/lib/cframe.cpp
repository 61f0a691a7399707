#include "vstgui/lib/cframe.h"

namespace VSTGUI {

CFrame::CFrame (const CRect& size) : CViewContainer (CRect (0, 0, size.getWidth (), size.getHeight ()))
{
}

} // namespace VSTGUI
