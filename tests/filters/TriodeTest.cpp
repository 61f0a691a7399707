#include "tests/support/Measure.h"

#include "dsp/Triode.h"

#include <gtest/gtest.h>

#include <limits>

using namespace veltrane_test;

namespace {

constexpr double kRate = 44100.0;

struct ShapeCase
{
	double u;
	double distortion;
	double q;
	double expected;
};

class TriodeShapeTest : public ::testing::TestWithParam<ShapeCase>
{
};

TEST_P (TriodeShapeTest, Value)
{
	const ShapeCase c = GetParam ();
	EXPECT_NEAR (Triode::shape (c.u, c.distortion, c.q), c.expected, 1e-6);
}

// 0 maps to 0; large inputs pass with slope 1 above the offset; very negative inputs saturate
// at q / (1 - e^(d q)); u = q takes the limit of the general form.
INSTANTIATE_TEST_SUITE_P (Values, TriodeShapeTest,
                          ::testing::Values (ShapeCase {0.0, 10.0, -0.1, 0.0}, ShapeCase {1.0, 10.0, -0.1, 0.941821},
                                             ShapeCase {-1.0, 10.0, -0.1, -0.158087},
                                             ShapeCase {-1000.0, 10.0, -0.1, -0.158198},
                                             ShapeCase {-0.1, 10.0, -0.1, -0.058198},
                                             ShapeCase {50.0, 10.0, -0.1, 50.0 - 0.158198 + 0.1},
                                             ShapeCase {-1e300, 1.0, -10.0, -10.000454}));

// Next to u = q the denominator's argument is tiny but not zero; the shaper must still give
// the finite limit there for every setting in range.
TEST (TriodeShapeTest, ContinuousAroundTheWorkingPoint)
{
	const double inf = std::numeric_limits<double>::infinity ();
	for (const double d : {1.0, 10.0, 100.0})
	{
		for (const double q : {-0.01, -0.1, -3.0, -10.0})
		{
			const double atQ = Triode::shape (q, d, q);
			EXPECT_NEAR (atQ, 1.0 / d + q / (1.0 - std::exp (d * q)), 1e-12);
			EXPECT_EQ (Triode::shape (0.0, d, q), 0.0) << d << ", " << q;
			for (const double u : {std::nextafter (q, inf), std::nextafter (q, -inf), q + 1e-13, q - 1e-13})
			{
				const double v = Triode::shape (u, d, q);
				ASSERT_TRUE (std::isfinite (v)) << "u " << u << " d " << d << " q " << q;
				EXPECT_NEAR (v, atQ, 1e-9) << "u " << u << " d " << d << " q " << q;
			}
		}
	}
}

// The block against the chain it stands for, at the default settings: an 8 kHz low-pass, the
// shaper, a 40 Hz high-pass and a 12 kHz low-pass, with the coefficients below at 44.1 kHz.
TEST (TriodeTest, FixedFiltersAt44100Hz)
{
	const FirstOrderCoefficients lowPassIn = FirstOrderCoefficients::lowPass (8000.0, kRate);
	const FirstOrderCoefficients highPass = FirstOrderCoefficients::highPass (40.0, kRate);
	const FirstOrderCoefficients lowPassOut = FirstOrderCoefficients::lowPass (12000.0, kRate);
	EXPECT_NEAR (highPass.a, 0.997159, 1e-6);
	EXPECT_NEAR (highPass.d, 0.994317, 1e-6);
	EXPECT_NEAR (lowPassIn.a, 0.390553, 1e-6);
	EXPECT_NEAR (lowPassIn.d, 0.218894, 1e-6);
	EXPECT_NEAR (lowPassOut.a, 0.534784, 1e-6);
	EXPECT_NEAR (lowPassOut.d, -0.069569, 1e-6);

	GraphHarness harness (new Triode (1, 1), kRate);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> in = whiteNoise (4000, 12, 0.8);
	const std::vector<double> out = harness.run ({in})[0];
	FirstOrderState first, second, third;
	for (size_t n = 0; n < in.size (); ++n)
	{
		const double u = first.lowPass (lowPassIn, in[n]);
		const double v = Triode::shape (u, Triode::kDefaultDistortion, Triode::kDefaultQ) * Triode::kDefaultOutGain;
		const double expected = third.lowPass (lowPassOut, second.highPass (highPass, v));
		ASSERT_NEAR (out[n], expected, 1e-12) << "sample " << n;
	}
}

Triode* makeTriode (int32 channels, double distortion, double q, double outGain)
{
	auto* triode = new Triode (1, channels);
	triode->setParameter (Triode::kDistortionParam, 0, true, false, distortion);
	triode->setParameter (Triode::kQParam, 0, true, false, q);
	triode->setParameter (Triode::kOutGainParam, 0, true, false, outGain);
	return triode;
}

struct FirstSampleCase
{
	double input;
	double distortion;
	double q;
	double outGain;
	int32 sampleSize;
};

class TriodeFirstSampleTest : public ::testing::TestWithParam<FirstSampleCase>
{
};

// After a reset the chain starts from zero history: the first output is
// a12 * a40 * G * shape (a8 * x), whatever ran before.
TEST_P (TriodeFirstSampleTest, DependsOnlyOnTheFirstInputAfterReset)
{
	const FirstSampleCase c = GetParam ();
	GraphHarness harness (makeTriode (1, c.distortion, c.q, c.outGain), kRate, c.sampleSize);
	ASSERT_EQ (harness.setup (), 0);
	harness.run ({whiteNoise (1000, 5)});
	ASSERT_EQ (harness.graph ().reset (), 0);
	const double expected = 0.534784 * 0.997159 * c.outGain * Triode::shape (0.390553 * c.input, c.distortion, c.q);
	EXPECT_NEAR (harness.run ({{c.input, 0.0}})[0][0], expected, 1e-5);
}

INSTANTIATE_TEST_SUITE_P (Settings, TriodeFirstSampleTest,
                          ::testing::Values (FirstSampleCase {0.8, 10.0, -0.1, 1.0, 1},
                                             FirstSampleCase {-0.6, 10.0, -0.1, 1.0, 0},
                                             FirstSampleCase {0.9, 50.0, -0.02, 1.6, 1},
                                             FirstSampleCase {-0.9, 2.0, -3.0, 1.3, 0}));

// The shaper maps 0 to 0, so silence stays exactly silent even while the parameters glide.
TEST (TriodeTest, SilenceGivesExactSilence)
{
	auto* triode = makeTriode (2, 80.0, -7.0, 2.0);
	GraphHarness harness (triode, kRate);
	ASSERT_EQ (harness.setup (), 0);
	const Signal silence (2, std::vector<double> (600, 0.0));
	harness.run (silence);
	triode->setParameter (Triode::kDistortionParam, 0, true, false, 2.0);
	triode->setParameter (Triode::kQParam, 0, true, false, -0.02);
	for (const auto& channel : harness.run (silence))
		EXPECT_EQ (peak (channel), 0.0);
}

// Parameters are read once per channel and sample, channel after channel: the second channel
// of a two-channel block continues the glide where the first left off. A one-channel block
// that runs the same block twice, with a reset of its filters in between, reads the same
// parameter values.
TEST (TriodeTest, LaterChannelsContinueTheGlide)
{
	const std::vector<double> in = whiteNoise (400, 9, 0.5);
	auto* pair = makeTriode (2, 10.0, -0.1, 1.0);
	GraphHarness stereo (pair, kRate);
	ASSERT_EQ (stereo.setup (), 0);
	pair->setParameter (Triode::kDistortionParam, 0, true, false, 60.0);
	const Signal both = stereo.run ({in, in});

	auto* single = makeTriode (1, 10.0, -0.1, 1.0);
	GraphHarness mono (single, kRate);
	ASSERT_EQ (mono.setup (), 0);
	single->setParameter (Triode::kDistortionParam, 0, true, false, 60.0);
	EXPECT_EQ (mono.run ({in})[0], both[0]);
	ASSERT_EQ (mono.graph ().reset (), 0);
	EXPECT_EQ (mono.run ({in})[0], both[1]);
}

// A parameter value that is not a number keeps the last valid one.
TEST (TriodeTest, NaNParametersKeepTheLastValues)
{
	const double nan = std::numeric_limits<double>::quiet_NaN ();
	const std::vector<double> in = whiteNoise (300, 4);
	GraphHarness reference (makeTriode (1, 20.0, -0.5, 1.5), kRate);
	ASSERT_EQ (reference.setup (), 0);
	const std::vector<double> expected = reference.run ({in})[0];

	auto* triode = makeTriode (1, 20.0, -0.5, 1.5);
	GraphHarness harness (triode, kRate);
	ASSERT_EQ (harness.setup (), 0);
	for (const int32 paramNo : {Triode::kDistortionParam, Triode::kQParam, Triode::kOutGainParam})
		triode->setParameter (paramNo, 0, true, false, nan);
	EXPECT_EQ (harness.run ({in})[0], expected);
}

} // namespace
