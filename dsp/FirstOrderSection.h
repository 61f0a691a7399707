#pragma once

#include <algorithm>
#include <cmath>

namespace KOREMU {
namespace DSPLib {

// Corner frequencies are kept at or below this fraction of the sample rate, where every filter
// section of the library stays stable, so low sample rates cannot make a recursion diverge.
constexpr double kMaxCornerRatio = 0.45;
// Keeps a corner above 0 even for an unusable sample rate, so coefficients stay finite.
constexpr double kMinCornerRatio = 1e-9;

// The corner as a fraction of the sample rate, within kMinCornerRatio ... kMaxCornerRatio.
// A sample rate that gives no number at all (NaN) takes the top of that range.
inline double cornerRatio (double frequency, double sampleRate)
{
	const double ratio = frequency / sampleRate;
	if (std::isnan (ratio))
		return kMaxCornerRatio;
	return std::clamp (ratio, kMinCornerRatio, kMaxCornerRatio);
}

// The coefficients of a first-order section with -3.01 dB at its corner:
// high-pass y = a * (x - x1) + d * y1, low-pass y = a * (x + x1) + d * y1.
struct FirstOrderCoefficients
{
	static constexpr double kPi = 3.14159265358979323846;

	double a {0.0};
	double d {0.0};

	static FirstOrderCoefficients highPass (double frequency, double sampleRate)
	{
		const double d = pole (frequency, sampleRate);
		return {0.5 * d + 0.5, d};
	}

	static FirstOrderCoefficients lowPass (double frequency, double sampleRate)
	{
		const double d = pole (frequency, sampleRate);
		return {0.5 - 0.5 * d, d};
	}

	static double pole (double frequency, double sampleRate)
	{
		const double omega = 2.0 * kPi * cornerRatio (frequency, sampleRate);
		return (1.0 - std::sin (omega)) / std::cos (omega);
	}
};

// The signal history of one first-order section: the previous input and output.
struct FirstOrderState
{
	double x1 {0.0};
	double y1 {0.0};

	double highPass (const FirstOrderCoefficients& c, double x)
	{
		return advance (x, c.a * (x - x1) + c.d * y1);
	}

	double lowPass (const FirstOrderCoefficients& c, double x)
	{
		return advance (x, c.a * (x + x1) + c.d * y1);
	}

private:
	// A value that is not finite would stay in the recursion for good, so it clears the history.
	double advance (double x, double y)
	{
		const bool finite = std::isfinite (x) && std::isfinite (y);
		x1 = finite ? x : 0.0;
		y1 = finite ? y : 0.0;
		return y;
	}
};

} // namespace DSPLib
} // namespace KOREMU
