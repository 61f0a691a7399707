#include "tools/vst3host/PluginInstance.h"

#include "tools/vst3host/HostError.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Veltrane {
namespace Host {

namespace {

const ClassRecord& audioModuleClassOf (const PluginModule& module)
{
	const ClassRecord* record = module.findClass (kVstAudioEffectClass);
	if (!record)
		throw HostError ("the module offers no \"" + std::string (kVstAudioEffectClass) + "\" class");
	return *record;
}

} // namespace

PluginInstance::PluginInstance (const PluginModule& module)
{
	const ClassRecord& record = audioModuleClassOf (module);
	processor = std::make_unique<ProcessorInstance> (module, record, &hostContext);
	TUID controllerCid;
	if (!processor->getControllerClassId (controllerCid))
		throw HostError ("class \"" + record.name + "\" names no edit controller class");
	controller = std::make_unique<ControllerInstance> (module, controllerCid, &hostContext);
	controller->setComponentState (processor->getState ());
}

void PluginInstance::loadState (const StateChunk& chunk)
{
	processor->setState (chunk);
	controller->setComponentState (chunk);
}

} // namespace Host
} // namespace Veltrane
