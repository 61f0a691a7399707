#include "tests/support/Measure.h"

#include "dsp/HighPassLR.h"

#include <gtest/gtest.h>

#include <limits>

using namespace veltrane_test;

namespace {

constexpr double kRate = 44100.0;

HighPassLR* makeHighPass (int32 channels, double cutoff)
{
	auto* block = new HighPassLR (1, channels);
	block->setParameter (HighPassLR::kFrequencyCutParamNo, 0, true, false, cutoff);
	return block;
}

std::vector<double> impulse (size_t frames)
{
	std::vector<double> s (frames, 0.0);
	s[0] = 1.0;
	return s;
}

TEST (HighPassLRTest, CoefficientsAt500HzAnd44100Hz)
{
	const HighPassLR::Coefficients k = HighPassLR::coefficientsFor (500.0, kRate);
	EXPECT_NEAR (k.b0, 0.932368, 1e-6);
	EXPECT_NEAR (k.a1, -1.862368, 1e-6);
	EXPECT_NEAR (k.a2, 0.867104, 1e-6);
}

// The first three samples of the impulse response pin b0, a1 and a2 in both process forms.
TEST (HighPassLRTest, ImpulseResponseFollowsTheDirectForm)
{
	const double b0 = 0.932368, a1 = -1.862368, a2 = 0.867104;
	const double expected[] = {b0, b0 * (-a1 - 2.0), b0 * (a1 * a1 - a2 + 2.0 * a1 + 1.0)};
	for (const int32 sampleSize : {0, 1})
	{
		GraphHarness harness (makeHighPass (1, 500.0), kRate, sampleSize);
		ASSERT_EQ (harness.setup (), 0);
		const std::vector<double> out = harness.run ({impulse (16)})[0];
		for (size_t n = 0; n < 3; ++n)
			EXPECT_NEAR (out[n], expected[n], 1e-5) << "sample " << n << " size " << sampleSize;
	}
}

struct GainCase
{
	double sampleRate;
	double cutoff;
	double frequency;
	double expectedGain;
	double tolerance;
};

class HighPassLRGainTest : public ::testing::TestWithParam<GainCase>
{
};

// -6.02 dB at the cutoff, unity near half the rate; below 44.1 kHz a cutoff above 0.45 x the
// rate is limited there and keeps its -6.02 dB point at the limit.
TEST_P (HighPassLRGainTest, SteadyGain)
{
	const GainCase c = GetParam ();
	GraphHarness harness (makeHighPass (1, c.cutoff), c.sampleRate);
	ASSERT_EQ (harness.setup (), 0);
	EXPECT_NEAR (steadyGain (harness, 1, c.frequency, c.sampleRate), c.expectedGain, c.tolerance);
}

INSTANTIATE_TEST_SUITE_P (Responses, HighPassLRGainTest,
                          ::testing::Values (GainCase {44100.0, 500.0, 500.0, 0.5, 1e-6},
                                             GainCase {48000.0, 1500.0, 1500.0, 0.5, 1e-6},
                                             GainCase {96000.0, 20.0, 20.0, 0.5, 1e-6},
                                             GainCase {44100.0, 500.0, 20000.0, 1.0, 1e-3},
                                             GainCase {44100.0, 500.0, 50.0, 0.0099, 2e-4},
                                             GainCase {32000.0, 20000.0, 14400.0, 0.5, 1e-6},
                                             GainCase {22050.0, 20000.0, 9922.5, 0.5, 1e-6},
                                             GainCase {8000.0, 5000.0, 3600.0, 0.5, 1e-6}));

TEST (HighPassLRTest, BlocksDC)
{
	GraphHarness harness (makeHighPass (1, 500.0), kRate);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> out = harness.run ({std::vector<double> (22050, 1.0)})[0];
	EXPECT_LT (std::fabs (out.back ()), 1e-9);
}

// One cutoff read per sample for all channels: after a cutoff step every channel still matches
// a one-channel filter given the same input and the same step.
TEST (HighPassLRTest, ChannelsShareOneGlidingCutoff)
{
	const std::vector<double> noise = whiteNoise (2048, 7);
	const std::vector<double> first (noise.begin (), noise.begin () + 700);
	const std::vector<double> rest (noise.begin () + 700, noise.end ());

	auto* single = makeHighPass (1, 500.0);
	GraphHarness reference (single, kRate);
	ASSERT_EQ (reference.setup (), 0);
	reference.run ({first});
	single->setParameter (HighPassLR::kFrequencyCutParamNo, 0, true, false, 1500.0);
	const std::vector<double> expected = reference.run ({rest})[0];

	for (const int32 channels : {2, 3})
	{
		auto* block = makeHighPass (channels, 500.0);
		GraphHarness harness (block, kRate);
		ASSERT_EQ (harness.setup (), 0);
		harness.run (Signal (static_cast<size_t> (channels), first));
		block->setParameter (HighPassLR::kFrequencyCutParamNo, 0, true, false, 1500.0);
		const Signal out = harness.run (Signal (static_cast<size_t> (channels), rest));
		for (int32 c = 0; c < channels; ++c)
			EXPECT_EQ (out[static_cast<size_t> (c)], expected) << "channel " << c << " of " << channels;
	}
}

// b0 falls as the cutoff rises: the first sample after a step sits between the two cutoffs'
// b0, close to the old one, because the cutoff glides.
TEST (HighPassLRTest, ACutoffStepGlides)
{
	auto* block = makeHighPass (1, 500.0);
	GraphHarness harness (block, kRate);
	ASSERT_EQ (harness.setup (), 0);
	harness.run ({std::vector<double> (100, 0.0)});
	block->setParameter (HighPassLR::kFrequencyCutParamNo, 0, true, false, 1500.0);
	const double first = harness.run ({impulse (1)})[0][0];
	const double oldB0 = HighPassLR::coefficientsFor (500.0, kRate).b0;
	const double newB0 = HighPassLR::coefficientsFor (1500.0, kRate).b0;
	EXPECT_LT (first, oldB0);
	EXPECT_GT (first, newB0);
	EXPECT_LT (oldB0 - first, 0.1 * (oldB0 - newB0));
}

} // namespace

namespace {

// A cutoff that is not a number keeps the last valid one.
TEST (HighPassLRTest, NaNCutoffKeepsTheLastValue)
{
	const std::vector<double> in = whiteNoise (500, 21);
	GraphHarness reference (makeHighPass (1, 800.0), kRate);
	ASSERT_EQ (reference.setup (), 0);
	const std::vector<double> expected = reference.run ({in})[0];

	auto* block = makeHighPass (1, 800.0);
	GraphHarness harness (block, kRate);
	ASSERT_EQ (harness.setup (), 0);
	block->setParameter (HighPassLR::kFrequencyCutParamNo, 0, true, false, std::numeric_limits<double>::quiet_NaN ());
	EXPECT_EQ (harness.run ({in})[0], expected);
}

} // namespace
