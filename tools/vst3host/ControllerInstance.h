// The edit controller of a plug-in, created and initialized as a host does.
#pragma once

#include "tools/vst3host/ChunkFile.h"
#include "tools/vst3host/PluginModule.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <string>
#include <vector>

namespace Veltrane {
namespace Host {

/** One parameter as the controller reports it, with its current value and value text. */
struct ParameterRecord
{
	Steinberg::Vst::ParamID id = 0;
	std::string title;
	std::string units;
	Steinberg::int32 stepCount = 0;
	Steinberg::int32 flags = 0;
	Steinberg::Vst::ParamValue defaultValue = 0;
	Steinberg::Vst::ParamValue value = 0;
	std::string valueText;
};

class ControllerInstance
{
public:
	/** Creates the controller class by its id and initializes it with the host context; HostError
	    when the factory refuses or initialize fails. */
	ControllerInstance (const PluginModule& module, const Steinberg::TUID cid,
	                    Steinberg::FUnknown* hostContext);
	/** Terminates and releases the controller. */
	~ControllerInstance ();
	ControllerInstance (const ControllerInstance&) = delete;
	ControllerInstance& operator= (const ControllerInstance&) = delete;

	Steinberg::Vst::IEditController& getController () { return *controller; }

	/** Every parameter, in the controller's order. */
	std::vector<ParameterRecord> getParameters () const;
	/** Hands the processor's chunk to the controller; HostError when it refuses. */
	void setComponentState (const StateChunk& chunk);

private:
	Steinberg::IPtr<Steinberg::Vst::IEditController> controller;
};

} // namespace Host
} // namespace Veltrane
