#pragma once

#include "dsp/DSPFunction.h"

#include <cmath>
#include <limits>
#include <vector>

namespace KOREMU {
namespace DSPLib {

// A second-order Linkwitz-Riley high-pass (the square of a first-order high-pass, -6.02 dB at
// the cutoff). All channels share one smoothed "FrequencyCut", read once per sample; the
// coefficients follow it sample by sample.
class HighPassLR : public DSPFunction
{
public:
	static constexpr int32 kFrequencyCutParamNo = 0;
	static constexpr double kDefaultCutoff = 500.0;

	// The bilinear-transform coefficients of (s / (s + wc))^2, prewarped at the cutoff; the
	// numerator is b0, -2 * b0, b0.
	struct Coefficients
	{
		double b0 {0.0};
		double a1 {0.0};
		double a2 {0.0};
	};

	HighPassLR (int32 id, int32 channels);

	// The cutoff is limited to kMaxCornerRatio x sampleRate.
	static Coefficients coefficientsFor (double cutoff, double sampleRate);

	int32 setup () override;
	int32 teardown () override;
	int32 reset () override;
	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	// Direct form II history of one channel: the two internal values before the newest.
	struct History
	{
		double w1 {0.0};
		double w2 {0.0};
	};

	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	static void filterChannel (const Coefficients& q, History& history, const Sample* input, Sample* output,
	                           int32 frames);
	// One sample through the recursion; a value that is not finite would stay in it for good.
	static double filtered (const Coefficients& q, History& h, double x)
	{
		const double w0 = x - q.a1 * h.w1 - q.a2 * h.w2;
		const double y = q.b0 * (w0 - 2.0 * h.w1 + h.w2);
		h = std::isfinite (w0) ? History {w0, h.w1} : History {};
		return y;
	}
	double readCutoff ();
	const Coefficients& coefficientsAt (double cutoff);

	std::vector<History> history;
	double lastCutoff {kDefaultCutoff};
	// The coefficients of the last cutoff read: a settled cutoff costs no tangent per sample.
	Coefficients coefficients;
	double coefficientsCutoff {std::numeric_limits<double>::quiet_NaN ()};
	double coefficientsRate {std::numeric_limits<double>::quiet_NaN ()};
};

} // namespace DSPLib
} // namespace KOREMU
