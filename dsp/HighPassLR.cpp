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
	if (steady)
	{
		const Coefficients q = coefficientsAt (readCutoff ());
		for (int32 c = 0; c < channels; ++c)
			filterChannel (q, history[static_cast<size_t> (c)], inputs[c], outputs[c], frames);
		return;
	}
	for (int32 i = 0; i < frames; ++i)
	{
		const Coefficients& q = coefficientsAt (readCutoff ());
		for (int32 c = 0; c < channels; ++c)
			outputs[c][i] = static_cast<Sample> (
			    filtered (q, history[static_cast<size_t> (c)], static_cast<double> (inputs[c][i])));
	}
}

// One channel under fixed coefficients, its history in registers through the loop: the output
// stores could otherwise alias it.
template <typename Sample>
void HighPassLR::filterChannel (const Coefficients& q, History& history, const Sample* input, Sample* output,
                                int32 frames)
{
	History h = history;
	for (int32 i = 0; i < frames; ++i)
		output[i] = static_cast<Sample> (filtered (q, h, static_cast<double> (input[i])));
	history = h;
}

} // namespace DSPLib
} // namespace KOREMU
