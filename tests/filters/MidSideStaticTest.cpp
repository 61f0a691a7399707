#include "tests/support/Measure.h"

#include "dsp/MidSideStatic.h"

#include <gtest/gtest.h>

using namespace veltrane_test;

namespace {

constexpr double kRate = 44100.0;

// The section under an impulse of pure mid (right polarity +1) or pure side (-1) from silence:
// y0 = a and y1 = a (d - 1) in the left output, so the response gives both coefficients.
FirstOrderCoefficients sectionOf (GraphHarness& harness, double rightPolarity)
{
	harness.graph ().reset ();
	const Signal out = harness.run ({{1.0, 0.0}, {rightPolarity, 0.0}});
	return {out[0][0], 1.0 + out[0][1] / out[0][0]};
}

TEST (MidSideStaticTest, DefaultCoefficientsAt44100Hz)
{
	GraphHarness harness (new MidSideStatic (1), kRate);
	ASSERT_EQ (harness.setup (), 0);
	const FirstOrderCoefficients mid = sectionOf (harness, 1.0), side = sectionOf (harness, -1.0);
	EXPECT_NEAR (mid.a, 0.998577, 1e-6);
	EXPECT_NEAR (mid.d, 0.997155, 1e-6);
	EXPECT_NEAR (side.a, 0.989427, 1e-6);
	EXPECT_NEAR (side.d, 0.978854, 1e-6);
}

struct StereoCase
{
	double rightPolarity; // +1: mid only, -1: side only
	double frequency;
	double expectedGain;
	double tolerance;
};

class MidSideStaticGainTest : public ::testing::TestWithParam<StereoCase>
{
};

// Mid content meets the 20 Hz corner, side content the 150 Hz one; far above both the block
// passes L and R unchanged.
TEST_P (MidSideStaticGainTest, SteadyGainOfMidOrSide)
{
	const StereoCase c = GetParam ();
	GraphHarness harness (new MidSideStatic (1), kRate);
	ASSERT_EQ (harness.setup (), 0);
	EXPECT_NEAR (steadyGain (harness, 2, c.frequency, kRate, c.rightPolarity), c.expectedGain, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P (Responses, MidSideStaticGainTest,
                          ::testing::Values (StereoCase {1.0, 20.0, std::sqrt (0.5), 1e-6},
                                             StereoCase {-1.0, 150.0, std::sqrt (0.5), 1e-6},
                                             StereoCase {1.0, 150.0, 0.991, 0.002},
                                             StereoCase {1.0, 10000.0, 1.0, 1e-3},
                                             StereoCase {-1.0, 10000.0, 1.0, 1e-3}));

TEST (MidSideStaticTest, IdenticalChannelsStayIdentical)
{
	for (const int32 sampleSize : {0, 1})
	{
		GraphHarness harness (new MidSideStatic (1), kRate, sampleSize);
		ASSERT_EQ (harness.setup (), 0);
		const std::vector<double> noise = whiteNoise (4096, 3);
		const Signal out = harness.run ({noise, noise});
		EXPECT_EQ (out[0], out[1]) << "size " << sampleSize;
	}
}

// The corners are read at setup only: a later change is silent until the next setup.
TEST (MidSideStaticTest, CornersTakeEffectAtTheNextSetup)
{
	const std::vector<double> noise = whiteNoise (2048, 11);
	GraphHarness reference (new MidSideStatic (1), kRate);
	ASSERT_EQ (reference.setup (), 0);
	const Signal expected = reference.run ({noise, noise});

	auto* block = new MidSideStatic (2);
	GraphHarness harness (block, kRate);
	ASSERT_EQ (harness.setup (), 0);
	block->setParameter (MidSideStatic::kFcutMidParam, 0, true, false, 900.0);
	block->setParameter (MidSideStatic::kFcutSideParam, 0, true, false, 900.0);
	EXPECT_EQ (harness.run ({noise, noise}), expected);

	harness.graph ().teardown ();
	ASSERT_EQ (harness.setup (), 0);
	const FirstOrderCoefficients moved = FirstOrderCoefficients::highPass (900.0, kRate);
	const FirstOrderCoefficients mid = sectionOf (harness, 1.0), side = sectionOf (harness, -1.0);
	EXPECT_EQ (mid.a, moved.a);
	EXPECT_NEAR (mid.d, moved.d, 1e-12);
	EXPECT_EQ (side.a, moved.a);
	EXPECT_NEAR (side.d, moved.d, 1e-12);
}

// The 32-bit form forms L + R and L - R in float32: an R below half a float step of L is lost
// there, so it leaves the output exactly as R = 0 does.
TEST (MidSideStaticTest, Float32FormSumsAtFloatPrecision)
{
	const double tiny = std::ldexp (1.0, -25);
	Signal outputs[2];
	for (int k = 0; k < 2; ++k)
	{
		GraphHarness harness (new MidSideStatic (1), kRate, 0);
		ASSERT_EQ (harness.setup (), 0);
		outputs[k] = harness.run ({{1.0, 0.5}, {k == 0 ? 0.0 : tiny, 0.0}});
	}
	EXPECT_EQ (outputs[0], outputs[1]);
}

} // namespace
