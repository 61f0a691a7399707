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

} // namespace DSPLib
} // namespace KOREMU
