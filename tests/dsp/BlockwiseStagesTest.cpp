// The fixed stages that run a block at a time (ring copies, SmplDelay, Mixer, Gain) against the
// sample-by-sample rules they replace, bit for bit: with levels that hold, glide or follow a link,
// at call sizes that cross every chunk and ring boundary.
#include "TestBlocks.h"

#include "tests/support/Measure.h"
#include "tests/support/Signals.h"

#include "dsp/DSPAlgo.h"
#include "dsp/DecibelGain.h"
#include "dsp/Delay.h"
#include "dsp/FrameConversion.h"
#include "dsp/Gain.h"
#include "dsp/Mixer.h"
#include "dsp/RingDelayLine.h"
#include "dsp/SmplDelay.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <functional>
#include <random>
#include <string>
#include <vector>

using namespace KOREMU::DSPLib;
using namespace KOREMU::DSPLib::Testing;
using veltrane_test::sameBits;
using veltrane_test::whiteNoise;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {

constexpr double kRate = 48000.0;

// Call sizes from 1 to most, in an order that lands calls on every offset.
std::vector<int32> callSizes (int32 total, int32 most, unsigned seed)
{
	std::mt19937 generator (seed);
	std::uniform_int_distribution<int32> size (1, most);
	std::vector<int32> sizes;
	for (int32 done = 0; done < total;)
	{
		const int32 n = std::min (size (generator), total - done);
		sizes.push_back (n);
		done += n;
	}
	return sizes;
}

// --- ring copies

struct RingCase
{
	int32 frames;
	int32 delay;
	bool crossfade;
};

class RingBlocks : public ::testing::TestWithParam<RingCase>
{
};

// The rings carry a second row of taps: its tap reads every stored frame, by its distance from
// the write position, and leaves the tap under test where it is.
constexpr int32 kProbeRow = 1;

void expectSameRing (RingDelayLine& a, RingDelayLine& b, const DelayTap& tapA, const DelayTap& tapB)
{
	ASSERT_EQ (a.frameAt (0, 0), b.frameAt (0, 0)) << "write positions";
	EXPECT_EQ (tapA.readPosition, tapB.readPosition);
	EXPECT_EQ (tapA.secondPosition, tapB.secondPosition);
	EXPECT_EQ (tapA.currentDelay, tapB.currentDelay);
	EXPECT_EQ (tapA.fading, tapB.fading);
	EXPECT_EQ (tapA.hasBeenRead, tapB.hasBeenRead);
	for (int32 d = 0; d < a.getFrames (); ++d)
	{
		const double sampleA = a.readTap (*a.setTap (d, 0, 1, kProbeRow, false));
		const double sampleB = b.readTap (*b.setTap (d, 0, 1, kProbeRow, false));
		ASSERT_TRUE (sameBits (sampleA, sampleB)) << "frame at delay " << d;
	}
}

// Block writes and reads leave the ring and the tap as the same number of single ones do.
TEST_P (RingBlocks, BlockWritesAndReadsAreTheSingleOnes)
{
	const RingCase c = GetParam ();
	RingDelayLine single (1, c.frames, 1, kProbeRow + 1, kRate), block (1, c.frames, 1, kProbeRow + 1, kRate);
	DelayTap* tapSingle = single.setTap (c.delay, 0, 1, 0, c.crossfade);
	DelayTap* tapBlock = block.setTap (c.delay, 0, 1, 0, c.crossfade);
	const std::vector<double> input = whiteNoise (4000, 3u);
	size_t used = 0;
	for (int32 count : callSizes (2000, 3 * c.frames + 5, 4u))
	{
		for (int32 k = 0; k < count; ++k)
			single.write (0, input[used + static_cast<size_t> (k)]);
		block.writeBlock (0, input.data () + used, count);
		used += static_cast<size_t> (count);

		std::vector<double> readSingle (static_cast<size_t> (count)), readBlock (readSingle.size ());
		for (double& x : readSingle)
			x = single.readTap (*tapSingle);
		block.readBlock (*tapBlock, readBlock.data (), count);
		for (size_t k = 0; k < readSingle.size (); ++k)
			ASSERT_TRUE (sameBits (readSingle[k], readBlock[k])) << "read " << k << " of " << count;
		expectSameRing (single, block, *tapSingle, *tapBlock);
	}
}

std::string ringName (const ::testing::TestParamInfo<RingCase>& info)
{
	return "frames" + std::to_string (info.param.frames) + "_delay" + std::to_string (info.param.delay) +
	       (info.param.crossfade ? "_crossfade" : "");
}

INSTANTIATE_TEST_SUITE_P (Cases, RingBlocks,
                          ::testing::Values (RingCase {1, 0, false}, RingCase {2, 1, false}, RingCase {7, 3, false},
                                             RingCase {64, 63, false}, RingCase {513, 512, false},
                                             RingCase {33, 20, true}),
                          ringName);

// --- the blocks

// Sets a block up alone, as a container would.
void setUp (DSPFunction& block, int32 blockSize, int32 sampleSize)
{
	block.setSampleRate (kRate);
	block.setBlockSize (blockSize);
	block.setSampleSize (sampleSize);
	ASSERT_EQ (block.setup (), 0);
}

// Runs channels of input through a block in calls of the given sizes; float32 when sampleSize is 0.
std::vector<std::vector<double>> runCalls (DSPFunction& block, const std::vector<std::vector<double>>& input,
                                           const std::vector<int32>& sizes, int32 sampleSize, bool inPlace = false,
                                           const std::function<void (int32)>& beforeCall = {})
{
	const size_t outputs = static_cast<size_t> (block.getNumOutputs ());
	std::vector<std::vector<double>> result (outputs, std::vector<double> (input[0].size ()));
	size_t at = 0;
	for (size_t call = 0; call < sizes.size (); ++call)
	{
		if (beforeCall)
			beforeCall (static_cast<int32> (call));
		const int32 n = sizes[call];
		auto run = [&] (auto zero) {
			using Sample = decltype (zero);
			Buffers<Sample> in (static_cast<int> (input.size ()), n), out (static_cast<int> (outputs), n);
			for (size_t c = 0; c < input.size (); ++c)
				for (int32 i = 0; i < n; ++i)
					in.at (static_cast<int> (c), i) = static_cast<Sample> (input[c][at + static_cast<size_t> (i)]);
			Sample** target = inPlace ? in.get () : out.get ();
			if constexpr (sizeof (Sample) == sizeof (float))
				block.process32 (in.get (), target, n);
			else
				block.process64 (in.get (), target, n);
			for (size_t c = 0; c < outputs; ++c)
				for (int32 i = 0; i < n; ++i)
					result[c][at + static_cast<size_t> (i)] = static_cast<double> (target[c][i]);
		};
		if (sampleSize == 0)
			run (0.0f);
		else
			run (0.0);
		at += static_cast<size_t> (n);
	}
	return result;
}

void expectSameSignal (const std::vector<double>& actual, const std::vector<double>& expected)
{
	ASSERT_EQ (actual.size (), expected.size ());
	for (size_t i = 0; i < actual.size (); ++i)
		ASSERT_TRUE (sameBits (actual[i], expected[i])) << "sample " << i << ": " << actual[i] << " instead of " << expected[i];
}

struct StageCase
{
	int32 sampleSize;
	int32 blockSize;
};

std::string stageName (const ::testing::TestParamInfo<StageCase>& info)
{
	return std::string (info.param.sampleSize == 0 ? "f32" : "f64") + "_block" + std::to_string (info.param.blockSize);
}

const auto kStageCases = ::testing::Values (StageCase {1, 64}, StageCase {0, 64}, StageCase {1, 4096}, StageCase {0, 1});

// The input as the form carries it: float32 rounds each sample once.
std::vector<double> asCarried (std::vector<double> signal, int32 sampleSize)
{
	if (sampleSize == 0)
		for (double& x : signal)
			x = static_cast<double> (static_cast<float> (x));
	return signal;
}

class SmplDelayBlocks : public ::testing::TestWithParam<StageCase>
{
};

// Every delay, shorter and longer than the calls, in place or not: the input delayed by exactly
// the delay, zeros before it.
TEST_P (SmplDelayBlocks, OutputIsTheInputDelayed)
{
	const StageCase c = GetParam ();
	for (int32 delay : {0, 1, 3, 64, 700})
	{
		for (bool inPlace : {false, true})
		{
			IPtr<SmplDelay> block = owned (new SmplDelay (1, 2, delay));
			setUp (*block, c.blockSize, c.sampleSize);
			const std::vector<std::vector<double>> input {asCarried (whiteNoise (3000, 5u), c.sampleSize),
			                                              asCarried (whiteNoise (3000, 6u), c.sampleSize)};
			const auto output = runCalls (*block, input, callSizes (3000, 2 * c.blockSize + 3, 7u), c.sampleSize, inPlace);
			for (size_t ch = 0; ch < input.size (); ++ch)
			{
				std::vector<double> expected (input[ch].size (), 0.0);
				for (size_t i = static_cast<size_t> (delay); i < expected.size (); ++i)
					expected[i] = input[ch][i - static_cast<size_t> (delay)];
				SCOPED_TRACE ("delay " + std::to_string (delay) + (inPlace ? " in place" : ""));
				expectSameSignal (output[ch], expected);
			}
			block->teardown ();
		}
	}
}

INSTANTIATE_TEST_SUITE_P (Forms, SmplDelayBlocks, kStageCases, stageName);

class DelayBlocks : public ::testing::TestWithParam<StageCase>
{
};

// A settled delay runs as block copies; a change fades sample by sample. Both against the ring
// driven one sample at a time, as the delay did: a tap placed at every sample, then a write and
// a read.
TEST_P (DelayBlocks, OutputIsTheSampleBySampleDelay)
{
	const StageCase c = GetParam ();
	constexpr int32 maxMs = 20;
	IPtr<Delay> delay = owned (new Delay (1, 1, maxMs));
	const auto delayAt = [] (int32 call) { return call < 10 ? 5.0 : call < 60 ? 0.5 : call < 200 ? 12.25 : 0.0; };
	delay->setParameter (Delay::kDelayMsParam, 0, true, false, delayAt (0));
	delay->setParameter (Delay::kGainParam, 0, true, false, -0.75);
	setUp (*delay, c.blockSize, c.sampleSize);
	const std::vector<int32> sizes = callSizes (60000, 2 * c.blockSize + 3, 17u);
	const std::vector<std::vector<double>> input {asCarried (whiteNoise (60000, 18u), c.sampleSize)};
	const auto output = runCalls (*delay, input, sizes, c.sampleSize, false, [&] (int32 call) {
		delay->setParameter (Delay::kDelayMsParam, 0, true, false, delayAt (call));
	});

	const double samplesPerMs = 0.001 * kRate;
	RingDelayLine ring (1, static_cast<int32> (maxMs * samplesPerMs) + 1, c.sampleSize, kRate);
	std::vector<double> expected (input[0].size ());
	size_t at = 0;
	int32 frames = 0;
	for (size_t call = 0; call < sizes.size (); ++call)
	{
		const double ms = delayAt (static_cast<int32> (call));
		for (int32 i = 0; i < sizes[call]; ++i, ++at)
		{
			frames = framesFromValue (ms * samplesPerMs, frames, 0, ring.getFrames () - 1);
			DelayTap* tap = ring.setTap (frames, 0, 1, 0, true);
			ring.write (0, input[0][at]);
			const double y = ring.readTap (*tap) * -0.75;
			expected[at] = c.sampleSize == 0 ? static_cast<double> (static_cast<float> (y)) : y;
		}
	}
	expectSameSignal (output[0], expected);
}

INSTANTIATE_TEST_SUITE_P (Forms, DelayBlocks, kStageCases, stageName);

// A smoothed level as the blocks' parameters hold it, read once per sample.
IPtr<DSPParameter> referenceLevel (int32 flags, double value, double minimum, double maximum)
{
	IPtr<DSPParameter> level = owned (new DSPParameter (0, u"Level", flags, value));
	level->setRange (minimum, maximum);
	level->setSampleRate (kRate);
	level->prepareSmoothing ();
	return level;
}

class MixerBlocks : public ::testing::TestWithParam<StageCase>
{
};

// Three inputs, two outputs, one pair unconnected; levels are set between calls, so some glide
// while others hold. Each output sample is the sum over the inputs in order, starting at 0.
TEST_P (MixerBlocks, SumsAreThePerSampleSums)
{
	const StageCase c = GetParam ();
	constexpr int32 inputs = 3;
	constexpr int32 outputs = 2;
	const Steinberg::uint8 matrix[] = {1, 1, 0, 1, 1, 1};
	for (int32 mode : {Mixer::kLinearLevels, Mixer::kDecibelLevels})
	{
		IPtr<Mixer> mixer = owned (new Mixer (1, inputs, outputs, mode));
		mixer->setMatrix (matrix);
		setUp (*mixer, c.blockSize, c.sampleSize);
		// Changes on some calls only: a glide runs over several calls, then settles.
		const auto changed = [mode] (int32 call) { return mode == Mixer::kLinearLevels ? 0.25 + 0.1 * (call % 5) : -3.0 * (call % 4); };
		const auto changesAt = [] (int32 call) { return call % 7 == 1; };
		const auto pairAt = [] (int32 call) { return (5 * call + 5) % (inputs * outputs); };
		const auto changeLevels = [&] (int32 call) {
			const int32 pair = pairAt (call);
			if (changesAt (call))
				mixer->setLevel (Mixer::kLevelParamNo, pair % inputs, pair / inputs, changed (call));
		};
		std::vector<std::vector<double>> input;
		for (unsigned k = 0; k < inputs; ++k)
			input.push_back (asCarried (whiteNoise (20000, 10u + k), c.sampleSize));
		const auto output = runCalls (*mixer, input, callSizes (20000, 2 * c.blockSize + 3, 11u), c.sampleSize, false,
		                              changeLevels);


		// The reference replays the same changes at the same samples, on levels of its own.
		const std::vector<int32> sizes = callSizes (20000, 2 * c.blockSize + 3, 11u);
		const int32 flags = DSPParameter::kPerPair | DSPParameter::kGrouped | DSPParameter::kSmoothed;
		std::vector<IPtr<DSPParameter>> levels;
		for (int32 o = 0; o < outputs; ++o)
			for (int32 k = 0; k < inputs; ++k)
			{
				const int32 connections = o == 0 ? 2 : 3;
				const double start = mode == Mixer::kLinearLevels && matrix[o * inputs + k] ? 1.0 / connections : 0.0;
				levels.push_back (referenceLevel (flags, start, -DBL_MAX, DBL_MAX));
			}
		std::vector<std::vector<double>> expected (outputs, std::vector<double> (input[0].size ()));
		size_t at = 0;
		for (size_t call = 0; call < sizes.size (); ++call)
		{
			const auto n = static_cast<int32> (call);
			if (changesAt (n))
				levels[static_cast<size_t> (pairAt (n))]->setValue (true, false, changed (n));
			for (int32 i = 0; i < sizes[call]; ++i, ++at)
				for (int32 o = 0; o < outputs; ++o)
				{
					double sum = 0.0;
					for (int32 k = 0; k < inputs; ++k)
					{
						if (!matrix[o * inputs + k])
							continue;
						const double level = levels[static_cast<size_t> (o * inputs + k)]->getValue ();
						sum += (mode == Mixer::kDecibelLevels ? decibelsToGain (level) : level) * input[static_cast<size_t> (k)][at];
					}
					expected[static_cast<size_t> (o)][at] =
					    c.sampleSize == 0 ? static_cast<double> (static_cast<float> (sum)) : sum;
				}
		}
		for (int32 o = 0; o < outputs; ++o)
		{
			SCOPED_TRACE ("mode " + std::to_string (mode) + ", output " + std::to_string (o));
			expectSameSignal (output[static_cast<size_t> (o)], expected[static_cast<size_t> (o)]);
		}
	}
}

INSTANTIATE_TEST_SUITE_P (Forms, MixerBlocks, kStageCases, stageName);

class GainBlocks : public ::testing::TestWithParam<StageCase>
{
};

// A level that holds, then glides to a new one and settles again, on one channel of two.
TEST_P (GainBlocks, SteadyAndGlidingLevelsArePerSampleFactors)
{
	const StageCase c = GetParam ();
	IPtr<Gain> gain = owned (new Gain (1, 2));
	gain->setParameter (Gain::kGainParamNo, 0, true, false, -6.0);
	const int32 flags = DSPParameter::kLinkable | DSPParameter::kPerInput | DSPParameter::kGrouped | DSPParameter::kSmoothed;
	IPtr<DSPParameter> first = referenceLevel (flags, -6.0, Gain::kMinGainDb, Gain::kMaxGainDb);
	IPtr<DSPParameter> second = referenceLevel (flags, 0.0, Gain::kMinGainDb, Gain::kMaxGainDb);
	setUp (*gain, c.blockSize, c.sampleSize);
	const std::vector<int32> sizes = callSizes (12000, 2 * c.blockSize + 3, 12u);
	const auto change = [] (int32 call) { return call == 3 ? 4.5 : call == 40 ? -20.0 : 0.0; };
	const std::vector<std::vector<double>> input {asCarried (whiteNoise (12000, 13u), c.sampleSize),
	                                              asCarried (whiteNoise (12000, 14u), c.sampleSize)};
	const auto output = runCalls (*gain, input, sizes, c.sampleSize, false, [&] (int32 call) {
		if (change (call) != 0.0)
			gain->setParameter (Gain::kGainParamNo, 1, true, false, change (call));
	});
	std::vector<std::vector<double>> expected (2, std::vector<double> (input[0].size ()));
	size_t at = 0;
	for (size_t call = 0; call < sizes.size (); ++call)
	{
		if (change (static_cast<int32> (call)) != 0.0)
			second->setValue (true, false, change (static_cast<int32> (call)));
		for (int32 i = 0; i < sizes[call]; ++i, ++at)
		{
			DSPParameter* levels[] = {first.get (), second.get ()};
			for (size_t ch = 0; ch < 2; ++ch)
			{
				const double y = decibelsToGain (levels[ch]->getValue ()) * input[ch][at];
				expected[ch][at] = c.sampleSize == 0 ? static_cast<double> (static_cast<float> (y)) : y;
			}
		}
	}
	for (size_t ch = 0; ch < 2; ++ch)
	{
		SCOPED_TRACE (ch);
		expectSameSignal (output[ch], expected[ch]);
	}
}

// A linked level follows its source at every sample: the source's output, as a level.
TEST_P (GainBlocks, LinkedLevelFollowsItsSourceAtEverySample)
{
	const StageCase c = GetParam ();
	IPtr<DSPAlgo> root = owned (new DSPAlgo (100, 1, 1));
	root->addController (new RampController (10, -30.0, 0.003));
	auto* gain = static_cast<Gain*> (root->addFunction (new Gain (1, 1)));
	ASSERT_NE (gain->linkParameter (root->findController (10), Gain::kGainParamNo, kLinkReplace), nullptr);
	setUp (*root, c.blockSize, c.sampleSize);
	const std::vector<std::vector<double>> input {asCarried (whiteNoise (6000, 15u), c.sampleSize)};
	const std::vector<int32> sizes = callSizes (6000, 2 * c.blockSize + 3, 16u);
	const auto output = runCalls (*root, input, sizes, c.sampleSize);
	std::vector<double> expected (input[0].size ());
	size_t at = 0;
	for (int32 n : sizes)
		for (int32 i = 0; i < n; ++i, ++at)
		{
			// The ramp restarts at every call of its block, as RampController does.
			double level = -30.0 + (i % std::max (c.blockSize, 1)) * 0.003;
			if (c.sampleSize == 0)
				level = static_cast<double> (static_cast<float> (level));
			const double y = decibelsToGain (level) * input[0][at];
			expected[at] = c.sampleSize == 0 ? static_cast<double> (static_cast<float> (y)) : y;
		}
	expectSameSignal (output[0], expected);
	root->teardown ();
}

INSTANTIATE_TEST_SUITE_P (Forms, GainBlocks, kStageCases, stageName);

} // namespace
