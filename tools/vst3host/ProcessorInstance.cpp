#include "tools/vst3host/ProcessorInstance.h"

#include "tools/vst3host/HostError.h"

#include "public.sdk/source/common/memorystream.h"

#include <cstring>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Veltrane {
namespace Host {

ProcessorInstance::ProcessorInstance (const PluginModule& module, const ClassRecord& record,
                                      FUnknown* hostContext)
: component (module.createInstance<IComponent> (record.cid))
{
	if (!component)
		throw HostError ("the factory created no component of class \"" + record.name + "\"");
	processor = FUnknownPtr<IAudioProcessor> (component);
	if (!processor)
		throw HostError ("class \"" + record.name + "\" is no audio processor");
	if (component->initialize (hostContext) != kResultOk)
		throw HostError ("the component of class \"" + record.name + "\" failed to initialize");
}

ProcessorInstance::~ProcessorInstance ()
{
	component->terminate ();
}

bool ProcessorInstance::getControllerClassId (TUID cid) const
{
	TUID id {};
	if (component->getControllerClassId (id) != kResultOk)
		return false;
	const TUID none {};
	if (std::memcmp (id, none, sizeof (TUID)) == 0)
		return false;
	std::memcpy (cid, id, sizeof (TUID));
	return true;
}

StateChunk ProcessorInstance::getState () const
{
	IPtr<MemoryStream> stream = owned (new MemoryStream);
	if (component->getState (stream) != kResultOk)
		throw HostError ("the component refused to give its state");
	if (stream->getSize () == 0)
		return {};
	return StateChunk (stream->getData (), stream->getData () + stream->getSize ());
}

void ProcessorInstance::setState (const StateChunk& chunk)
{
	StateChunk copy (chunk);
	IPtr<MemoryStream> stream = owned (new MemoryStream (copy.data (), static_cast<TSize> (copy.size ())));
	if (component->setState (stream) != kResultOk)
		throw HostError ("the component refused the state chunk of " + std::to_string (chunk.size ()) +
		                 " bytes");
}

} // namespace Host
} // namespace Veltrane
