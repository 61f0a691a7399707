#include "tools/vst3host/Renderer.h"

#include "tools/vst3host/HostError.h"

#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Veltrane {
namespace Host {

namespace {

template <typename Sample>
void copyIn (Sample* target, const std::vector<double>& source, size_t start, int32 count)
{
	for (int32 i = 0; i < count; ++i)
	{
		const size_t frame = start + static_cast<size_t> (i);
		target[i] = frame < source.size () ? static_cast<Sample> (source[frame]) : Sample (0);
	}
}

template <typename Sample>
void copyOut (std::vector<double>& target, const Sample* source, size_t start, int32 count)
{
	for (int32 i = 0; i < count; ++i)
		target[start + static_cast<size_t> (i)] = static_cast<double> (source[i]);
}

// Each bus channel reads the file channel of its number, a mono file feeding every channel.
void fillInput (AudioBusBuffers& bus, int32 sampleSize, const AudioBuffer& input, size_t start, int32 count)
{
	bus.silenceFlags = 0;
	for (int32 c = 0; c < bus.numChannels; ++c)
	{
		const auto& source = input.channels[std::min (static_cast<size_t> (c), input.numChannels () - 1)];
		if (sampleSize == kSample64)
			copyIn (bus.channelBuffers64[c], source, start, count);
		else
			copyIn (bus.channelBuffers32[c], source, start, count);
	}
}

void readOutput (const AudioBusBuffers& bus, int32 sampleSize, AudioBuffer& output, size_t start, int32 count)
{
	for (int32 c = 0; c < bus.numChannels; ++c)
	{
		auto& target = output.channels[static_cast<size_t> (c)];
		if (sampleSize == kSample64)
			copyOut (target, bus.channelBuffers64[c], start, count);
		else
			copyOut (target, bus.channelBuffers32[c], start, count);
	}
}

void queuePoint (ParameterChanges& changes, ParamID tag, int32 offset, ParamValue value)
{
	int32 index = 0;
	IParamValueQueue* queue = changes.addParameterData (tag, index);
	if (!queue || queue->addPoint (offset, value, index) != kResultOk)
		throw HostError ("cannot queue a value for parameter " + std::to_string (tag));
}

void queueParameters (ParameterChanges& changes, const RenderSettings& settings)
{
	for (const auto& [tag, value] : settings.parameters)
		queuePoint (changes, tag, 0, value);
}

// The changes in frame order; a stable sort keeps the order of points given for the same frame.
std::vector<ScheduledChange> inFrameOrder (const std::vector<ScheduledChange>& changes)
{
	std::vector<ScheduledChange> sorted (changes);
	std::stable_sort (sorted.begin (), sorted.end (),
	                  [] (const ScheduledChange& a, const ScheduledChange& b) { return a.frame < b.frame; });
	return sorted;
}

// The most points one queue must hold in one block: the starting values share the first block's
// queues with the changes that fall into it.
int32 pointsPerQueue (const std::vector<ScheduledChange>& sorted, const RenderSettings& settings)
{
	std::map<std::pair<size_t, ParamID>, int32> counts;
	for (const auto& entry : settings.parameters)
		++counts[{0, entry.first}];
	for (const ScheduledChange& change : sorted)
		++counts[{change.frame / static_cast<size_t> (settings.blockSize), change.tag}];
	int32 most = 1;
	for (const auto& entry : counts)
		most = std::max (most, entry.second);
	return most;
}

int32 distinctTags (const std::vector<ScheduledChange>& sorted, const RenderSettings& settings)
{
	std::set<ParamID> tags;
	for (const auto& entry : settings.parameters)
		tags.insert (entry.first);
	for (const ScheduledChange& change : sorted)
		tags.insert (change.tag);
	return std::max<int32> (1, static_cast<int32> (tags.size ()));
}

// Queues the changes from next on that fall before start + count; returns the first one left.
size_t queueScheduledChanges (ParameterChanges& changes, const std::vector<ScheduledChange>& sorted, size_t next,
                              size_t start, int32 count)
{
	for (; next < sorted.size () && sorted[next].frame < start + static_cast<size_t> (count); ++next)
	{
		const ScheduledChange& change = sorted[next];
		queuePoint (changes, change.tag, static_cast<int32> (change.frame - start), change.value);
	}
	return next;
}

void checkSettings (const AudioBuffer& input, const RenderSettings& settings)
{
	if (input.numChannels () < 1 || input.numChannels () > 2)
		throw HostError ("only mono and stereo input can be rendered, not " +
		                 std::to_string (input.numChannels ()) + " channels");
	if (!std::isfinite (settings.sampleRate) || settings.sampleRate <= 0)
		throw HostError ("the sample rate must be above 0");
	if (settings.blockSize < 1)
		throw HostError ("the block size must be at least 1");
	if (settings.sampleSize != kSample32 && settings.sampleSize != kSample64)
		throw HostError ("the sample size must be 32 or 64 bits");
}

} // namespace

Renderer::Renderer (ProcessorInstance& processor) : instance (processor)
{
}

AudioBuffer Renderer::render (const AudioBuffer& input, const RenderSettings& settings)
{
	checkSettings (input, settings);
	arrangeBuses (input.numChannels ());
	activate (settings);
	try
	{
		AudioBuffer output = run (input, settings);
		deactivate ();
		return output;
	}
	catch (...)
	{
		deactivate ();
		throw;
	}
}

void Renderer::arrangeBuses (size_t inputChannels)
{
	IComponent& component = instance.getComponent ();
	if (component.getBusCount (kAudio, kInput) < 1 || component.getBusCount (kAudio, kOutput) < 1)
		throw HostError ("the processor has no audio input or no audio output bus");
	SpeakerArrangement in = inputChannels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
	SpeakerArrangement out = SpeakerArr::kStereo;
	// A refused arrangement leaves the processor's own; the input is spread over whatever it has.
	instance.getProcessor ().setBusArrangements (&in, 1, &out, 1);
	component.activateBus (kAudio, kInput, 0, true);
	component.activateBus (kAudio, kOutput, 0, true);
}

void Renderer::activate (const RenderSettings& settings)
{
	IAudioProcessor& processor = instance.getProcessor ();
	if (processor.canProcessSampleSize (settings.sampleSize) != kResultTrue)
		throw HostError ("the processor cannot process " +
		                 std::string (settings.sampleSize == kSample64 ? "64" : "32") + "-bit samples");
	ProcessSetup setup {kOffline, settings.sampleSize, settings.blockSize, settings.sampleRate};
	if (processor.setupProcessing (setup) != kResultOk)
		throw HostError ("the processor refused the processing setup");
	if (instance.getComponent ().setActive (true) != kResultOk)
		throw HostError ("the processor failed to activate");
	latency = processor.getLatencySamples ();
	processor.setProcessing (true);
}

void Renderer::deactivate ()
{
	instance.getProcessor ().setProcessing (false);
	instance.getComponent ().setActive (false);
}

AudioBuffer Renderer::run (const AudioBuffer& input, const RenderSettings& settings)
{
	HostProcessData data;
	if (!data.prepare (instance.getComponent (), settings.blockSize, settings.sampleSize) ||
	    data.numInputs < 1 || data.numOutputs < 1)
		throw HostError ("cannot lay out buffers for the processor's buses");
	const std::vector<ScheduledChange> changes = inFrameOrder (settings.changes);
	ParameterChanges inputChanges (distinctTags (changes, settings), pointsPerQueue (changes, settings));
	ParameterChanges outputChanges;
	ProcessContext context {};
	context.sampleRate = settings.sampleRate;
	data.processMode = kOffline;
	data.inputParameterChanges = &inputChanges;
	data.outputParameterChanges = &outputChanges;
	data.processContext = &context;
	queueParameters (inputChanges, settings);

	const size_t total = input.numFrames () + latency;
	AudioBuffer output;
	output.sampleRate = settings.sampleRate;
	output.channels.assign (static_cast<size_t> (data.outputs[0].numChannels), std::vector<double> (total));
	size_t nextChange = 0;
	for (size_t start = 0; start < total; start += static_cast<size_t> (data.numSamples))
	{
		data.numSamples = static_cast<int32> (std::min (total - start, static_cast<size_t> (settings.blockSize)));
		fillInput (data.inputs[0], settings.sampleSize, input, start, data.numSamples);
		nextChange = queueScheduledChanges (inputChanges, changes, nextChange, start, data.numSamples);
		data.outputs[0].silenceFlags = 0;
		if (instance.getProcessor ().process (data) != kResultOk)
			throw HostError ("the processor failed at frame " + std::to_string (start));
		readOutput (data.outputs[0], settings.sampleSize, output, start, data.numSamples);
		inputChanges.clearQueue ();
		outputChanges.clearQueue ();
		context.projectTimeSamples += data.numSamples;
	}
	if (settings.compensateLatency)
	{
		for (auto& channel : output.channels)
			channel.erase (channel.begin (), channel.begin () + latency);
	}
	return output;
}

} // namespace Host
} // namespace Veltrane
