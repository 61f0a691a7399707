// The audio-processor component of a plug-in, created and initialized as a host does.
#pragma once

#include "tools/vst3host/ChunkFile.h"
#include "tools/vst3host/PluginModule.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

namespace Veltrane {
namespace Host {

class ProcessorInstance
{
public:
	/** Creates the class by its id and initializes it with the host context; HostError when the
	    factory refuses, the object is no audio processor or initialize fails. */
	ProcessorInstance (const PluginModule& module, const ClassRecord& record,
	                   Steinberg::FUnknown* hostContext);
	/** Terminates and releases the component. */
	~ProcessorInstance ();
	ProcessorInstance (const ProcessorInstance&) = delete;
	ProcessorInstance& operator= (const ProcessorInstance&) = delete;

	Steinberg::Vst::IComponent& getComponent () { return *component; }
	Steinberg::Vst::IAudioProcessor& getProcessor () { return *processor; }

	/** False when the component names no controller class. */
	bool getControllerClassId (Steinberg::TUID cid) const;

	/** The component's state chunk; HostError when it refuses. */
	StateChunk getState () const;
	/** HostError when the component refuses the chunk. */
	void setState (const StateChunk& chunk);

private:
	Steinberg::IPtr<Steinberg::Vst::IComponent> component;
	Steinberg::IPtr<Steinberg::Vst::IAudioProcessor> processor;
};

} // namespace Host
} // namespace Veltrane
