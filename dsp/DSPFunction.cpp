#include "dsp/DSPFunction.h"

#include <cfloat>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <stdexcept>

namespace KOREMU {
namespace DSPLib {

namespace {

template <typename Sample>
void zeroChannel (Sample* channel, int32 frames)
{
	if (channel && frames > 0)
		std::memset (channel, 0, sizeof (Sample) * static_cast<size_t> (frames));
}

template <typename Sample>
void copyChannel (const Sample* from, Sample* to, int32 frames)
{
	if (from && to && from != to && frames > 0)
		std::memcpy (to, from, sizeof (Sample) * static_cast<size_t> (frames));
}

void checkChannelCounts (int32 numInputs, int32 numOutputs)
{
	if (numInputs < 0 || numOutputs < 0)
		throw std::invalid_argument ("negative channel count");
	if (static_cast<int64_t> (numInputs) * numOutputs > kMaxChannelPairs)
		throw std::length_error ("too many input x output pairs for 32-bit parameter keys");
}

} // namespace

DSPFunction::DSPFunction (int32 id, int32 numInputs, int32 numOutputs)
: id (id)
, numInputs (numInputs)
, numOutputs (numOutputs)
{
	checkChannelCounts (numInputs, numOutputs);
	pieceInputs32.resize (static_cast<size_t> (numInputs));
	pieceInputs64.resize (static_cast<size_t> (numInputs));
	pieceOutputs32.resize (static_cast<size_t> (numOutputs));
	pieceOutputs64.resize (static_cast<size_t> (numOutputs));

	auto* mix = new DSPParameter (getParameterKey (kMixParamNo, 0), u"Mix", 0, 1.0);
	mix->setRange (0.0, 1.0);
	mix->setBaseKey (mix->getKey ());
	parameters.add (mix);

	auto* bypass = new DSPParameter (getParameterKey (kBypassParamNo, 0), u"Bypass", 0, 0.0);
	bypass->setBaseKey (bypass->getKey ());
	parameters.add (bypass);
	resolveSharedParameters ();
}

void DSPFunction::resolveSharedParameters ()
{
	mixParameter = parameters.find (getParameterKey (kMixParamNo, 0));
	bypassParameter = parameters.find (getParameterKey (kBypassParamNo, 0));
}

DSPFunction::~DSPFunction ()
{
	parameters.clear ();
}

void DSPFunction::setSampleRate (double rate) { sampleRate = rate; }
int32 DSPFunction::getNumInputs () const { return numInputs; }
int32 DSPFunction::getNumOutputs () const { return numOutputs; }
void DSPFunction::setBlockSize (int32 frames) { blockSize = frames; }
int32 DSPFunction::getBlockSize () const { return blockSize; }
void DSPFunction::setSampleSize (int32 size) { sampleSize = size; }
int32 DSPFunction::getSampleSize () const { return sampleSize; }
int32 DSPFunction::getKind () const { return kind; }
uint32 DSPFunction::getLatency () const { return latency; }
uint32 DSPFunction::getTail () const { return tail; }
int32 DSPFunction::teardown () { return 0; }

DSPFunction* DSPFunction::findFunction (int32 wanted)
{
	return wanted == id ? this : nullptr;
}

int32 DSPFunction::setup ()
{
	for (int32 i = 0; i < parameters.size (); ++i)
	{
		DSPParameter* p = parameters.at (i);
		p->setSampleRate (sampleRate);
		if (int32 status = p->prepareSmoothing ())
			return status;
	}
	fadeStep = 1.0 / (fadeTimeMs * (sampleRate * 0.001));
	if (keepsRunning)
		bypassedCable = Steinberg::owned (new Cable (numOutputs, blockSize, sampleSize));
	return 0;
}

float** DSPFunction::bypassedOutputs (float**, int32 frames) const
{
	return bypassedCable && frames <= bypassedCable->getFrames () ? bypassedCable->getBuffers32 () : nullptr;
}

double** DSPFunction::bypassedOutputs (double**, int32 frames) const
{
	return bypassedCable && frames <= bypassedCable->getFrames () ? bypassedCable->getBuffers64 () : nullptr;
}

int32 DSPFunction::reset ()
{
	clearOutputs = true;
	return 0;
}

// --- parameters ---

uint32 DSPFunction::getParameterKey (int32 paramNo, int32 sub) const
{
	if (numInputs == 0 || numOutputs == 0)
		return static_cast<uint32> (paramNo);
	const uint64_t pairs = static_cast<uint64_t> (channelPairs ());
	return static_cast<uint32> (static_cast<uint64_t> (static_cast<uint32> (paramNo)) * pairs
	                            + static_cast<uint64_t> (static_cast<uint32> (sub)));
}

bool DSPFunction::subIndexInRange (int32 sub) const
{
	if (numInputs == 0 || numOutputs == 0)
		return true;
	return sub >= 0 && sub < channelPairs ();
}

DSPParameter* DSPFunction::findParameter (int32 paramNo, int32 sub) const
{
	if (!subIndexInRange (sub))
		return nullptr;
	if (sub == 0 && paramNo == kBypassParamNo)
		return bypassParameter;
	if (sub == 0 && paramNo == kMixParamNo)
		return mixParameter;
	return parameters.find (getParameterKey (paramNo, sub));
}

void DSPFunction::addParameter (int32 paramNo, const char16* name, int32 flags, double defaultValue,
                                double minimum, double maximum)
{
	int32 instances = 1;
	if (flags & DSPParameter::kPerInput)
		instances = numInputs;
	else if (flags & DSPParameter::kPerPair)
		instances = channelPairs ();
	const uint32 baseKey = getParameterKey (paramNo, 0);
	for (int32 i = 0; i < instances; ++i)
	{
		auto* p = new DSPParameter (baseKey + static_cast<uint32> (i), name, flags, defaultValue);
		p->setRange (minimum, maximum);
		p->setBaseKey (baseKey);
		parameters.add (p);
	}
	resolveSharedParameters ();
	reserveLinks ();
}

void DSPFunction::addParameter (int32 paramNo, const char16* name, int32 flags, double defaultValue)
{
	addParameter (paramNo, name, flags, defaultValue, -DBL_MAX, DBL_MAX);
}

double DSPFunction::getParameter (int32 paramNo, int32 sub)
{
	DSPParameter* p = findParameter (paramNo, sub);
	return p ? p->getValue () : 0.0;
}

void DSPFunction::setGroupMembers (const DSPParameter& p, bool setBase, bool force, double value)
{
	for (int32 i = 0; i < parameters.size (); ++i)
	{
		DSPParameter* q = parameters.at (i);
		if (q->hasFlag (DSPParameter::kGrouped) && q->getGroupId () == p.getGroupId ())
			q->setValue (setBase, force, value);
	}
}

void DSPFunction::setParameter (int32 paramNo, int32 sub, bool setBase, bool force, double value)
{
	if (DSPParameter* p = findParameter (paramNo, sub))
		setFound (*p, paramNo, setBase, force, value);
}

// setParameter past its lookup.
void DSPFunction::setFound (DSPParameter& found, int32 paramNo, bool setBase, bool force, double value)
{
	if (found.hasFlag (DSPParameter::kGrouped) && found.getGroupId () != 0)
		setGroupMembers (found, setBase, force, value);
	else
		found.setValue (setBase, force, value);

	if (paramNo == kBypassParamNo && kind == kEffectKind)
		fadeDirection = isSet (value) ? -1 : 1;
	else if (paramNo == kMixParamNo)
		mixActive = value < 1.0 || std::isnan (value);
}

void DSPFunction::setParameter (int32 paramNo, bool setBase, bool force, double value)
{
	setParameter (paramNo, 0, setBase, force, value);
}

void DSPFunction::setBypassImmediately (bool bypassed)
{
	setParameter (kBypassParamNo, 0, true, true, bypassed ? 1.0 : 0.0);
	fadeDirection = 0;
	fadeGain = bypassed ? 0.0 : 1.0;
}

void DSPFunction::setSmoothingMode (int32 paramNo, int32 sub, int32 mode)
{
	if (DSPParameter* p = findParameter (paramNo, sub))
		p->setSmoothingMode (mode);
}

void DSPFunction::setSmoothingMode (int32 paramNo, int32 mode)
{
	setSmoothingMode (paramNo, 0, mode);
}

void DSPFunction::setParameterGroup (int32 paramNo, int32 sub, int32 groupId)
{
	if (DSPParameter* p = findParameter (paramNo, sub))
		p->setGroupId (groupId);
}

void DSPFunction::setParameterGroup (int32 paramNo, int32 groupId)
{
	setParameterGroup (paramNo, 0, groupId);
}

// --- modulation links ---

void DSPFunction::markFollowers (int32 groupId)
{
	for (int32 i = 0; i < parameters.size (); ++i)
	{
		DSPParameter* q = parameters.at (i);
		if (q->getGroupId () == groupId && q->hasFlag (DSPParameter::kGrouped | DSPParameter::kLinkable))
			q->setFollower (true);
	}
}

ParameterLink* DSPFunction::linkParameter (DSPFunction* source, int32 paramNo, int32 sub, int32 mode)
{
	DSPParameter* p = findParameter (paramNo, sub);
	if (!p || !p->hasFlag (DSPParameter::kLinkable))
		return nullptr;
	p->setLink (std::make_unique<ParameterLink> (source, mode, 1));
	linked = true;
	reserveLinks ();
	if (p->hasFlag (DSPParameter::kGrouped) && p->getGroupId () != 0)
		markFollowers (p->getGroupId ());
	return p->getLink ();
}

ParameterLink* DSPFunction::linkParameter (DSPFunction* source, int32 paramNo, int32 mode)
{
	return linkParameter (source, paramNo, 0, mode);
}

// Room for every parameter, so that resolving the links never allocates.
void DSPFunction::reserveLinks ()
{
	if (linked)
		activeLinks.reserve (static_cast<size_t> (parameters.size ()));
}

// Once per piece: which parameters have a link whose source runs. Nothing a piece does moves a
// source's "Bypass", which no link can reach.
void DSPFunction::resolveLinks ()
{
	activeLinks.clear ();
	const uint32 pairs = (numInputs == 0 || numOutputs == 0) ? 0u : static_cast<uint32> (channelPairs ());
	for (int32 position = 0; position < parameters.size (); ++position)
	{
		DSPParameter* p = parameters.at (position);
		ParameterLink* link = p->getLink ();
		if (!link || !p->hasFlag (DSPParameter::kLinkable) || !link->isSourceActive ())
			continue;
		const uint32 paramNo = pairs ? p->getBaseKey () / pairs : p->getBaseKey ();
		const auto sub = static_cast<int32> (p->getKey () - p->getBaseKey ());
		// What setParameter would find under that number and sub-index, if anything.
		DSPParameter* target = findParameter (static_cast<int32> (paramNo), sub);
		const bool grouped = target && target->hasFlag (DSPParameter::kGrouped) && target->getGroupId () != 0;
		const bool shared = paramNo == kBypassParamNo || paramNo == kMixParamNo;
		activeLinks.push_back ({p, link, target, static_cast<int32> (paramNo), link->sourceChannel (),
		                        target && !grouped && !shared});
	}
}

// --- processing ---

template <typename Sample>
int32 DSPFunction::basePart (Sample** inputs, Sample** outputs, int32 frames)
{
	lastOutputs = outputs;
	lastFrames = frames;
	lastOutputsFloat32 = sizeof (Sample) == sizeof (float);
	if (clearOutputs)
	{
		if (outputs)
		{
			for (int32 o = 0; o < numOutputs; ++o)
				zeroChannel (outputs[o], frames);
		}
		clearOutputs = false;
	}
	if (!isBypassed ())
		return 0;
	if (kind == kGeneratorKind || kind == kControllerKind)
	{
		if (outputs)
		{
			for (int32 o = 0; o < numOutputs; ++o)
				zeroChannel (outputs[o], frames);
		}
		return 0;
	}
	if (kind != kEffectKind || numInputs > numOutputs || !inputs || !outputs)
		return 0;
	for (int32 i = 0; i < numInputs; ++i)
	{
		for (int32 o = i; o < numOutputs; o += numInputs)
			copyChannel (inputs[i], outputs[o], frames);
	}
	return 0;
}

template <typename Sample>
int32 DSPFunction::mixStage (Sample** dry, Sample** outputs, int32 frames)
{
	const double m = getParameter (kMixParamNo, 0);
	if (m == 1.0 || std::isnan (m) || getNumInputs () <= 0 || !dry || !outputs)
		return 0;
	const int32 channels = std::min (getNumInputs (), numOutputs);
	for (int32 c = 0; c < channels; ++c)
	{
		for (int32 i = 0; i < frames; ++i)
		{
			const double d = dry[c][i];
			outputs[c][i] = static_cast<Sample> ((static_cast<double> (outputs[c][i]) - d) * m + d);
		}
	}
	return 0;
}

template <typename Sample>
int32 DSPFunction::bypassFade (Sample** dry, Sample** outputs, int32 frames)
{
	if (frames < 1 || kind != kEffectKind || !dry || !outputs)
		return 0;
	for (int32 i = 0; i < frames; ++i)
	{
		for (int32 j = 0; j < std::min (numInputs, numOutputs); ++j)
		{
			const double d = dry[j][i];
			for (int32 o = j; o < numOutputs; o += numInputs)
				outputs[o][i] = static_cast<Sample> ((static_cast<double> (outputs[o][i]) - d) * fadeGain + d);
		}
		if (fadeDirection == -1)
		{
			fadeGain -= fadeStep;
			if (fadeGain < 0.0)
			{
				fadeGain = 0.0;
				fadeDirection = 0;
				if (!keepsRunning)
					reset ();
			}
		}
		else if (fadeDirection == 1)
		{
			fadeGain += fadeStep;
			if (fadeGain > 1.0)
			{
				fadeGain = 1.0;
				fadeDirection = 0;
			}
		}
	}
	return 0;
}

int32 DSPFunction::process32 (float** inputs, float** outputs, int32 frames)
{
	return basePart (inputs, outputs, frames);
}

int32 DSPFunction::process64 (double** inputs, double** outputs, int32 frames)
{
	return basePart (inputs, outputs, frames);
}

int32 DSPFunction::mix32 (float** dry, float** outputs, int32 frames)
{
	return mixStage (dry, outputs, frames);
}

int32 DSPFunction::mix64 (double** dry, double** outputs, int32 frames)
{
	return mixStage (dry, outputs, frames);
}

int32 DSPFunction::bypassFade32 (float** dry, float** outputs, int32 frames)
{
	return bypassFade (dry, outputs, frames);
}

int32 DSPFunction::bypassFade64 (double** dry, double** outputs, int32 frames)
{
	return bypassFade (dry, outputs, frames);
}

} // namespace DSPLib
} // namespace KOREMU
