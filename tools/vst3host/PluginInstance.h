// A plug-in as a host holds it: the processor component and its separate edit controller.
#pragma once

#include "tools/vst3host/ControllerInstance.h"
#include "tools/vst3host/ProcessorInstance.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <memory>

namespace Veltrane {
namespace Host {

/** Creates the first "Audio Module Class" of the module, then the controller class the component
    names, and hands the controller the component's state. The module must outlive the instance. */
class PluginInstance
{
public:
	/** HostError when the module offers no audio module class or a creation step fails. */
	explicit PluginInstance (const PluginModule& module);
	PluginInstance (const PluginInstance&) = delete;
	PluginInstance& operator= (const PluginInstance&) = delete;

	ProcessorInstance& getProcessor () { return *processor; }
	ControllerInstance& getController () { return *controller; }

	/** Restores a saved chunk the way hosts load a project: to the component, then the same
	    chunk to the controller. */
	void loadState (const StateChunk& chunk);
	StateChunk saveState () const { return processor->getState (); }

private:
	// The SDK's host application counts no references, so the instance holds it by value.
	Steinberg::Vst::HostApplication hostContext;
	std::unique_ptr<ProcessorInstance> processor;
	std::unique_ptr<ControllerInstance> controller;
};

} // namespace Host
} // namespace Veltrane
