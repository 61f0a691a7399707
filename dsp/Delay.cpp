#include "dsp/Delay.h"

#include "dsp/FrameConversion.h"

#include <algorithm>
#include <cstdint>
#include <limits>
#include <new>

namespace KOREMU {
namespace DSPLib {

Delay::Delay (int32 id, int32 channels, int32 maxDelayMs)
: DSPFunction (id, channels, channels)
, maxMs (std::max (maxDelayMs, 0))
{
	addParameter (kDelayMsParam, u"DelayMs", DSPParameter::kPerInput | DSPParameter::kGrouped, 100.0, 0.0, maxMs);
	addParameter (kGainParam, u"Gain", DSPParameter::kPerInput, 1.0, -1.0, 1.0);
	keepRunningWhileBypassed ();
}

Delay::~Delay () = default;

int32 Delay::setup ()
{
	samplesPerMs = 0.001 * getSampleRate ();
	const int32 longest = framesFromValue (maxMs * samplesPerMs, 0, 0, std::numeric_limits<int32>::max () - 1);
	const auto channels = static_cast<size_t> (getNumInputs ());
	try
	{
		ring = std::make_unique<RingDelayLine> (getNumInputs (), longest + 1, getSampleSize (), getSampleRate ());
	}
	catch (const std::bad_alloc&)
	{
		// A maximum too long for memory: report it; processing then gives silence.
		ring.reset ();
		return Steinberg::kOutOfMemory;
	}
	lastDelays.assign (channels, 0);
	lastGains.assign (channels, 1.0);
	return DSPFunction::setup ();
}

int32 Delay::teardown ()
{
	ring.reset ();
	lastDelays.clear ();
	lastGains.clear ();
	return DSPFunction::teardown ();
}

int32 Delay::reset ()
{
	if (ring)
		ring->clear ();
	return DSPFunction::reset ();
}

int32 Delay::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 Delay::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

template <typename Sample>
void Delay::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs)
		return;
	for (int32 c = 0; c < getNumInputs (); ++c)
	{
		if (!outputs[c])
			continue;
		if (!ring || !inputs[c])
			std::fill (outputs[c], outputs[c] + std::max (frames, 0), Sample (0));
		else
			renderChannel (c, inputs[c], outputs[c], frames);
	}
}

template <typename Sample>
void Delay::renderChannel (int32 c, const Sample* input, Sample* output, int32 frames)
{
	const auto slot = static_cast<size_t> (c);
	lastGains[slot] = finiteOr (getParameter (kGainParam, c), lastGains[slot]);
	const double gain = lastGains[slot];
	if (renderSettled (c, input, output, frames, gain))
		return;
	const int32 longest = ring->getFrames () - 1;
	for (int32 j = 0; j < frames; ++j)
	{
		const double ms = getParameter (kDelayMsParam, c);
		lastDelays[slot] = framesFromValue (ms * samplesPerMs, lastDelays[slot], 0, longest);
		DelayTap* tap = ring->setTap (lastDelays[slot], c, 1, 0, true);
		ring->write (c, static_cast<double> (input[j]));
		output[j] = static_cast<Sample> (ring->readTap (*tap) * gain);
	}
}

// A delay that holds through the block, with no fade running or starting, is a fixed delay: the
// ring is read and written a chunk at a time, a chunk no longer than the delay reading only what
// was written before it. False, with nothing changed that the sample loop would not set alike,
// when a fade runs or would start (it runs sample by sample), for a delay of 0, which reads the
// sample just written, and for a call in place.
template <typename Sample>
bool Delay::renderSettled (int32 c, const Sample* input, Sample* output, int32 frames, double gain)
{
	const DSPParameter* delayMs = findParameter (kDelayMsParam, c);
	if (frames <= 0 || !delayMs || !delayMs->holdsSteady () || static_cast<const void*> (input) == output)
		return false;
	const auto slot = static_cast<size_t> (c);
	lastDelays[slot] = framesFromValue (getParameter (kDelayMsParam, c) * samplesPerMs, lastDelays[slot], 0,
	                                    ring->getFrames () - 1);
	const int32 delay = lastDelays[slot];
	DelayTap* tap = ring->setTap (delay, c, 1, 0, true);
	if (delay == 0 || !ring->readsSettled (*tap))
		return false;
	double delayed[kChunkFrames];
	for (int32 j = 0; j < frames;)
	{
		const int32 count = std::min ({kChunkFrames, delay, frames - j});
		ring->readBlock (*tap, delayed, count);
		ring->writeBlock (c, input + j, count);
		for (int32 k = 0; k < count; ++k)
			output[j + k] = static_cast<Sample> (delayed[k] * gain);
		j += count;
	}
	return true;
}

} // namespace DSPLib
} // namespace KOREMU
