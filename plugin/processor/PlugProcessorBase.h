// The generic audio-processor component: buses, setup, activation, the process call, parameter
// handling and the state chunk around a graph of DSP-library blocks built at activation.
#pragma once

#include "plugin/processor/ParamExchange.h"
#include "plugin/processor/ParamPointSchedule.h"
#include "plugin/processor/PlugParamState.h"

#include "dsp/Cable.h"
#include "dsp/DSPAlgo.h"

#include "public.sdk/source/vst/vstaudioeffect.h"

namespace KOREMU {
namespace DSPLib {
class Gain;
class Mixer;
class SmplDelay;
class Splitter;
} // namespace DSPLib
} // namespace KOREMU

namespace Steinberg {
namespace Vst {

/** No entry lets an exception out to the host: process answers kInternalError with cleared
    outputs, getLatencySamples and getTailSamples 0, every other entry kResultFalse. */
class PlugProcessorBase : public AudioEffect
{
public:
	PlugProcessorBase (const FUID& controllerClass, int32 numParamSlots);
	~PlugProcessorBase () override;

	//---from IPluginBase-------
	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	tresult PLUGIN_API terminate () SMTG_OVERRIDE;

	//---from IComponent-------
	tresult PLUGIN_API setActive (TBool state) SMTG_OVERRIDE;
	/** Takes a complete chunk only; the audio thread puts it in force at its next process call. */
	tresult PLUGIN_API setState (IBStream* state) SMTG_OVERRIDE;
	tresult PLUGIN_API getState (IBStream* state) SMTG_OVERRIDE;

	//---from IAudioProcessor-------
	/** kResultTrue only when the request is taken as it stands: a 1-channel input with a stereo
	    output, or stereo with stereo. Otherwise the buses get the nearest layout this processor
	    has, and the answer is kResultFalse. */
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
	                                       SpeakerArrangement* outputs, int32 numOuts) SMTG_OVERRIDE;
	tresult PLUGIN_API canProcessSampleSize (int32 symbolicSampleSize) SMTG_OVERRIDE;
	uint32 PLUGIN_API getLatencySamples () SMTG_OVERRIDE;
	/** kResultFalse while active, for a rate outside kMinSampleRate ... kMaxSampleRate (NaN
	    included), a maximum block below 1 frame or an unknown sample size; any maximum above
	    that is honoured with the memory of kMaxBlockFrames. */
	tresult PLUGIN_API setupProcessing (ProcessSetup& setup) SMTG_OVERRIDE;
	/** kInvalidArgument, with the outputs cleared, for an unknown sample size. A missing input (no
	    bus, null pointers, fewer channels) is silence the graph runs on; zero or fewer channels are
	    none. */
	tresult PLUGIN_API process (ProcessData& data) SMTG_OVERRIDE;
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE;

	static constexpr int32 kFadeTimeMs = 300;
	static constexpr double kAntiDenormal = 1e-15;
	/** The rates setupProcessing accepts: below, the per-millisecond frame counts of fades and
	    smoothing fall under one frame (and under the smallest normal double, divide to infinity);
	    above, the buffers sized by the rate outgrow reason. */
	static constexpr double kMinSampleRate = 1.0;
	static constexpr double kMaxSampleRate = 1e7;
	/** The graph's block: longer host blocks run in pieces of this many frames. */
	static constexpr int32 kMaxBlockFrames = 4096;
	/** Input samples are held within ±kInputLimit (+120 dB), so that no recursive stage grows to
	    infinity; every level a host really sends passes unchanged. */
	static constexpr double kInputLimit = 1048576.0;

protected:
	using DSPAlgo = KOREMU::DSPLib::DSPAlgo;
	using DSPFunction = KOREMU::DSPLib::DSPFunction;

	/** Builds the outer graph; a subclass fills the wet branch after calling this. */
	virtual void buildDSP ();
	/** Routing and latency delays; then the sample rate and block size of the whole graph. */
	virtual void configureDSP ();
	virtual void teardownDSP ();
	virtual void destroyDSP ();

	/** Maps the stored value of a tag onto the graph; the base handles the global bypass. */
	virtual void paramChanged (ParamID tag, IParameterChanges* outputChanges);
	/** Tells the host a new value for the parameter at index when it differs from the stored one
	    (NaN never differs); the stored value stays as it is. */
	virtual void addOutputParamChange (int32 index, IParameterChanges* outputChanges, double value);
	/** Replays every stored value into the graph. */
	virtual void pushAllParams ();
	/** Whether tag names a parameter the host can see; the processor ignores every other id.
	    Here the global bypass and every value slot. */
	virtual bool isPublished (ParamID tag) const;
	virtual void onSilence () {}
	/** Latency added to the graph's own. */
	virtual uint32 extraLatency () { return 0; }
	/** The latency the graph will have, for the current setup, while there is none. */
	virtual uint32 plannedLatency () { return extraLatency (); }
	/** Tail added to the graph's own. */
	virtual uint32 extraTail () { return 0; }
	virtual bool hasOutputGain () { return false; }
	/** Whether a stereo output gets the mid/side high-pass. */
	virtual bool hasMidSide () { return false; }

	/** Sets a parameter's base value, unforced; nothing without a block. */
	static void setBlockParameter (DSPFunction* block, int32 paramNo, int32 channel, double value);
	static void setBlockParameter (DSPFunction* block, int32 paramNo, double value);
	/** The dry/wet mixer's level from each dry channel, or each wet channel, onto its output. */
	void setDryLevels (double level);
	void setWetLevels (double level);
	void setOutputGain (double decibels);
	/** Puts a block's "Bypass" in place: at once while the graph is being activated, otherwise
	    with the block's crossfade, and not at all when the block is already in that state or
	    there is no block. */
	void switchBypass (DSPFunction* block, bool bypassed);
	/** A stage and the delay that stands in for it always take opposite states. */
	void switchBypassPair (DSPFunction* stage, DSPFunction* delay, bool stageBypassed);
	/** Sets a tag's value at construction, before any thread sees it. */
	void setInitialValue (ParamID tag, ParamValue value);

	const PlugParamState& values () const { return paramState; }
	double getSampleRate () const { return sampleRate; }
	DSPAlgo* getWetPath () const { return wetPath; }

private:
	using Cable = KOREMU::DSPLib::Cable;

	void setDryWetLevels (int32 firstInput, double level);
	tresult arrangeBuses (SpeakerArrangement* inputs, int32 numIns, SpeakerArrangement* outputs, int32 numOuts);
	tresult processAudio (ProcessData& data);
	tresult activate ();
	void deactivate ();
	/** Puts the host's queues in offset order for this call. */
	void scheduleParameterChanges (ProcessData& data);
	/** Applies the points due at offset or before. */
	void applyParameterChanges (ProcessData& data, int32 offset);
	void applyPoint (ParamID tag, ParamValue value, IParameterChanges* outputChanges);
	bool buffersUsable (const ProcessData& data) const;
	bool inputFlaggedSilent (const ProcessData& data) const;
	void processPiece (ProcessData& data, int32 offset, int32 frames, bool zeroInput);
	void readInput (const ProcessData& data, int32 offset, int32 frames, bool zeroInput);
	void writeOutput (ProcessData& data, int32 offset, int32 frames);
	void processBlock (double** inputs, double** outputs, int32 numChannels, int32 frames);
	void zeroOutputs (ProcessData& data) const;

	int32 numInputChannels {0};
	int32 numOutputChannels {0};
	int32 blockFrames {0};
	double sampleRate {44100.0};
	PlugParamState paramState;
	ParamExchange exchange;
	ParamPointSchedule points;
	IPtr<Cable> inputCopy;
	IPtr<Cable> outputCopy;
	IPtr<DSPAlgo> root;
	// The blocks of the outer graph this class drives, borrowed from root while it exists.
	DSPAlgo* wetPath {nullptr};
	DSPAlgo* effectPath {nullptr};
	KOREMU::DSPLib::SmplDelay* bypassDelay {nullptr};
	KOREMU::DSPLib::Splitter* drySplitter {nullptr};
	KOREMU::DSPLib::SmplDelay* dryDelay {nullptr};
	KOREMU::DSPLib::Splitter* wetSplitter {nullptr};
	KOREMU::DSPLib::Mixer* dryWetMixer {nullptr};
	KOREMU::DSPLib::Gain* outputGain {nullptr};
	bool active {false};
	bool activating {false};
	double antiDenormal {kAntiDenormal};
	double fadeGain {0.0};
	bool fadeActive {false};
	double fadeStep {0.0};
	bool silent {true};
	int64 silentFrames {0};
	int64 flushFrames {0};
};

} // namespace Vst
} // namespace Steinberg
