#include "tests/support/GraphHarness.h"
#include "tests/support/Measure.h"

#include "dsp/Convolver.h"

#include <gtest/gtest.h>

using namespace veltrane_test;

namespace {

// Linear convolution of the signal with the response, truncated to the signal's length.
std::vector<double> convolve (const std::vector<double>& signal, const std::vector<double>& response)
{
	std::vector<double> y (signal.size (), 0.0);
	for (size_t t = 0; t < signal.size (); ++t)
		for (size_t k = 0; k < response.size () && k <= t; ++k)
			y[t] += response[k] * signal[t - k];
	return y;
}

// out[t] = y[t - delay], zero before.
void expectDelayedBy (const std::vector<double>& out, const std::vector<double>& y, size_t delay, double tolerance)
{
	ASSERT_EQ (out.size (), y.size ());
	for (size_t t = 0; t < out.size (); ++t)
	{
		const double expected = t >= delay ? y[t - delay] : 0.0;
		ASSERT_NEAR (out[t], expected, tolerance) << "sample " << t;
	}
}

std::vector<double> unitResponse (int32 length)
{
	std::vector<double> r (static_cast<size_t> (length), 0.0);
	r[0] = 1.0;
	return r;
}

// A one-channel convolver with the response set, in a graph.
struct ConvolverRig
{
	ConvolverRig (const std::vector<double>& response, int32 sampleSize = 1, int32 hostBlock = 512)
	: convolver (new Convolver (1, 1)), harness (convolver, 48000.0, sampleSize, hostBlock)
	{
		convolver->setImpulseResponse (response.data (), static_cast<int32> (response.size ()));
	}

	Convolver* convolver;
	GraphHarness harness;
};

struct BlockCase
{
	int32 length;
	int32 padded;
	int32 hostBlock;
	int32 sampleSize;
};

class ConvolverBlockTest : public ::testing::TestWithParam<BlockCase>
{
};

// Host blocks that do not divide N show that block boundaries follow N, not the host.
TEST_P (ConvolverBlockTest, OutputIsTheLinearConvolutionDelayedByThePaddedLength)
{
	const BlockCase c = GetParam ();
	const std::vector<double> response = whiteNoise (static_cast<size_t> (c.length), 3u, 0.5);
	ConvolverRig rig (response, c.sampleSize, c.hostBlock);
	ASSERT_EQ (rig.harness.setup (), 0);
	EXPECT_EQ (rig.convolver->getLatency (), static_cast<uint32> (c.padded));

	const std::vector<double> in = whiteNoise (3 * static_cast<size_t> (c.padded) + 77, 8u);
	const std::vector<double> out = rig.harness.run ({in})[0];
	const double tolerance = c.sampleSize == 0 ? 2e-5 * std::sqrt (static_cast<double> (c.length)) : 1e-11;
	expectDelayedBy (out, convolve (in, response), static_cast<size_t> (c.padded), tolerance);
}

INSTANTIATE_TEST_SUITE_P (Sizes, ConvolverBlockTest,
                          ::testing::Values (BlockCase {1, 1, 64, 1},        // N = 1: one sample late
                                             BlockCase {3, 4, 5, 1},
                                             BlockCase {31, 32, 7, 1},       // the first Karatsuba level
                                             BlockCase {511, 512, 64, 1},
                                             BlockCase {511, 512, 1000, 0},  // host block above N
                                             BlockCase {1000, 1024, 100, 1},
                                             BlockCase {1024, 1024, 1024, 0},
                                             BlockCase {2048, 2048, 333, 1},
                                             BlockCase {4096, 4096, 512, 1}));

TEST (Convolver, UnitResponseDelaysByExactlyThePaddedLength)
{
	const std::pair<int32, size_t> lengths[] = {{1, 1}, {2, 2}, {300, 512}, {512, 512}, {1024, 1024}, {4096, 4096}};
	for (const auto& [length, n] : lengths)
	{
		for (int32 sampleSize : {0, 1})
		{
			ConvolverRig rig (unitResponse (length), sampleSize);
			ASSERT_EQ (rig.harness.setup (), 0);
			EXPECT_EQ (rig.convolver->getLatency (), n);
			const std::vector<double> in = ramp (3 * n + 50, 0.25);
			const std::vector<double> out = rig.harness.run ({in})[0];
			expectDelayedBy (out, in, n, 0.0);
		}
	}
}

struct GainCase
{
	const char* name;
	bool flat;
	std::vector<double> gains;
};

class ConvolverGainTest : public ::testing::TestWithParam<GainCase>
{
};

// Each channel's impulse reply is its own response times its own gain (1 without gains).
TEST_P (ConvolverGainTest, GainsScaleEachChannelsResponse)
{
	const GainCase c = GetParam ();
	const std::vector<double> left {0.5, -0.25, 0.125}, right {-1.0, 2.0, 0.75};
	auto* convolver = new Convolver (1, 2);
	GraphHarness harness (convolver, 48000.0, 1, 16);
	const double* gains = c.gains.empty () ? nullptr : c.gains.data ();
	if (c.flat)
	{
		std::vector<double> both (left);
		both.insert (both.end (), right.begin (), right.end ());
		convolver->setImpulseResponse (both.data (), 3, gains);
	}
	else
	{
		const double* channels[] = {left.data (), right.data ()};
		convolver->setImpulseResponse (channels, 3, gains);
	}
	ASSERT_EQ (harness.setup (), 0);

	std::vector<double> impulse (32, 0.0);
	impulse[0] = 1.0;
	const Signal out = harness.run ({impulse, impulse});
	const std::vector<double>* responses[] = {&left, &right};
	for (size_t ch = 0; ch < 2; ++ch)
	{
		const double gain = c.gains.empty () ? 1.0 : c.gains[ch];
		std::vector<double> expected (3, 0.0);
		for (size_t k = 0; k < 3; ++k)
			expected[k] = gain * (*responses[ch])[k];
		expectDelayedBy (out[ch], convolve (impulse, expected), 4, 0.0);
	}
}

INSTANTIATE_TEST_SUITE_P (Forms, ConvolverGainTest,
                          ::testing::Values (GainCase {"FlatWithGains", true, {0.5, -2.0}},
                                             GainCase {"FlatWithoutGains", true, {}},
                                             GainCase {"PerChannelWithGains", false, {3.0, 0.0}},
                                             GainCase {"PerChannelWithoutGains", false, {}}),
                          [] (const ::testing::TestParamInfo<GainCase>& info) { return info.param.name; });

TEST (Convolver, WithoutAResponseOutputsZerosAndReportsNoLatency)
{
	for (int32 sampleSize : {0, 1})
	{
		auto* convolver = new Convolver (1, 2);
		GraphHarness harness (convolver, 48000.0, sampleSize, 64);
		EXPECT_EQ (convolver->getLatency (), 0u);
		ASSERT_EQ (harness.setup (), 0);
		const Signal out = harness.run ({whiteNoise (300, 1u), whiteNoise (300, 2u)});
		EXPECT_EQ (peak (out[0]), 0.0);
		EXPECT_EQ (peak (out[1]), 0.0);
		EXPECT_EQ (harness.graph ().getLatency (), 0u);
	}
}

TEST (Convolver, MissingOrEmptyResponsesChangeNothing)
{
	Convolver convolver (1, 1);
	const std::vector<double> response {1.0, 2.0, 3.0};
	convolver.setImpulseResponse (response.data (), 3);
	convolver.setImpulseResponse (static_cast<const double*> (nullptr), 3);
	convolver.setImpulseResponse (static_cast<const double* const*> (nullptr), 3);
	convolver.setImpulseResponse (response.data (), 0);
	convolver.setImpulseResponse (response.data (), -5);
	EXPECT_EQ (convolver.getLatency (), 4u);
}

// A later response before setup replaces the first, whatever its length: a longer one needs
// larger arrays, and a shorter one leaves none of the old terms behind.
TEST (Convolver, LaterResponseBeforeSetupReplacesTheFirst)
{
	const std::vector<double> shortResponse = whiteNoise (3, 4u), longResponse = whiteNoise (100, 5u);
	const std::vector<std::pair<const std::vector<double>*, const std::vector<double>*>> orders {
	    {&shortResponse, &longResponse}, {&longResponse, &shortResponse}};
	for (const auto& [first, second] : orders)
	{
		ConvolverRig rig (*first);
		rig.convolver->setImpulseResponse (second->data (), static_cast<int32> (second->size ()));
		ASSERT_EQ (rig.harness.setup (), 0);
		const size_t n = static_cast<size_t> (rig.convolver->getLatency ());
		EXPECT_EQ (n, second == &longResponse ? 128u : 4u);
		const std::vector<double> in = whiteNoise (600, 6u);
		expectDelayedBy (rig.harness.run ({in})[0], convolve (in, *second), n, 1e-12);
	}
}

// Setup sizes every buffer from N, so a response set while set up must wait for the next setup.
TEST (Convolver, ResponseSetWhileSetUpWaitsForTheNextSetup)
{
	const std::vector<double> first = whiteNoise (8, 1u), second = whiteNoise (200, 2u);
	ConvolverRig rig (first);
	ASSERT_EQ (rig.harness.setup (), 0);
	rig.convolver->setImpulseResponse (second.data (), static_cast<int32> (second.size ()));
	EXPECT_EQ (rig.convolver->getLatency (), 8u);
	const std::vector<double> in = whiteNoise (500, 3u);
	expectDelayedBy (rig.harness.run ({in})[0], convolve (in, first), 8, 1e-12);

	rig.harness.graph ().teardown ();
	rig.convolver->setImpulseResponse (second.data (), static_cast<int32> (second.size ()));
	ASSERT_EQ (rig.harness.setup (), 0);
	EXPECT_EQ (rig.convolver->getLatency (), 256u);
	expectDelayedBy (rig.harness.run ({in})[0], convolve (in, second), 256, 1e-12);
}

// After a reset the output is the convolution of the input received since, which counts as zero
// before it; the reset falls inside a host block and inside a convolution block.
TEST (Convolver, ResetForgetsTheInputBeforeIt)
{
	const std::vector<double> response = whiteNoise (64, 9u);
	for (int32 sampleSize : {0, 1})
	{
		ConvolverRig rig (response, sampleSize, 48);
		ASSERT_EQ (rig.harness.setup (), 0);
		const std::vector<double> before = whiteNoise (1000, 10u), after = whiteNoise (700, 11u);
		rig.harness.run ({before});
		ASSERT_EQ (rig.harness.graph ().reset (), 0);
		const std::vector<double> out = rig.harness.run ({after})[0];
		expectDelayedBy (out, convolve (after, response), 64, sampleSize == 0 ? 1e-5 : 1e-12);
	}
}

} // namespace
