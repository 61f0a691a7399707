#pragma once

#include "dsp/Cable.h"
#include "dsp/ParameterLink.h"
#include "dsp/ParameterList.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace KOREMU {
namespace DSPLib {

enum BlockKind : int32
{
	kEffectKind = 0,
	kGeneratorKind = 1,
	kControllerKind = 2,
	kRendererKind = 3,
};

constexpr int32 kBypassParamNo = 1000000;
constexpr int32 kMixParamNo = 1000001;

// Parameter keys are 32-bit, so a block holds at most this many input x output pairs.
constexpr int32 kMaxChannelPairs = 4294;

// The base of every processing block: identity, channel counts, audio settings, parameters,
// and the bypass copy, dry/wet mix and bypass crossfade that every process call shares.
// Life cycle: construct, configure (rate, block size, sample size), setup, process..., teardown.
class DSPFunction : public Steinberg::FObject
{
public:
	DSPFunction (int32 id, int32 numInputs, int32 numOutputs);
	~DSPFunction () override;

	DSPFunction (const DSPFunction&) = delete;
	DSPFunction& operator= (const DSPFunction&) = delete;

	virtual void setSampleRate (double rate);
	virtual int32 getNumInputs () const;
	virtual int32 getNumOutputs () const;
	virtual void setBlockSize (int32 frames);
	virtual int32 getBlockSize () const;
	virtual void setSampleSize (int32 size);
	virtual int32 getSampleSize () const;
	virtual int32 getKind () const;
	virtual DSPFunction* findFunction (int32 id);
	virtual uint32 getLatency () const;
	virtual uint32 getTail () const;
	virtual int32 setup ();
	virtual int32 teardown ();
	virtual int32 reset ();
	// The base part of a process call: remembers the outputs, clears them when a reset asked
	// for it, and copies inputs to outputs while "Bypass" is set.
	virtual int32 process32 (float** inputs, float** outputs, int32 frames);
	virtual int32 process64 (double** inputs, double** outputs, int32 frames);
	virtual int32 mix32 (float** dry, float** outputs, int32 frames);
	virtual int32 mix64 (double** dry, double** outputs, int32 frames);
	virtual int32 bypassFade32 (float** dry, float** outputs, int32 frames);
	virtual int32 bypassFade64 (double** dry, double** outputs, int32 frames);

	void addParameter (int32 paramNo, const char16* name, int32 flags, double defaultValue,
	                   double minimum, double maximum);
	void addParameter (int32 paramNo, const char16* name, int32 flags, double defaultValue);
	uint32 getParameterKey (int32 paramNo, int32 sub) const;
	// 0 for an instance that does not exist.
	double getParameter (int32 paramNo, int32 sub = 0);
	void setParameter (int32 paramNo, int32 sub, bool setBase, bool force, double value);
	void setParameter (int32 paramNo, bool setBase, bool force, double value);
	// Puts "Bypass" in place without a crossfade, for a block that has not yet produced sound.
	void setBypassImmediately (bool bypassed);
	void setSmoothingMode (int32 paramNo, int32 sub, int32 mode);
	void setSmoothingMode (int32 paramNo, int32 mode);
	void setParameterGroup (int32 paramNo, int32 sub, int32 groupId);
	void setParameterGroup (int32 paramNo, int32 groupId);
	DSPParameter* findParameter (int32 paramNo, int32 sub = 0) const;

	ParameterLink* linkParameter (DSPFunction* source, int32 paramNo, int32 sub, int32 mode);
	ParameterLink* linkParameter (DSPFunction* source, int32 paramNo, int32 mode);
	// Applies the links for sample i of the piece being processed. Inline: blocks with links call
	// it at every sample.
	void applyLinks (int32 i);

	int32 getId () const { return id; }
	double getSampleRate () const { return sampleRate; }
	bool isContainer () const { return container; }
	bool hasLinks () const { return linked; }

	// Outputs of the latest process call, read by modulation links; null before the first call.
	void* getLastOutputs () const { return lastOutputs; }
	// The frames of that call.
	int32 getLastFrames () const { return lastFrames; }
	bool lastOutputsAreFloat32 () const { return lastOutputsFloat32; }

	OBJ_METHODS (DSPFunction, Steinberg::FObject)

protected:
	void setKind (int32 newKind) { kind = newKind; }
	void setContainer () { container = true; }
	uint32 getOwnLatency () const { return latency; }
	uint32 getOwnTail () const { return tail; }
	// "Bypass" is set; it never glides, so reading it moves nothing.
	bool isBypassed () const { return bypassParameter && isSet (bypassParameter->getPlainValue ()); }
	// Neither 0 nor NaN.
	static bool isSet (double v) { return !(v == 0.0 || std::isnan (v)); }
	// For blocks that would otherwise come back from a bypass with a silent or stale history
	// (delay lines, containers): while bypassed the work goes on into a scratch output, so a
	// fade back in blends in the signal the block would have carried, and the end of a fade-out
	// resets nothing.
	void keepRunningWhileBypassed () { keepsRunning = true; }

	// The sequence every overriding process call follows: base part, early return while
	// bypassed and not fading (after the work into the scratch output, for a block that keeps
	// running), the block's own work, the mix stage and the bypass crossfade.
	// A call longer than the block size runs in pieces of at most the block size.
	template <typename Sample, typename Work>
	int32 runBlock (Sample** inputs, Sample** outputs, int32 frames, Work&& work);

private:
	template <typename Sample>
	int32 basePart (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	int32 mixStage (Sample** dry, Sample** outputs, int32 frames);
	template <typename Sample>
	int32 bypassFade (Sample** dry, Sample** outputs, int32 frames);
	int32 runBasePart (float** in, float** out, int32 n) { return DSPFunction::process32 (in, out, n); }
	int32 runBasePart (double** in, double** out, int32 n) { return DSPFunction::process64 (in, out, n); }
	int32 runMix (float** dry, float** out, int32 n) { return mix32 (dry, out, n); }
	int32 runMix (double** dry, double** out, int32 n) { return mix64 (dry, out, n); }
	int32 runBypassFade (float** dry, float** out, int32 n) { return bypassFade32 (dry, out, n); }
	int32 runBypassFade (double** dry, double** out, int32 n) { return bypassFade64 (dry, out, n); }
	template <typename Sample, typename Work>
	int32 runPiece (Sample** inputs, Sample** outputs, int32 frames, Work& work);
	template <typename Sample>
	static Sample** offsetChannels (Sample** channels, int32 count, int32 offset, std::vector<Sample*>& scratch);

	float** bypassedOutputs (float**, int32 frames) const;
	double** bypassedOutputs (double**, int32 frames) const;
	std::vector<float*>& pieceScratch (float**, bool input) { return input ? pieceInputs32 : pieceOutputs32; }
	std::vector<double*>& pieceScratch (double**, bool input) { return input ? pieceInputs64 : pieceOutputs64; }
	bool subIndexInRange (int32 sub) const;
	int32 channelPairs () const { return numInputs * numOutputs; }
	void setGroupMembers (const DSPParameter& p, bool setBase, bool force, double value);
	void resolveSharedParameters ();
	void markFollowers (int32 groupId);
	void reserveLinks ();
	void resolveLinks ();

	void setFound (DSPParameter& found, int32 paramNo, bool setBase, bool force, double value);

	struct ActiveLink
	{
		DSPParameter* parameter;
		ParameterLink* link;
		// The parameter the link's values go to; null for none.
		DSPParameter* target;
		int32 paramNo;
		// The source's output through the piece: no call of the source runs during it.
		ParameterLink::Channel source;
		// True when a value goes to the target alone, as setParameter would put it there: the
		// target is in no group and is neither "Bypass" nor "Mix".
		bool direct;
	};

	// The value the link puts in place at sample i of the piece, and whether it sets the base.
	double linkValue (const ActiveLink& active, int32 i, bool& setBase) const;

	int32 id;
	double sampleRate {44100.0};
	int32 numInputs;
	int32 numOutputs;
	int32 blockSize {0};
	int32 sampleSize {1};
	int32 kind {kEffectKind};
	bool container {false};
	ParameterList parameters;
	// "Mix" and "Bypass", read at every piece and by every link at every sample.
	DSPParameter* mixParameter {nullptr};
	DSPParameter* bypassParameter {nullptr};
	bool linked {false};
	bool mixActive {false};
	uint32 latency {0};
	uint32 tail {0};
	int32 fadeTimeMs {250};
	int32 fadeDirection {0};
	void* lastOutputs {nullptr};
	int32 lastFrames {0};
	bool lastOutputsFloat32 {false};
	// Where the piece being processed starts within its call, so links read the same sample.
	int32 pieceStart {0};
	bool clearOutputs {false};
	double fadeGain {1.0};
	double fadeStep {0.0};
	bool keepsRunning {false};
	Steinberg::IPtr<Cable> bypassedCable;
	// The links applyLinks runs in the current piece.
	std::vector<ActiveLink> activeLinks;

	std::vector<float*> pieceInputs32;
	std::vector<float*> pieceOutputs32;
	std::vector<double*> pieceInputs64;
	std::vector<double*> pieceOutputs64;
};

inline double DSPFunction::linkValue (const ActiveLink& active, int32 i, bool& setBase) const
{
	const double s = active.source.at (pieceStart + i);
	double v = s;
	setBase = true;
	if (active.link->getMode () == kLinkSubtractFromBase)
	{
		v = active.parameter->getBaseValue () - s;
		setBase = false;
	}
	else if (active.link->getMode () == kLinkAddToBase)
	{
		v = active.parameter->getBaseValue () + s;
		setBase = false;
	}
	if (sampleSize == 0)
		v = static_cast<double> (static_cast<float> (v));
	return v;
}

inline void DSPFunction::applyLinks (int32 i)
{
	for (const ActiveLink& active : activeLinks)
	{
		if (!active.link->tick ())
			continue;
		bool setBase = true;
		const double v = linkValue (active, i, setBase);
		if (active.direct)
			active.target->setValue (setBase, true, v);
		else if (active.target)
			setFound (*active.target, active.paramNo, setBase, true, v);
	}
}

template <typename Sample>
Sample** DSPFunction::offsetChannels (Sample** channels, int32 count, int32 offset, std::vector<Sample*>& scratch)
{
	if (!channels)
		return nullptr;
	for (int32 c = 0; c < count; ++c)
		scratch[static_cast<size_t> (c)] = channels[c] ? channels[c] + offset : nullptr;
	return scratch.data ();
}

template <typename Sample, typename Work>
int32 DSPFunction::runPiece (Sample** inputs, Sample** outputs, int32 frames, Work& work)
{
	runBasePart (inputs, outputs, frames);
	if (linked)
		resolveLinks ();
	if (isBypassed () && fadeDirection == 0)
	{
		if (Sample** scratch = bypassedOutputs (outputs, frames))
			work (inputs, scratch, frames);
		return 0;
	}
	work (inputs, outputs, frames);
	if (mixActive)
		runMix (inputs, outputs, frames);
	if (fadeDirection != 0)
		runBypassFade (inputs, outputs, frames);
	return 0;
}

template <typename Sample, typename Work>
int32 DSPFunction::runBlock (Sample** inputs, Sample** outputs, int32 frames, Work&& work)
{
	if (blockSize <= 0 || frames <= blockSize)
		return runPiece (inputs, outputs, frames, work);

	for (int32 done = 0; done < frames; done += blockSize)
	{
		const int32 piece = std::min (blockSize, frames - done);
		Sample** in = offsetChannels (inputs, numInputs, done, pieceScratch (inputs, true));
		Sample** out = offsetChannels (outputs, numOutputs, done, pieceScratch (outputs, false));
		pieceStart = done;
		runPiece (in, out, piece, work);
	}
	pieceStart = 0;
	// Links read the whole call, not its last piece.
	lastOutputs = outputs;
	lastFrames = frames;
	return 0;
}

} // namespace DSPLib
} // namespace KOREMU
