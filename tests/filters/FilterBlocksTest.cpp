#include "tests/support/Measure.h"

#include "dsp/HighPassLR.h"
#include "dsp/MidSideStatic.h"
#include "dsp/Triode.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace veltrane_test;

namespace {

struct BlockCase
{
	std::string name;
	std::function<DSPFunction* ()> make;
	double sampleRate;
};

DSPFunction* highPassAt (double cutoff)
{
	auto* block = new HighPassLR (1, 2);
	block->setParameter (HighPassLR::kFrequencyCutParamNo, 0, true, false, cutoff);
	return block;
}

DSPFunction* midSideAt (double corner)
{
	auto* block = new MidSideStatic (1);
	block->setParameter (MidSideStatic::kFcutMidParam, 0, true, false, corner);
	block->setParameter (MidSideStatic::kFcutSideParam, 0, true, false, corner);
	return block;
}

DSPFunction* hardTriode ()
{
	auto* block = new Triode (1, 2);
	block->setParameter (Triode::kDistortionParam, 0, true, false, 50.0);
	block->setParameter (Triode::kQParam, 0, true, false, -0.02);
	block->setParameter (Triode::kOutGainParam, 0, true, false, 1.6);
	return block;
}

Signal stereoNoise (size_t frames, unsigned seed)
{
	return {roundedToFloat (whiteNoise (frames, seed)), roundedToFloat (whiteNoise (frames, seed + 1))};
}

class FilterBlocksTest : public ::testing::TestWithParam<BlockCase>
{
};

// The two process forms compute the same thing in float64; they differ only by storing at
// float32 precision.
TEST_P (FilterBlocksTest, Float32AndFloat64FormsAgree)
{
	const BlockCase c = GetParam ();
	const Signal in = stereoNoise (4096, 17);
	Signal out[2];
	for (const int32 sampleSize : {0, 1})
	{
		GraphHarness harness (c.make (), c.sampleRate, sampleSize);
		ASSERT_EQ (harness.setup (), 0);
		out[sampleSize] = harness.run (in);
	}
	for (size_t ch = 0; ch < 2; ++ch)
	{
		const double tolerance = 1e-6 * std::max (1.0, peak (out[1][ch]));
		for (size_t n = 0; n < in[0].size (); ++n)
			ASSERT_NEAR (out[0][ch][n], out[1][ch][n], tolerance) << "channel " << ch << " sample " << n;
	}
}

// Reset clears the signal history: what follows matches a block that has run nothing.
TEST_P (FilterBlocksTest, ResetReturnsToSilence)
{
	const BlockCase c = GetParam ();
	const Signal probe = stereoNoise (1024, 31);
	GraphHarness fresh (c.make (), c.sampleRate);
	ASSERT_EQ (fresh.setup (), 0);
	const Signal expected = fresh.run (probe);

	GraphHarness used (c.make (), c.sampleRate);
	ASSERT_EQ (used.setup (), 0);
	used.run (stereoNoise (3000, 41));
	ASSERT_EQ (used.graph ().reset (), 0);
	EXPECT_EQ (used.run (probe), expected);
}

// Corners above 0.45 x the rate are limited there, so every recursion stays stable.
TEST_P (FilterBlocksTest, StaysBoundedOnNoise)
{
	const BlockCase c = GetParam ();
	GraphHarness harness (c.make (), c.sampleRate);
	ASSERT_EQ (harness.setup (), 0);
	const Signal out = harness.run (stereoNoise (4 * static_cast<size_t> (c.sampleRate), 53));
	for (const auto& channel : out)
	{
		for (const double s : channel)
			ASSERT_TRUE (std::isfinite (s));
		EXPECT_LT (peak (channel), 8.0);
	}
}

// One sample that is not a finite number leaves no trace: from the next sample on, the block
// plays what a block that never saw it plays.
TEST_P (FilterBlocksTest, ForgetsASampleThatIsNotFinite)
{
	const BlockCase c = GetParam ();
	constexpr size_t kBad = 700;
	const Signal after = stereoNoise (1500, 61);
	GraphHarness fresh (c.make (), c.sampleRate);
	ASSERT_EQ (fresh.setup (), 0);
	const Signal expected = fresh.run (after);

	for (const double bad : {std::nan (""), HUGE_VAL, -HUGE_VAL})
	{
		Signal in = stereoNoise (kBad, 67);
		for (size_t ch = 0; ch < 2; ++ch)
		{
			in[ch].push_back (bad);
			in[ch].insert (in[ch].end (), after[ch].begin (), after[ch].end ());
		}
		GraphHarness harness (c.make (), c.sampleRate);
		ASSERT_EQ (harness.setup (), 0);
		const Signal out = harness.run (in);
		for (size_t ch = 0; ch < 2; ++ch)
			EXPECT_EQ (Signal::value_type (out[ch].begin () + kBad + 1, out[ch].end ()), expected[ch])
			    << "channel " << ch << " after " << bad;
	}
}

std::string caseName (const ::testing::TestParamInfo<BlockCase>& info)
{
	return info.param.name;
}

INSTANTIATE_TEST_SUITE_P (
    Blocks, FilterBlocksTest,
    ::testing::Values (BlockCase {"HighPass500At44100", [] { return highPassAt (500.0); }, 44100.0},
                       BlockCase {"HighPass1500At96000", [] { return highPassAt (1500.0); }, 96000.0},
                       BlockCase {"HighPassTopAt32000", [] { return highPassAt (20000.0); }, 32000.0},
                       BlockCase {"HighPassTopAt22050", [] { return highPassAt (20000.0); }, 22050.0},
                       BlockCase {"HighPassTopAt8000", [] { return highPassAt (20000.0); }, 8000.0},
                       BlockCase {"MidSideAt44100", [] { return new MidSideStatic (1); }, 44100.0},
                       BlockCase {"MidSideTopAt1500", [] { return midSideAt (1000.0); }, 1500.0},
                       BlockCase {"TriodeAt44100", [] { return new Triode (1, 2); }, 44100.0},
                       BlockCase {"HardTriodeAt48000", hardTriode, 48000.0},
                       BlockCase {"TriodeAt32000", [] { return new Triode (1, 2); }, 32000.0},
                       BlockCase {"TriodeAt22050", [] { return new Triode (1, 2); }, 22050.0},
                       BlockCase {"TriodeAt16000", [] { return new Triode (1, 2); }, 16000.0},
                       BlockCase {"HardTriodeAt8000", hardTriode, 8000.0}),
    caseName);

} // namespace
