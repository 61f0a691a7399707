#include "dsp/Gain.h"

#include "tests/support/Buffers.h"
#include "tests/support/Glide.h"
#include "tests/support/Measure.h"
#include "tests/support/SampleTypes.h"

#include <cmath>

using namespace veltrane_test;
using KOREMU::DSPLib::Gain;

namespace {

template <typename Sample>
class GainTest : public ::testing::Test
{
};
TYPED_TEST_SUITE (GainTest, SampleTypes, SampleTypeNames);

struct GainLawCase
{
	double setDb;
	double expectedFactor;
};

} // namespace

TYPED_TEST (GainTest, FollowsTheDecibelLawAndClampsToItsRange)
{
	using Sample = TypeParam;
	const GainLawCase cases[] = {
	    {0.0, 1.0},
	    {-96.0, 1.5848931924611134e-5},
	    {12.0, 3.9810717055349722},
	    {-6.0, 0.50118723362727224},
	    {20.0, 3.9810717055349722},   // clamped to 12 dB
	    {-400.0, 1.5848931924611134e-5}, // clamped to -96 dB
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE (c.setDb);
		Gain gain (1, 1);
		gain.setParameter (Gain::kGainParamNo, 0, true, false, c.setDb);
		prepare<Sample> (gain);
		Buffers<Sample> in (1, 64, 0.75), out (1, 64);
		ASSERT_EQ (process (gain, in.get (), out.get (), 64), 0);
		const double expected = static_cast<double> (static_cast<Sample> (0.75 * c.expectedFactor));
		for (Sample s : out.channel (0))
			EXPECT_NEAR (s, expected, storedTolerance<Sample> (expected) * 4);
	}
}

TYPED_TEST (GainTest, ZeroDecibelsPassesEverySampleUnchanged)
{
	using Sample = TypeParam;
	Gain gain (1, 2);
	prepare<Sample> (gain);
	const double values[] = {0.1, -0.7, 1e-30, -1.0, 0.333333333333, 123.456, -0.0, 1.0};
	Buffers<Sample> in (2, 8), out (2, 8);
	for (int32 i = 0; i < 8; ++i)
	{
		in.at (0, i) = static_cast<Sample> (values[i]);
		in.at (1, i) = static_cast<Sample> (-values[i]);
	}
	process (gain, in.get (), out.get (), 8);
	EXPECT_EQ (out.channel (0), in.channel (0));
	EXPECT_EQ (out.channel (1), in.channel (1));
}

TYPED_TEST (GainTest, AStepGlidesThroughTheSmootherOneReadPerSample)
{
	using Sample = TypeParam;
	Gain gain (1, 1);
	prepare<Sample> (gain);
	gain.setParameter (Gain::kGainParamNo, 0, true, false, -6.0);
	const int32 frames = 2048;
	Buffers<Sample> in (1, frames, 1.0), out (1, frames);
	process (gain, in.get (), out.get (), frames);

	const std::vector<double> levels = glideReads (44100.0, 0.0, -6.0, frames);
	for (int32 n : {0, 1, 10, 219, 1000, 2047})
	{
		SCOPED_TRACE (n);
		EXPECT_NEAR (out.at (0, n), dbToFactor (levels[static_cast<size_t> (n)]), storedTolerance<Sample> (1.0) * 8);
	}
	EXPECT_GT (out.at (0, 0), 0.99);
	EXPECT_NEAR (out.at (0, frames - 1), dbToFactor (-6.0), 1e-6);
}

TYPED_TEST (GainTest, EachChannelHasItsOwnGainAndSmoother)
{
	using Sample = TypeParam;
	Gain gain (1, 3);
	gain.setParameter (Gain::kGainParamNo, 2, true, false, 12.0);
	prepare<Sample> (gain);
	gain.setParameter (Gain::kGainParamNo, 1, true, false, -6.0);
	const int32 frames = 300;
	Buffers<Sample> in (3, frames, 0.5), out (3, frames);
	process (gain, in.get (), out.get (), frames);

	const std::vector<double> levels = glideReads (44100.0, 0.0, -6.0, 300);
	for (int32 n : {0, 5, 299})
	{
		SCOPED_TRACE (n);
		const double glided = levels[static_cast<size_t> (n)];
		EXPECT_EQ (out.at (0, n), static_cast<Sample> (0.5));
		EXPECT_NEAR (out.at (1, n), 0.5 * dbToFactor (glided), storedTolerance<Sample> (1.0) * 8);
		EXPECT_NEAR (out.at (2, n), 0.5 * dbToFactor (12.0), storedTolerance<Sample> (2.0) * 8);
	}
}

TYPED_TEST (GainTest, WithoutChannelsItProcessesNothingAndReportsSuccess)
{
	using Sample = TypeParam;
	Gain gain (1, 0);
	prepare<Sample> (gain);
	EXPECT_EQ (process<Sample> (gain, nullptr, nullptr, 64), 0);
}
