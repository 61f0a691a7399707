// Stands in for the VST3 SDK's definitions of the plug-in view interface ids (public.sdk/source/common/commoniids.cpp).
#include "pluginterfaces/gui/iplugview.h"
#include "pluginterfaces/gui/iplugviewcontentscalesupport.h"

namespace Steinberg {

DEF_CLASS_IID (IPlugView)
DEF_CLASS_IID (IPlugFrame)
DEF_CLASS_IID (IPlugViewContentScaleSupport)

} // namespace Steinberg
