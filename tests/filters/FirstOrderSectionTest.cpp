#include "tests/support/Measure.h"

#include "dsp/FirstOrderSection.h"

#include <gtest/gtest.h>

#include <complex>
#include <limits>

using namespace veltrane_test;

namespace {

struct SectionCase
{
	bool highPass;
	double frequency;
	double sampleRate;
	double expectedA;
	double expectedD;
	double effectiveCorner; // where the section has -3.01 dB
};

FirstOrderCoefficients coefficientsOf (const SectionCase& c)
{
	return c.highPass ? FirstOrderCoefficients::highPass (c.frequency, c.sampleRate)
	                  : FirstOrderCoefficients::lowPass (c.frequency, c.sampleRate);
}

// The response of y = a (x +- x1) + d y1 at frequency.
double magnitude (const FirstOrderCoefficients& k, bool highPass, double frequency, double sampleRate)
{
	const std::complex<double> z1 = std::polar (1.0, -2.0 * kPi * frequency / sampleRate);
	const std::complex<double> numerator = k.a * (highPass ? 1.0 - z1 : 1.0 + z1);
	return std::abs (numerator / (1.0 - k.d * z1));
}

class FirstOrderSectionTest : public ::testing::TestWithParam<SectionCase>
{
};

TEST_P (FirstOrderSectionTest, CoefficientsAndHalfPowerAtTheCorner)
{
	const SectionCase c = GetParam ();
	const FirstOrderCoefficients k = coefficientsOf (c);
	EXPECT_NEAR (k.a, c.expectedA, 1e-6);
	EXPECT_NEAR (k.d, c.expectedD, 1e-6);
	EXPECT_LT (std::fabs (k.d), 1.0) << "pole outside the unit circle";
	EXPECT_NEAR (magnitude (k, c.highPass, c.effectiveCorner, c.sampleRate), std::sqrt (0.5), 1e-9);
}

// The rows at 44.1 kHz are the sections the blocks use; below it, corners above 0.45 x the rate
// are limited there, so the section stays stable instead of diverging.
INSTANTIATE_TEST_SUITE_P (
    Corners, FirstOrderSectionTest,
    ::testing::Values (SectionCase {true, 40.0, 44100.0, 0.997159, 0.994317, 40.0},
                       SectionCase {false, 8000.0, 44100.0, 0.390553, 0.218894, 8000.0},
                       SectionCase {false, 12000.0, 44100.0, 0.534784, -0.069569, 12000.0},
                       SectionCase {true, 20.0, 44100.0, 0.998577, 0.997155, 20.0},
                       SectionCase {true, 150.0, 44100.0, 0.989427, 0.978854, 150.0},
                       SectionCase {false, 12000.0, 22050.0, 0.863271, -0.726543, 9922.5},
                       SectionCase {false, 8000.0, 16000.0, 0.863271, -0.726543, 7200.0},
                       SectionCase {false, 12000.0, 8000.0, 0.863271, -0.726543, 3600.0},
                       SectionCase {true, 1000.0, 1500.0, 0.136729, -0.726543, 675.0}));

TEST (FirstOrderSectionTest, CornerRatioIsLimitedForAnySampleRate)
{
	const double nan = std::numeric_limits<double>::quiet_NaN ();
	const double inf = std::numeric_limits<double>::infinity ();
	struct Case
	{
		double frequency;
		double sampleRate;
		double expected;
	};
	for (const Case c : {Case {4410.0, 44100.0, 0.1}, Case {30000.0, 44100.0, kMaxCornerRatio},
	                     Case {100.0, 0.0, kMaxCornerRatio}, Case {100.0, nan, kMaxCornerRatio},
	                     Case {100.0, -44100.0, kMinCornerRatio}, Case {100.0, inf, kMinCornerRatio}})
		EXPECT_EQ (cornerRatio (c.frequency, c.sampleRate), c.expected) << c.frequency << " Hz at " << c.sampleRate;
}

TEST (FirstOrderSectionTest, StateStepsAndRemembersItsHistory)
{
	const FirstOrderCoefficients k {0.25, 0.5};
	FirstOrderState low;
	EXPECT_EQ (low.lowPass (k, 1.0), 0.25);
	EXPECT_EQ (low.lowPass (k, 0.0), 0.25 * 1.0 + 0.5 * 0.25);
	FirstOrderState high;
	EXPECT_EQ (high.highPass (k, 1.0), 0.25);
	EXPECT_EQ (high.highPass (k, 3.0), 0.25 * 2.0 + 0.5 * 0.25);
	EXPECT_EQ (high.x1, 3.0);
}

} // namespace
