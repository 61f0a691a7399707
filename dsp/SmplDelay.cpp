#include "dsp/SmplDelay.h"

#include "dsp/FrameConversion.h"

#include <algorithm>

namespace KOREMU {
namespace DSPLib {

SmplDelay::SmplDelay (int32 id, int32 channels, int32 samples)
: DSPFunction (id, channels, channels)
, delay (std::clamp (samples, 0, kMaxDelaySamples))
{
	addParameter (kDelaySamplesParam, u"DelaySamples", DSPParameter::kSetupOnly, samples, 0.0, kMaxDelaySamples);
	keepRunningWhileBypassed ();
}

SmplDelay::~SmplDelay () = default;

int32 SmplDelay::setup ()
{
	delay = framesFromValue (getParameter (kDelaySamplesParam), delay, 0, kMaxDelaySamples);
	ring = std::make_unique<RingDelayLine> (getNumInputs (), delay + 1, getSampleSize (), getSampleRate ());
	taps.assign (static_cast<size_t> (getNumInputs ()), nullptr);
	for (int32 c = 0; c < getNumInputs (); ++c)
		taps[static_cast<size_t> (c)] = ring->setTap (delay, c, 1, 0, false);
	return DSPFunction::setup ();
}

int32 SmplDelay::teardown ()
{
	taps.clear ();
	ring.reset ();
	return DSPFunction::teardown ();
}

int32 SmplDelay::reset ()
{
	if (ring)
		ring->clear ();
	return DSPFunction::reset ();
}

int32 SmplDelay::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 SmplDelay::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

template <typename Sample>
void SmplDelay::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs)
		return;
	for (int32 c = 0; c < getNumInputs (); ++c)
	{
		Sample* out = outputs[c];
		if (!out)
			continue;
		const Sample* in = inputs[c];
		if (!ring || !in)
		{
			std::fill (out, out + std::max (frames, 0), Sample (0));
			continue;
		}
		DelayTap& tap = *taps[static_cast<size_t> (c)];
		if (delay == 0 || in == out)
			renderSampleBySample (c, in, out, frames);
		else
		{
			// A chunk no longer than the delay reads only frames written before it, so its
			// reads can come before its writes.
			for (int32 j = 0; j < frames; j += delay)
			{
				const int32 chunk = std::min (delay, frames - j);
				ring->readBlock (tap, out + j, chunk);
				ring->writeBlock (c, in + j, chunk);
			}
		}
	}
}

// Each sample written before its read: a delay of 0 reads the sample just written, and a write
// in place must not overwrite an input before it is stored.
template <typename Sample>
void SmplDelay::renderSampleBySample (int32 channel, const Sample* in, Sample* out, int32 frames)
{
	DelayTap& tap = *taps[static_cast<size_t> (channel)];
	for (int32 j = 0; j < frames; ++j)
	{
		ring->write (channel, static_cast<double> (in[j]));
		out[j] = static_cast<Sample> (ring->readTap (tap));
	}
}

} // namespace DSPLib
} // namespace KOREMU
