#include "dsp/HShifterConvCont.h"

#include "dsp/FrameConversion.h"

#include <algorithm>
#include <cmath>

namespace KOREMU {
namespace DSPLib {

namespace {

constexpr double kTwoPi = 6.283185307179586;
// 2^63: counters stay strictly inside +-2^63.
constexpr double kCounterLimit = 9223372036854775808.0;

// The Chebyshev polynomial of even degree at x.
long double chebyshev (int32 degree, long double x)
{
	const long double magnitude = std::fabs (x);
	if (magnitude > 1.0L)
		return std::cosh (degree * std::acosh (magnitude));
	return std::cos (degree * std::acos (x));
}

// Extended precision keeps the window's large alternating sums well inside double rounding.
HShifterConvCont::HilbertTable computeHilbertTable ()
{
	constexpr int32 m = HShifterConvCont::kHilbertTaps;
	constexpr int32 half = HShifterConvCont::kHalfLength;
	const long double pi = 3.141592653589793238462643383279502884L;
	const long double beta = std::cosh (std::acosh (1.0e5L) / (m - 1));

	std::array<long double, m> spectrum {};
	for (int32 i = 0; i < m; ++i)
		spectrum[static_cast<size_t> (i)] = chebyshev (m - 1, beta * std::cos (pi * i / m));

	// The window is even about the centre, so one side is enough; i * d is reduced modulo m so
	// the cosine's argument stays below 2 pi.
	std::array<long double, half + 1> window {};
	for (int32 d = 0; d <= half; ++d)
	{
		long double sum = 0.0L;
		for (int32 i = 0; i < m; ++i)
			sum += spectrum[static_cast<size_t> (i)] * std::cos (2.0L * pi * ((i * d) % m) / m);
		window[static_cast<size_t> (d)] = sum;
	}

	HShifterConvCont::HilbertTable table {};
	for (int32 d = 1; d <= half; d += 2)
	{
		const long double c = window[static_cast<size_t> (d)] / window[0];
		const auto tap = static_cast<double> (c * 2.0L / (pi * d));
		table[static_cast<size_t> (half + d)] = tap;
		table[static_cast<size_t> (half - d)] = -tap;
	}
	return table;
}

} // namespace

const HShifterConvCont::HilbertTable& HShifterConvCont::hilbertTable ()
{
	static const HilbertTable table = computeHilbertTable ();
	return table;
}

HShifterConvCont::HShifterConvCont (int32 id, int32 channels) : DSPFunction (id, channels, channels)
{
	addParameter (kFrequencyShiftParam, u"FrequencyShift", DSPParameter::kPerInput, kDefaultShiftHz, -kMaxShiftHz,
	              kMaxShiftHz);
	addParameter (kFreqModParam, u"FreqMod",
	              DSPParameter::kIgnoreUnforced | DSPParameter::kLinkable | DSPParameter::kPerInput, 0.0);
	convolver = Steinberg::owned (new Convolver (0, channels));
	responses.assign (static_cast<size_t> (channelCount ()), hilbertTable ());
	std::vector<const double*> channelResponses;
	for (const HilbertTable& response : responses)
		channelResponses.push_back (response.data ());
	if (!channelResponses.empty ())
		convolver->setImpulseResponse (channelResponses.data (), kHilbertTaps);
	// Its direct path and Hilbert filter would otherwise restart from silence.
	keepRunningWhileBypassed ();
}

HShifterConvCont::~HShifterConvCont ()
{
	if (convolver->isSetUp ())
		convolver->teardown ();
}

int32 HShifterConvCont::channelCount () const
{
	return std::max (getNumInputs (), 0);
}

uint32 HShifterConvCont::getLatency () const
{
	// Without a channel there is no Hilbert path, only the centre tap's distance.
	return channelCount () > 0 ? kLatency : kHalfLength;
}

int32 HShifterConvCont::setup ()
{
	convolver->setSampleRate (getSampleRate ());
	convolver->setBlockSize (getBlockSize ());
	convolver->setSampleSize (getSampleSize ());
	if (convolver->isSetUp ())
		convolver->teardown ();
	const int32 status = convolver->setup ();
	if (status != 0)
		return status;

	const auto delay = static_cast<int32> (getLatency ());
	const auto channels = static_cast<size_t> (channelCount ());
	ring = std::make_unique<RingDelayLine> (channelCount (), delay + 1, getSampleSize (), getSampleRate ());
	taps.assign (channels, nullptr);
	counters.assign (channels, 0);
	lastShifts.assign (channels, 0.0);
	for (int32 c = 0; c < channelCount (); ++c)
	{
		taps[static_cast<size_t> (c)] = ring->setTap (delay, c, 1, 0, false);
		lastShifts[static_cast<size_t> (c)] = shiftOf (c);
	}
	const double rate = getSampleRate ();
	angularStep = std::isfinite (rate) && rate > 0.0 ? kTwoPi / rate : 0.0;
	return DSPFunction::setup ();
}

int32 HShifterConvCont::teardown ()
{
	taps.clear ();
	ring.reset ();
	counters.clear ();
	lastShifts.clear ();
	if (convolver->isSetUp ())
		convolver->teardown ();
	return DSPFunction::teardown ();
}

// Keeps the phase counters: the phase runs on from setup for the life of the block.
int32 HShifterConvCont::reset ()
{
	if (ring)
		ring->clear ();
	convolver->reset ();
	return DSPFunction::reset ();
}

int32 HShifterConvCont::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 HShifterConvCont::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

// A shift that is not a finite number counts as no shift.
double HShifterConvCont::shiftOf (int32 channel)
{
	const double s = getParameter (kFrequencyShiftParam, channel);
	return std::isfinite (s) ? s : 0.0;
}

bool HShifterConvCont::rescaleCounter (int64& counter, double lastShift, double shift, double angularStep)
{
	const double divisor = angularStep * shift;
	if (divisor == 0.0 || !std::isfinite (divisor))
		return false;
	const double phase = (lastShift - shift) + (static_cast<double> (counter) * lastShift) * angularStep;
	const double rescaled = std::trunc (phase / divisor + 0.5);
	if (!(rescaled >= -kCounterLimit && rescaled < kCounterLimit))
		return false;
	counter = static_cast<int64> (rescaled);
	return true;
}

template <typename Sample>
void HShifterConvCont::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs || frames <= 0)
		return;
	runConvolver (inputs, outputs, frames);
	for (int32 c = 0; c < channelCount (); ++c)
	{
		Sample* out = outputs[c];
		if (!out)
			continue;
		if (!ring || !inputs[c])
			std::fill (out, out + frames, Sample (0));
		else
			renderChannel (c, inputs[c], out, frames);
	}
}

// output holds the Hilbert path on entry; the upper sideband is cos(phase) x - sin(phase) H{x}.
// The direct path's delay is fixed: its ring is read and written a chunk at a time.
template <typename Sample>
void HShifterConvCont::renderChannel (int32 channel, const Sample* input, Sample* output, int32 frames)
{
	const auto ch = static_cast<size_t> (channel);
	const double shift = shiftOf (channel);
	// The phase state stays in registers through the loop: the output stores could otherwise alias it.
	int64 counter = counters[ch];
	double lastShift = lastShifts[ch];
	DelayTap& tap = *taps[ch];
	DSPParameter* freqMod = findParameter (kFreqModParam, channel);
	// A chunk no longer than the delay reads only what was written before it.
	const int32 longest = std::min (kDirectChunk, static_cast<int32> (getLatency ()));
	double direct[kDirectChunk];
	for (int32 start = 0; start < frames; start += longest)
	{
		const int32 count = std::min (longest, frames - start);
		ring->readBlock (tap, direct, count);
		ring->writeBlock (channel, input + start, count);
		for (int32 k = 0; k < count; ++k)
		{
			const int32 j = start + k;
			if (hasLinks ())
				applyLinks (j);
			const double mod = finiteOr (freqMod ? freqMod->getValue () : 0.0, 0.0);
			if (shift != 0.0 && shift != lastShift)
			{
				rescaleCounter (counter, lastShift, shift, angularStep);
				lastShift = shift;
			}
			const double phase = (mod + shift) + (static_cast<double> (counter) * shift) * angularStep;
			++counter;
			output[j] = static_cast<Sample> (std::cos (phase) * direct[k] - std::sin (phase) * static_cast<double> (output[j]));
		}
	}
	counters[ch] = counter;
	lastShifts[ch] = lastShift;
}

} // namespace DSPLib
} // namespace KOREMU
