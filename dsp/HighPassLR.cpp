#include "dsp/HighPassLR.h"

#include "dsp/FirstOrderSection.h"
#include "dsp/FrameConversion.h"

#include <algorithm>
#include <cmath>

namespace KOREMU {
namespace DSPLib {

HighPassLR::HighPassLR (int32 id, int32 channels) : DSPFunction (id, channels, channels)
{
	addParameter (kFrequencyCutParamNo, u"FrequencyCut", DSPParameter::kSmoothed, kDefaultCutoff, 1.0, 20000.0);
}

// Computed from the cutoff as a fraction of the rate: the coefficients do not depend on the
// scale of the prewarped frequency, and the limited fraction keeps the recursion stable.
HighPassLR::Coefficients HighPassLR::coefficientsFor (double cutoff, double sampleRate)
{
	const double omega = FirstOrderCoefficients::kPi;
	const double k = omega / std::tan (omega * cornerRatio (cutoff, sampleRate));
	const double c = 1.0 / ((k + omega) * (k + omega));
	return {c * k * k, 2.0 * c * (omega * omega - k * k), c * (k - omega) * (k - omega)};
}

int32 HighPassLR::setup ()
{
	history.assign (static_cast<size_t> (getNumInputs ()), History {});
	// The value as set, without a smoothing step, in case the first read is not a number.
	const DSPParameter* cutoff = findParameter (kFrequencyCutParamNo);
	lastCutoff = finiteOr (cutoff ? cutoff->getPlainValue () : lastCutoff, lastCutoff);
	return DSPFunction::setup ();
}

int32 HighPassLR::teardown ()
{
	history = std::vector<History> ();
	return 0;
}

int32 HighPassLR::reset ()
{
	std::fill (history.begin (), history.end (), History {});
	return DSPFunction::reset ();
}

int32 HighPassLR::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 HighPassLR::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

double HighPassLR::readCutoff ()
{
	lastCutoff = finiteOr (getParameter (kFrequencyCutParamNo), lastCutoff);
	return lastCutoff;
}

const HighPassLR::Coefficients& HighPassLR::coefficientsAt (double cutoff)
{
	const double rate = getSampleRate ();
	if (cutoff != coefficientsCutoff || rate != coefficientsRate)
	{
		coefficients = coefficientsFor (cutoff, rate);
		coefficientsCutoff = cutoff;
		coefficientsRate = rate;
	}
	return coefficients;
}

// One smoothed read per sample, whatever the channel count, so every channel sees the same
// coefficients at every sample.
template <typename Sample>
void HighPassLR::render (Sample** inputs, Sample** outputs, int32 frames)
{
	const int32 channels = inputs && outputs ? static_cast<int32> (history.size ()) : 0;
	if (frames <= 0)
		return;
	// A cutoff that holds steady reads the same at every sample: its coefficients once per block.
	const DSPParameter* cutoff = findParameter (kFrequencyCutParamNo);
	const bool steady = !cutoff || cutoff->holdsSteady ();
	const Coefficients* steadyCoefficients = steady ? &coefficientsAt (readCutoff ()) : nullptr;
	for (int32 i = 0; i < frames; ++i)
	{
		const Coefficients& q = steady ? *steadyCoefficients : coefficientsAt (readCutoff ());
		for (int32 c = 0; c < channels; ++c)
		{
			History& h = history[static_cast<size_t> (c)];
			const double w0 = static_cast<double> (inputs[c][i]) - q.a1 * h.w1 - q.a2 * h.w2;
			outputs[c][i] = static_cast<Sample> (q.b0 * (w0 - 2.0 * h.w1 + h.w2));
			// A value that is not finite would stay in the recursion for good.
			h = std::isfinite (w0) ? History {w0, h.w1} : History {};
		}
	}
}

} // namespace DSPLib
} // namespace KOREMU
