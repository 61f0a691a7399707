// Two convolvers that share their input side against two that each work alone, bit for bit: at
// every call size and block size, in both sample sizes, across a reset, and with one of the pair
// bypassed for a while.
#include "tests/support/GraphHarness.h"
#include "tests/support/Measure.h"
#include "tests/support/Signals.h"

#include "dsp/Convolver.h"

#include <gtest/gtest.h>

#include <random>
#include <string>
#include <vector>

using namespace veltrane_test;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {

struct PairCase
{
	int32 length;     // response length
	int32 call;       // largest frames per process call
	int32 blockSize;
	int32 sampleSize; // 0: float32, 1: float64
};

std::string caseName (const ::testing::TestParamInfo<PairCase>& info)
{
	const PairCase& c = info.param;
	return "N" + std::to_string (c.length) + "_call" + std::to_string (c.call) + "_block" + std::to_string (c.blockSize) +
	       (c.sampleSize == 0 ? "_f32" : "_f64");
}

// The decorrelation stage's shape: one input, two convolvers side by side in a parallel container.
class Pair
{
public:
	Pair (const PairCase& c, bool shared)
	: root (owned (new DSPAlgo (100, 1, 2, kParallelTopology)))
	{
		first = static_cast<Convolver*> (root->addFunction (new Convolver (1, 1)));
		second = static_cast<Convolver*> (root->addFunction (new Convolver (2, 1)));
		const std::vector<double> a = whiteNoise (static_cast<size_t> (c.length), 3u), b = whiteNoise (static_cast<size_t> (c.length), 4u);
		const double gainA[] = {0.6};
		first->setImpulseResponse (a.data (), c.length, gainA);
		second->setImpulseResponse (b.data (), c.length);
		if (shared)
			first->shareInput (*second);
		root->setSampleRate (48000.0);
		root->setBlockSize (c.blockSize);
		root->setSampleSize (c.sampleSize);
	}
	~Pair () { root->teardown (); }

	int32 setup () { return root->setup (); }

	// Both outputs for frames of input from at.
	void run (const std::vector<double>& input, size_t at, int32 frames, std::vector<std::vector<double>>& result)
	{
		if (root->getSampleSize () == 0)
			runAs<float> (input, at, frames, result);
		else
			runAs<double> (input, at, frames, result);
	}

	IPtr<DSPAlgo> root;
	Convolver* first {nullptr};
	Convolver* second {nullptr};

private:
	template <typename Sample>
	void runAs (const std::vector<double>& input, size_t at, int32 frames, std::vector<std::vector<double>>& result)
	{
		std::vector<Sample> in (static_cast<size_t> (frames)), outA (in.size ()), outB (in.size ());
		for (size_t i = 0; i < in.size (); ++i)
			in[i] = static_cast<Sample> (input[at + i]);
		Sample* inputs[] = {in.data ()};
		Sample* outputs[] = {outA.data (), outB.data ()};
		if constexpr (sizeof (Sample) == sizeof (float))
			root->process32 (inputs, outputs, frames);
		else
			root->process64 (inputs, outputs, frames);
		for (size_t i = 0; i < in.size (); ++i)
		{
			result[0][at + i] = static_cast<double> (outA[i]);
			result[1][at + i] = static_cast<double> (outB[i]);
		}
	}
};

class SharedInputTest : public ::testing::TestWithParam<PairCase>
{
protected:
	// Runs both pairs over the same input in the same calls; before each call, step (call, pair)
	// may change either pair.
	template <typename Step>
	void expectSameOutputs (Step&& step, bool leaderCompared = true)
	{
		const PairCase c = GetParam ();
		Pair alone (c, false), shared (c, true);
		ASSERT_EQ (alone.setup (), 0);
		ASSERT_EQ (shared.setup (), 0);
		const size_t total = static_cast<size_t> (6 * c.length + 1000);
		const std::vector<double> input = whiteNoise (total, 5u);
		std::vector<std::vector<double>> expected (2, std::vector<double> (total)), actual = expected;
		std::mt19937 generator (6u);
		std::uniform_int_distribution<int32> size (1, c.call);
		int32 call = 0;
		for (size_t at = 0; at < total; ++call)
		{
			const int32 frames = std::min (size (generator), static_cast<int32> (total - at));
			step (call, alone);
			step (call, shared);
			alone.run (input, at, frames, expected);
			shared.run (input, at, frames, actual);
			at += static_cast<size_t> (frames);
		}
		for (int32 o = leaderCompared ? 0 : 1; o < 2; ++o)
			for (size_t i = 0; i < total; ++i)
				ASSERT_TRUE (sameBits (actual[static_cast<size_t> (o)][i], expected[static_cast<size_t> (o)][i]))
				    << "output " << o << ", sample " << i;
	}
};

TEST_P (SharedInputTest, OutputsAreThoseOfConvolversAlone)
{
	expectSameOutputs ([] (int32, Pair&) {});
}

TEST_P (SharedInputTest, AResetOfThePairIsTheResetOfBoth)
{
	expectSameOutputs ([] (int32 call, Pair& pair) {
		if (call == 37)
			pair.root->reset ();
	});
}

// A new setup links the pair again, whichever of them comes first.
TEST_P (SharedInputTest, ASecondSetupSharesAgain)
{
	expectSameOutputs ([] (int32 call, Pair& pair) {
		if (call == 30)
		{
			pair.root->teardown ();
			pair.root->setup ();
		}
		if (call == 60)
		{
			pair.second->teardown ();
			pair.first->teardown ();
			pair.second->setup ();
			pair.first->setup ();
		}
	});
}

// The follower relies on its leader's calls for its product: a bypassed leader goes on working,
// so the follower's output is unchanged.
TEST_P (SharedInputTest, ABypassedLeaderLeavesTheFollowerAsItWas)
{
	expectSameOutputs (
	    [] (int32 call, Pair& pair) {
		    if (call == 20 || call == 90)
			    pair.first->setBypassImmediately (call == 20);
	    },
	    false);
}

INSTANTIATE_TEST_SUITE_P (Cases, SharedInputTest,
                          ::testing::Values (PairCase {32, 7, 64, 1}, PairCase {64, 64, 64, 1}, PairCase {511, 100, 64, 1},
                                             PairCase {1024, 512, 512, 0}, PairCase {1024, 64, 64, 1},
                                             PairCase {4096, 700, 256, 1}, PairCase {2048, 1, 1, 0}),
                          caseName);

} // namespace
