// Class identifiers of the processor and the controller; hosts store them in projects.
#pragma once

#include "pluginterfaces/base/funknown.h"

namespace Steinberg {
namespace Vst {

static const FUID kPlugProcessorUID (0xD310C45E, 0xC5C84384, 0xA5933C1E, 0xB39236FE);
static const FUID kPlugControllerUID (0xEF725D8D, 0x94614168, 0x93275583, 0xE621115B);

} // namespace Vst
} // namespace Steinberg
