#include "plugin/factory/PlugClassInfos.h"

#include "plugin/PlugVersion.h"
#include "plugin/factory/PlugCids.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

const PFactoryInfo& plugFactoryInfo ()
{
	static const PFactoryInfo info ("Veltrane", "https://veltrane.example",
	                                "mailto:support@veltrane.example", PFactoryInfo::kUnicode);
	return info;
}

const PClassInfo2& plugProcessorClassInfo ()
{
	static const PClassInfo2 info (kPlugProcessorUID.toTUID (), PClassInfo::kManyInstances,
	                               kVstAudioEffectClass, "ks Veltrane", kDistributable,
	                               PlugType::kFxSpatial, nullptr, kPlugClassVersion, kPlugSdkVersion);
	return info;
}

const PClassInfo2& plugControllerClassInfo ()
{
	static const PClassInfo2 info (kPlugControllerUID.toTUID (), PClassInfo::kManyInstances,
	                               kVstComponentControllerClass, "ks Veltrane Controller", 0,
	                               nullptr, nullptr, kPlugClassVersion, kPlugSdkVersion);
	return info;
}

} // namespace Vst
} // namespace Steinberg
