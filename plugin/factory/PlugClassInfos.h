// The factory information and the class records the module's factory offers.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

namespace Steinberg {
namespace Vst {

const PFactoryInfo& plugFactoryInfo ();
const PClassInfo2& plugProcessorClassInfo ();
const PClassInfo2& plugControllerClassInfo ();

} // namespace Vst
} // namespace Steinberg
