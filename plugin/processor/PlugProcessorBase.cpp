#include "plugin/processor/PlugProcessorBase.h"

#include "plugin/processor/PlugBlockIds.h"
#include "plugin/processor/PlugParamIds.h"

#include "dsp/Gain.h"
#include "dsp/MidSideStatic.h"
#include "dsp/Mixer.h"
#include "dsp/SmplDelay.h"
#include "dsp/Splitter.h"

#include "pluginterfaces/vst/ivstparameterchanges.h"
#include "public.sdk/source/common/guardedcall.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <type_traits>

namespace Steinberg {
namespace Vst {

using namespace KOREMU::DSPLib;

namespace {

int32 channelCountOf (AudioEffect& effect, BusDirection direction)
{
	SpeakerArrangement arrangement = 0;
	if (effect.getBusArrangement (direction, 0, arrangement) != kResultTrue)
		return 0;
	return SpeakerArr::getChannelCount (arrangement);
}

bool knownSampleSize (int32 sampleSize)
{
	return sampleSize == kSample32 || sampleSize == kSample64;
}

// Whether the bus has a pointer for each of its first `channels` channels in the given width.
bool hasChannels (const AudioBusBuffers& bus, int32 channels, int32 sampleSize)
{
	if (channels <= 0)
		return true;
	if (sampleSize == kSample32)
		return bus.channelBuffers32 && std::all_of (bus.channelBuffers32, bus.channelBuffers32 + channels,
		                                            [] (const Sample32* c) { return c != nullptr; });
	return bus.channelBuffers64 && std::all_of (bus.channelBuffers64, bus.channelBuffers64 + channels,
	                                            [] (const Sample64* c) { return c != nullptr; });
}

template <typename Sample>
Sample** channelsOf (const AudioBusBuffers& bus)
{
	if constexpr (std::is_same_v<Sample, Sample32>)
		return bus.channelBuffers32;
	else
		return bus.channelBuffers64;
}

// Input channel c from frame offset on, or null where the host passes none: no input bus, an
// inactive one with null pointers, or fewer channels. Such a channel is silence.
template <typename Sample>
const Sample* inputChannel (const ProcessData& data, int32 c, int32 offset)
{
	if (data.numInputs < 1 || !data.inputs || c >= data.inputs[0].numChannels)
		return nullptr;
	Sample** channels = channelsOf<Sample> (data.inputs[0]);
	return channels && channels[c] ? channels[c] + offset : nullptr;
}

// A sample that is not a number, or infinite, would stay in the graph's recursive state, and one
// beyond the limit could grow there past the largest double.
template <typename Sample>
void copyBounded (const Sample* from, int32 frames, double* to)
{
	if (!from)
	{
		std::fill_n (to, frames, 0.0);
		return;
	}
	std::transform (from, from + frames, to, [limit = PlugProcessorBase::kInputLimit] (Sample s) {
		return std::isfinite (s) ? std::clamp (static_cast<double> (s), -limit, limit) : 0.0;
	});
}

uint64 channelMask (int32 channels)
{
	if (channels <= 0)
		return 0;
	return channels >= 64 ? ~uint64 (0) : (uint64 (1) << channels) - 1;
}

// An offset past every point of a call.
constexpr int32 kAllPoints = std::numeric_limits<int32>::max ();

} // namespace

PlugProcessorBase::PlugProcessorBase (const FUID& controllerClass, int32 numParamSlots)
: paramState (numParamSlots)
, exchange (numParamSlots)
, points (paramState.getCount () + 1)
, fadeStep (1.0 / (kFadeTimeMs * (sampleRate * 0.001)))
{
	setControllerClass (controllerClass);
}

PlugProcessorBase::~PlugProcessorBase ()
{
	deactivate ();
}

tresult PLUGIN_API PlugProcessorBase::initialize (FUnknown* context)
{
	// A second call would add a second pair of buses.
	if (getAudioInput (0))
		return kResultFalse;
	return guardedCall (kResultFalse, [&] {
		if (AudioEffect::initialize (context) != kResultOk)
			return kResultFalse;
		addAudioInput (STR16 ("Stereo In"), SpeakerArr::kStereo);
		addAudioOutput (STR16 ("Stereo Out"), SpeakerArr::kStereo);
		return kResultOk;
	});
}

tresult PLUGIN_API PlugProcessorBase::terminate ()
{
	return guardedCall (kResultFalse, [&] {
		deactivate ();
		return AudioEffect::terminate () == kResultOk ? kResultOk : kResultFalse;
	});
}

tresult PLUGIN_API PlugProcessorBase::setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
                                                          SpeakerArrangement* outputs, int32 numOuts)
{
	return guardedCall (kResultFalse, [&] { return arrangeBuses (inputs, numIns, outputs, numOuts); });
}

tresult PlugProcessorBase::arrangeBuses (SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs,
                                         int32 numOuts)
{
	if (numIns != 1 || numOuts != 1 || !inputs || !outputs || active)
		return kResultFalse;
	AudioBus* input = getAudioInput (0);
	AudioBus* output = getAudioOutput (0);
	if (!input || !output)
		return kResultFalse;

	const int32 inChannels = SpeakerArr::getChannelCount (inputs[0]);
	const bool stereoOut = SpeakerArr::getChannelCount (outputs[0]) == 2;
	const bool adopted = (inChannels == 1 || inChannels == 2) && stereoOut;
	if (adopted)
	{
		input->setArrangement (inputs[0]);
		output->setArrangement (outputs[0]);
	}
	else
	{
		input->setArrangement (inChannels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo);
		output->setArrangement (SpeakerArr::kStereo);
	}
	input->setName (inChannels == 1 ? STR16 ("Mono In") : STR16 ("Stereo In"));
	output->setName (STR16 ("Stereo Out"));
	return adopted ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API PlugProcessorBase::canProcessSampleSize (int32 symbolicSampleSize)
{
	return knownSampleSize (symbolicSampleSize) ? kResultTrue : kResultFalse;
}

tresult PLUGIN_API PlugProcessorBase::setupProcessing (ProcessSetup& setup)
{
	// The comparisons are false for NaN.
	const bool rateRuns = setup.sampleRate >= kMinSampleRate && setup.sampleRate <= kMaxSampleRate;
	if (active || !rateRuns || setup.maxSamplesPerBlock <= 0 || !knownSampleSize (setup.symbolicSampleSize))
		return kResultFalse;
	sampleRate = setup.sampleRate;
	fadeStep = 1.0 / (kFadeTimeMs * (sampleRate * 0.001));
	return AudioEffect::setupProcessing (setup);
}

uint32 PLUGIN_API PlugProcessorBase::getLatencySamples ()
{
	return guardedCall (0u, [this] { return root ? root->getLatency () + extraLatency () : plannedLatency (); });
}

uint32 PLUGIN_API PlugProcessorBase::getTailSamples ()
{
	return guardedCall (0u, [this] { return (root ? root->getTail () : 0) + extraTail (); });
}

// --- activation ---

tresult PLUGIN_API PlugProcessorBase::setActive (TBool state)
{
	return guardedCall (kResultFalse, [&] {
		deactivate ();
		const tresult result = state ? activate () : kResultOk;
		const tresult componentResult = AudioEffect::setActive (state);
		return result == kResultOk ? componentResult : result;
	});
}

tresult PlugProcessorBase::activate ()
{
	try
	{
		numInputChannels = channelCountOf (*this, kInput);
		numOutputChannels = channelCountOf (*this, kOutput);
		if (numInputChannels < 1 || numOutputChannels < 1)
			return kResultFalse;
		// Longer host blocks are processed in pieces, so memory does not grow with the host's maximum.
		blockFrames = std::min (processSetup.maxSamplesPerBlock, kMaxBlockFrames);
		inputCopy = owned (new Cable (numInputChannels, blockFrames, kSample64));
		outputCopy = owned (new Cable (numOutputChannels, blockFrames, kSample64));

		buildDSP ();
		exchange.take (paramState);
		// A new graph has produced no sound yet: every block starts in its bypass state.
		activating = true;
		pushAllParams ();
		activating = false;
		configureDSP ();
		if (root->setup () != 0)
		{
			deactivate ();
			return kResultFalse;
		}
	}
	catch (...)
	{
		activating = false;
		deactivate ();
		return kResultFalse;
	}
	fadeGain = 0.0;
	fadeActive = true;
	flushFrames = int64 (getLatencySamples ()) + int64 (getTailSamples ());
	silentFrames = flushFrames;
	active = true;
	return kResultOk;
}

void PlugProcessorBase::deactivate ()
{
	active = false;
	inputCopy = nullptr;
	outputCopy = nullptr;
	teardownDSP ();
	destroyDSP ();
}

// --- the outer graph ---

void PlugProcessorBase::buildDSP ()
{
	const int32 in = numInputChannels;
	const int32 out = numOutputChannels;
	root = owned (new DSPAlgo (kBlockRoot, in, out, kSeriesTopology));
	effectPath = new DSPAlgo (kBlockEffectPath, in, out);
	root->addFunction (effectPath);
	bypassDelay = new SmplDelay (kBlockBypassDelay, out, 0);
	root->addFunction (bypassDelay);

	auto* parallel = new DSPAlgo (kBlockParallel, in, 2 * out, kParallelTopology);
	effectPath->addFunction (parallel);
	auto* dryPath = new DSPAlgo (kBlockDryPath, in, out);
	parallel->addFunction (dryPath);
	drySplitter = new Splitter (kBlockDrySplitter, in, out);
	dryPath->addFunction (drySplitter);
	dryDelay = new SmplDelay (kBlockDryDelay, out, 0);
	dryPath->addFunction (dryDelay);
	wetPath = new DSPAlgo (kBlockWetPath, in, out);
	parallel->addFunction (wetPath);
	wetSplitter = new Splitter (kBlockWetSplitter, in, out);
	wetPath->addFunction (wetSplitter);

	// Output o takes dry channel o and wet channel o.
	std::vector<uint8> matrix (static_cast<size_t> (2 * out * out), 0);
	for (int32 o = 0; o < out; ++o)
	{
		matrix[static_cast<size_t> (o * 2 * out + o)] = 1;
		matrix[static_cast<size_t> (o * 2 * out + out + o)] = 1;
	}
	dryWetMixer = new Mixer (kBlockDryWetMixer, 2 * out, out, Mixer::kLinearLevels);
	effectPath->addFunction (dryWetMixer);
	dryWetMixer->setMatrix (matrix.data ());

	if (hasMidSide () && out == 2)
		effectPath->addFunction (new MidSideStatic (kBlockMidSide));
	if (hasOutputGain ())
	{
		outputGain = new Gain (kBlockOutputGain, out);
		effectPath->addFunction (outputGain);
	}
}

void PlugProcessorBase::configureDSP ()
{
	// With a stereo input the splitters only copy; with a mono one they spread it over both sides.
	const bool stereoInput = numInputChannels != 1;
	drySplitter->setBypassImmediately (stereoInput);
	wetSplitter->setBypassImmediately (stereoInput);

	const double latency = getLatencySamples ();
	setBlockParameter (bypassDelay, SmplDelay::kDelaySamplesParam, latency);
	setBlockParameter (dryDelay, SmplDelay::kDelaySamplesParam, latency);
	root->setSampleRate (sampleRate);
	root->setBlockSize (blockFrames);
}

void PlugProcessorBase::teardownDSP ()
{
	if (root)
		root->teardown ();
}

void PlugProcessorBase::destroyDSP ()
{
	if (root)
		root->clear ();
	wetPath = nullptr;
	effectPath = nullptr;
	bypassDelay = nullptr;
	drySplitter = nullptr;
	dryDelay = nullptr;
	wetSplitter = nullptr;
	dryWetMixer = nullptr;
	outputGain = nullptr;
	root = nullptr;
}

// --- parameters ---

void PlugProcessorBase::setBlockParameter (DSPFunction* block, int32 paramNo, int32 channel, double value)
{
	if (block)
		block->setParameter (paramNo, channel, true, false, value);
}

void PlugProcessorBase::setBlockParameter (DSPFunction* block, int32 paramNo, double value)
{
	setBlockParameter (block, paramNo, 0, value);
}

void PlugProcessorBase::setDryLevels (double level)
{
	setDryWetLevels (0, level);
}

void PlugProcessorBase::setWetLevels (double level)
{
	setDryWetLevels (numOutputChannels, level);
}

void PlugProcessorBase::setDryWetLevels (int32 firstInput, double level)
{
	if (!dryWetMixer)
		return;
	for (int32 output = 0; output < numOutputChannels; ++output)
		dryWetMixer->setLevel (Mixer::kLevelParamNo, firstInput + output, output, level);
}

void PlugProcessorBase::setOutputGain (double decibels)
{
	for (int32 channel = 0; channel < numOutputChannels; ++channel)
		setBlockParameter (outputGain, Gain::kGainParamNo, channel, decibels);
}

void PlugProcessorBase::switchBypass (DSPFunction* block, bool bypassed)
{
	if (!block)
		return;
	if (activating)
	{
		block->setBypassImmediately (bypassed);
		return;
	}
	// Setting the state a block is already in would restart its crossfade.
	const DSPParameter* current = block->findParameter (kBypassParamNo);
	if (current && (current->getBaseValue () != 0.0) == bypassed)
		return;
	block->setParameter (kBypassParamNo, 0, true, false, bypassed ? 1.0 : 0.0);
}

void PlugProcessorBase::switchBypassPair (DSPFunction* stage, DSPFunction* delay, bool stageBypassed)
{
	switchBypass (stage, stageBypassed);
	switchBypass (delay, !stageBypassed);
}

void PlugProcessorBase::paramChanged (ParamID tag, IParameterChanges* /*outputChanges*/)
{
	if (tag == kBypassId)
		switchBypassPair (effectPath, bypassDelay, paramState.getBypass ());
}

void PlugProcessorBase::addOutputParamChange (int32 index, IParameterChanges* outputChanges, double value)
{
	if (!outputChanges || std::isnan (value) || value == paramState.getValue (index))
		return;
	int32 queueIndex = 0;
	if (IParamValueQueue* queue = outputChanges->addParameterData (static_cast<ParamID> (index), queueIndex))
	{
		int32 pointIndex = 0;
		queue->addPoint (0, value, pointIndex);
	}
}

void PlugProcessorBase::pushAllParams ()
{
	if (!root)
		return;
	for (int32 tag = 0; tag < paramState.getCount (); ++tag)
	{
		if (isPublished (static_cast<ParamID> (tag)))
			paramChanged (static_cast<ParamID> (tag), nullptr);
	}
	paramChanged (kBypassId, nullptr);
}

bool PlugProcessorBase::isPublished (ParamID tag) const
{
	return tag == kBypassId || tag < static_cast<ParamID> (paramState.getCount ());
}

void PlugProcessorBase::setInitialValue (ParamID tag, ParamValue value)
{
	if (tag == kBypassId)
		paramState.setBypass (PlugParamState::sanitize (0.0, value) > 0.5);
	else
		paramState.setValue (static_cast<int32> (tag), value);
	exchange.mirrorAll (paramState);
}

// --- state ---

tresult PLUGIN_API PlugProcessorBase::setState (IBStream* state)
{
	return guardedCall (kResultFalse, [&] {
		PlugParamState incoming (paramState.getCount ());
		exchange.latest (incoming);
		const tresult result = incoming.readState (state);
		if (result != kResultOk)
			return result;
		// A slot that belongs to no parameter keeps nothing, whatever the chunk holds.
		for (int32 slot = 0; slot < incoming.getCount (); ++slot)
		{
			if (!isPublished (static_cast<ParamID> (slot)))
				incoming.setValue (slot, 0.0);
		}
		exchange.post (incoming);
		return result;
	});
}

tresult PLUGIN_API PlugProcessorBase::getState (IBStream* state)
{
	return guardedCall (kResultFalse, [&] {
		PlugParamState current (paramState.getCount ());
		exchange.latest (current);
		return current.writeState (state);
	});
}

// --- processing ---

tresult PLUGIN_API PlugProcessorBase::process (ProcessData& data)
{
	const tresult result = guardedCall (kInternalError, [&] { return processAudio (data); });
	if (result == kInternalError)
		zeroOutputs (data);
	return result;
}

tresult PlugProcessorBase::processAudio (ProcessData& data)
{
	// Buffers of an unknown width cannot be read; the call is refused as a whole.
	if (!knownSampleSize (data.symbolicSampleSize))
	{
		zeroOutputs (data);
		return kInvalidArgument;
	}
	if (!active)
	{
		zeroOutputs (data);
		return kResultOk;
	}
	if (exchange.take (paramState))
		pushAllParams ();
	scheduleParameterChanges (data);
	if (data.numSamples <= 0)
	{
		applyParameterChanges (data, kAllPoints);
		return kResultOk;
	}
	if (!buffersUsable (data))
	{
		applyParameterChanges (data, kAllPoints);
		zeroOutputs (data);
		return kResultOk;
	}

	// Silence is skipped only once the delay lines and tails hold nothing more to play.
	const bool silentInput = inputFlaggedSilent (data);
	if (silentInput && silentFrames >= flushFrames)
	{
		applyParameterChanges (data, kAllPoints);
		zeroOutputs (data);
		if (!silent)
		{
			onSilence ();
			silent = true;
		}
		return kResultOk;
	}
	data.outputs[0].silenceFlags = 0;
	// The graph runs in blocks of at most its block size, and each block up to the next point, so
	// that each point takes effect at its own sample.
	for (int32 done = 0; done < data.numSamples;)
	{
		const int32 inBlock = done % blockFrames;
		// The offset's sign flips once per block, never where a point cuts one: a call whose
		// points all lie at its start gives the same bits as when points were not split out.
		if (inBlock == 0)
			antiDenormal = -antiDenormal;
		applyParameterChanges (data, done);
		const int32 frames = std::min ({blockFrames - inBlock, data.numSamples - done, points.nextOffset () - done});
		processPiece (data, done, frames, silentInput);
		done += frames;
	}
	silentFrames = silentInput ? std::min (silentFrames + data.numSamples, flushFrames) : 0;
	silent = silent && silentInput;
	return kResultOk;
}

void PlugProcessorBase::scheduleParameterChanges (ProcessData& data)
{
	points.begin (data.numSamples);
	IParameterChanges* changes = data.inputParameterChanges;
	if (!changes)
		return;
	const int32 count = changes->getParameterCount ();
	for (int32 i = 0; i < count; ++i)
	{
		IParamValueQueue* queue = changes->getParameterData (i);
		if (!queue || !isPublished (queue->getParameterId ()))
			continue;
		const ParamID tag = queue->getParameterId ();
		points.add (tag == kBypassId ? paramState.getCount () : static_cast<int32> (tag), queue);
	}
}

void PlugProcessorBase::applyParameterChanges (ProcessData& data, int32 offset)
{
	points.takeDue (offset, [this, &data] (ParamID tag, ParamValue value) {
		applyPoint (tag, value, data.outputParameterChanges);
	});
}

void PlugProcessorBase::applyPoint (ParamID tag, ParamValue value, IParameterChanges* outputChanges)
{
	if (tag == kBypassId)
	{
		const bool current = paramState.getBypass ();
		const bool bypass = PlugParamState::sanitize (current ? 1.0 : 0.0, value) > 0.5;
		if (bypass == current)
			return;
		paramState.setBypass (bypass);
		exchange.mirrorBypass (bypass);
	}
	else
	{
		const auto slot = static_cast<int32> (tag);
		const ParamValue current = paramState.getValue (slot);
		paramState.setValue (slot, value);
		if (paramState.getValue (slot) == current)
			return;
		exchange.mirrorValue (slot, paramState.getValue (slot));
	}
	paramChanged (tag, outputChanges);
}

// A missing input is no reason to stop: the graph runs on silence in its place (readInput).
bool PlugProcessorBase::buffersUsable (const ProcessData& data) const
{
	if (data.numOutputs < 1 || !data.outputs)
		return false;
	const AudioBusBuffers& output = data.outputs[0];
	return output.numChannels > 0 && hasChannels (output, output.numChannels, data.symbolicSampleSize);
}

// A missing input is silence that is not flagged: it runs the graph as zeros would.
bool PlugProcessorBase::inputFlaggedSilent (const ProcessData& data) const
{
	if (data.numInputs < 1 || !data.inputs || data.inputs[0].numChannels < 1)
		return false;
	const uint64 mask = channelMask (data.inputs[0].numChannels);
	return (data.inputs[0].silenceFlags & mask) == mask;
}

void PlugProcessorBase::processPiece (ProcessData& data, int32 offset, int32 frames, bool zeroInput)
{
	readInput (data, offset, frames, zeroInput);
	processBlock (inputCopy->getBuffers64 (), outputCopy->getBuffers64 (), numInputChannels, frames);
	writeOutput (data, offset, frames);
}

void PlugProcessorBase::readInput (const ProcessData& data, int32 offset, int32 frames, bool zeroInput)
{
	// The graph reads a copy: the host's input buffers are never written, and what is not a finite
	// number reaches the graph as silence.
	double** copy = inputCopy->getBuffers64 ();
	for (int32 c = 0; c < numInputChannels; ++c)
	{
		if (data.symbolicSampleSize == kSample32)
			copyBounded (zeroInput ? nullptr : inputChannel<Sample32> (data, c, offset), frames, copy[c]);
		else
			copyBounded (zeroInput ? nullptr : inputChannel<Sample64> (data, c, offset), frames, copy[c]);
	}
}

void PlugProcessorBase::writeOutput (ProcessData& data, int32 offset, int32 frames)
{
	AudioBusBuffers& output = data.outputs[0];
	double** result = outputCopy->getBuffers64 ();
	for (int32 c = 0; c < output.numChannels; ++c)
	{
		if (data.symbolicSampleSize == kSample32)
		{
			float* target = output.channelBuffers32[c] + offset;
			if (c < numOutputChannels)
				std::transform (result[c], result[c] + frames, target,
				                [] (double s) { return static_cast<float> (s); });
			else
				std::fill_n (target, frames, 0.0f);
		}
		else
		{
			double* target = output.channelBuffers64[c] + offset;
			if (c < numOutputChannels)
				std::copy_n (result[c], frames, target);
			else
				std::fill_n (target, frames, 0.0);
		}
	}
}

// The offset of alternating sign (process flips it) keeps decaying signals out of the subnormal range.
void PlugProcessorBase::processBlock (double** inputs, double** outputs, int32 numChannels, int32 frames)
{
	for (int32 c = 0; c < numChannels; ++c)
	{
		for (int32 i = 0; i < frames; ++i)
			inputs[c][i] += antiDenormal;
	}
	for (int32 i = 0; fadeActive && i < frames; ++i)
	{
		for (int32 c = 0; c < numChannels; ++c)
			inputs[c][i] *= fadeGain;
		fadeGain += fadeStep;
		if (fadeGain > 1.0)
		{
			fadeGain = 1.0;
			fadeActive = false;
		}
	}
	root->process64 (inputs, outputs, frames);
}

// Buffers of an unknown width are taken to have the width of the setup in force.
void PlugProcessorBase::zeroOutputs (ProcessData& data) const
{
	if (data.numOutputs < 1 || !data.outputs || data.numSamples <= 0)
		return;
	const int32 sampleSize =
	    knownSampleSize (data.symbolicSampleSize) ? data.symbolicSampleSize : processSetup.symbolicSampleSize;
	const size_t bytes =
	    static_cast<size_t> (data.numSamples) * (sampleSize == kSample32 ? sizeof (Sample32) : sizeof (Sample64));
	for (int32 b = 0; b < data.numOutputs; ++b)
	{
		AudioBusBuffers& bus = data.outputs[b];
		void** channels = sampleSize == kSample32 ? reinterpret_cast<void**> (bus.channelBuffers32)
		                                          : reinterpret_cast<void**> (bus.channelBuffers64);
		if (!channels)
			continue;
		for (int32 c = 0; c < bus.numChannels; ++c)
		{
			if (channels[c])
				std::memset (channels[c], 0, bytes);
		}
		bus.silenceFlags = channelMask (bus.numChannels);
	}
}

} // namespace Vst
} // namespace Steinberg
