// Runs audio through an audio processor block by block, the way a host's offline render does.
#pragma once

#include "tools/vst3host/AudioBuffer.h"
#include "tools/vst3host/ProcessorInstance.h"

#include "pluginterfaces/vst/vsttypes.h"

#include <utility>
#include <vector>

namespace Veltrane {
namespace Host {

/** A normalized value that reaches the processor later in the render. */
struct ScheduledChange
{
	size_t frame = 0;
	Steinberg::Vst::ParamID tag = 0;
	Steinberg::Vst::ParamValue value = 0;
};

struct RenderSettings
{
	double sampleRate = 48000;
	Steinberg::int32 blockSize = 512;
	Steinberg::int32 sampleSize = Steinberg::Vst::kSample32;
	/** Normalized values by tag, delivered at the start of the first block. */
	std::vector<std::pair<Steinberg::Vst::ParamID, Steinberg::Vst::ParamValue>> parameters;
	/** Each delivered through the queue of the block that holds its frame, at its offset there. */
	std::vector<ScheduledChange> changes;
	/** Drops the processor's latency from the start of the output, so it lines up with the input. */
	bool compensateLatency = true;
};

class Renderer
{
public:
	explicit Renderer (ProcessorInstance& processor);

	/** Mono or stereo input; the output holds the output bus's channels at the settings' rate,
	    the input's length plus the latency (minus it again when compensating). HostError when the
	    processor refuses the layout, the sample size or the setup, or a process call fails. */
	AudioBuffer render (const AudioBuffer& input, const RenderSettings& settings);
	/** The latency the processor reported at the last render's activation. */
	Steinberg::uint32 getLatency () const { return latency; }

private:
	void arrangeBuses (size_t inputChannels);
	void activate (const RenderSettings& settings);
	void deactivate ();
	AudioBuffer run (const AudioBuffer& input, const RenderSettings& settings);

	ProcessorInstance& instance;
	Steinberg::uint32 latency = 0;
};

} // namespace Host
} // namespace Veltrane
