#include "dsp/Mixer.h"

#include "tests/support/Buffers.h"
#include "tests/support/Glide.h"
#include "tests/support/SampleTypes.h"

#include <cmath>
#include <vector>

using namespace veltrane_test;
using KOREMU::DSPLib::Mixer;
using Steinberg::uint8;

namespace {

template <typename Sample>
class MixerTest : public ::testing::Test
{
};
TYPED_TEST_SUITE (MixerTest, SampleTypes, SampleTypeNames);

constexpr int32 kLevel = Mixer::kLevelParamNo;
const double kMinus6Db = 0.50118723362727224;

struct LevelSet
{
	int32 input;
	int32 output;
	double value;
};

struct MixCase
{
	const char* name;
	int32 inputs;
	int32 outputs;
	int32 mode;
	std::vector<uint8> matrix; // empty: the fresh all-connected matrix
	std::vector<LevelSet> sets; // applied after the matrix
	std::vector<double> expectedLevels; // index output * inputs + input
	std::vector<double> inputValues; // one constant per input channel
	std::vector<double> expectedOutputs;
};

const MixCase kMixCases[] = {
    {"fresh linear 2 to 1 averages", 2, 1, 0, {}, {}, {0.5, 0.5}, {0.2, 0.6}, {0.4}},
    {"fresh linear 4 to 2", 4, 2, 0, {}, {}, std::vector<double> (8, 0.25), {1, 2, 3, 4}, {2.5, 2.5}},
    {"interleaved rows", 4, 2, 0, {1, 0, 1, 0, 0, 1, 0, 1}, {}, {0.5, 0, 0.5, 0, 0, 0.5, 0, 0.5}, {1, 2, 3, 4}, {2, 3}},
    {"dry and wet pairs set after the matrix", 4, 2, 0, {1, 0, 1, 0, 0, 1, 0, 1},
     {{0, 0, 1.0}, {1, 1, 1.0}, {2, 0, 0.25}, {3, 1, 0.25}}, {1, 0, 0.25, 0, 0, 1, 0, 0.25}, {1, 2, 3, 4}, {1.75, 3}},
    {"entry 2 counts in the sum", 2, 1, 0, {2, 0}, {}, {0.5, 0}, {0.8, 100}, {0.4}},
    {"entry value is no weight", 2, 1, 0, {2, 1}, {}, {1.0 / 3, 1.0 / 3}, {0.3, 0.6}, {0.3}},
    {"silent row", 2, 2, 0, {0, 0, 1, 1}, {}, {0, 0, 0.5, 0.5}, {1, 3}, {0, 2}},
    {"linear levels are unbounded", 1, 1, 0, {}, {{0, 0, -3.0}}, {-3.0}, {0.5}, {-1.5}},
    {"fresh decibel mixer sums", 3, 1, 1, {}, {}, {0, 0, 0}, {0.1, 0.2, 0.3}, {0.6}},
    {"decibel level -6", 2, 1, 1, {}, {{1, 0, -6.0}}, {0, -6.0}, {1, 1}, {1 + kMinus6Db}},
    {"decibel mixer ignores unconnected inputs", 2, 1, 1, {1, 0}, {}, {0, 0}, {1, 5}, {1}},
    {"other mode starts silent", 2, 1, 2, {}, {}, {0, 0}, {1, 1}, {0}},
    {"other mode applies levels linearly", 2, 1, 2, {}, {{0, 0, 0.5}}, {0.5, 0}, {0.8, 1}, {0.4}},
    {"out-of-range pairs are ignored", 2, 2, 0, {},
     {{2, 0, 9}, {-1, 0, 9}, {0, 2, 9}, {0, -1, 9}, {-1, 1, 9}, {3, 0, 9}, {5, 5, 9}},
     {0.5, 0.5, 0.5, 0.5}, {1, 3}, {2, 2}},
};

} // namespace

TYPED_TEST (MixerTest, LevelsAndOutputsFollowMatrixModeAndSets)
{
	using Sample = TypeParam;
	const int32 frames = 16;
	for (const auto& c : kMixCases)
	{
		SCOPED_TRACE (c.name);
		Mixer mixer (1, c.inputs, c.outputs, c.mode);
		if (!c.matrix.empty ())
			mixer.setMatrix (c.matrix.data ());
		for (const auto& s : c.sets)
			mixer.setLevel (kLevel, s.input, s.output, s.value);
		prepare<Sample> (mixer);

		Buffers<Sample> in (c.inputs, frames), out (c.outputs, frames, -9.0);
		for (int32 k = 0; k < c.inputs; ++k)
			in.fill (k, c.inputValues[static_cast<size_t> (k)]);
		ASSERT_EQ (process (mixer, in.get (), out.get (), frames), 0);

		for (int32 o = 0; o < c.outputs; ++o)
		{
			const double expected = c.expectedOutputs[static_cast<size_t> (o)];
			for (Sample s : out.channel (o))
				ASSERT_NEAR (s, expected, storedTolerance<Sample> (expected) * 8) << "output " << o;
			for (int32 i = 0; i < c.inputs; ++i)
				EXPECT_NEAR (mixer.getLevel (kLevel, i, o),
				             c.expectedLevels[static_cast<size_t> (o * c.inputs + i)], 1e-15)
				    << "input " << i << " output " << o;
		}
	}
}

TEST (MixerLevelAccess, PairsOutsideTheMixerReadAsZero)
{
	Mixer mixer (1, 2, 2);
	const LevelSet outside[] = {{2, 0, 0}, {-1, 0, 0}, {0, 2, 0}, {0, -1, 0}, {-1, 1, 0}, {3, 0, 0}, {2, 1, 0}, {0, 100000, 0}};
	for (const auto& pair : outside)
		EXPECT_EQ (mixer.getLevel (kLevel, pair.input, pair.output), 0.0) << pair.input << ", " << pair.output;
	EXPECT_EQ (mixer.getLevel (kLevel, 1, 1), 0.5);
}

TEST (MixerLevelAccess, SetMatrixOverwritesEarlierLevelsAndNullChangesNothing)
{
	Mixer mixer (1, 2, 1);
	mixer.setLevel (kLevel, 0, 0, 0.9);
	mixer.setMatrix (nullptr);
	EXPECT_EQ (mixer.getLevel (kLevel, 0, 0), 0.9);
	EXPECT_TRUE (mixer.isConnected (1, 0));

	const uint8 rows[] = {1, 1};
	mixer.setMatrix (rows);
	EXPECT_EQ (mixer.getLevel (kLevel, 0, 0), 0.5);
}

TYPED_TEST (MixerTest, ALevelChangeGlidesOneReadPerSample)
{
	using Sample = TypeParam;
	Mixer mixer (1, 1, 1);
	prepare<Sample> (mixer);
	mixer.setLevel (kLevel, 0, 0, 0.0);
	Buffers<Sample> in (1, 1024, 1.0), out (1, 1024);
	process (mixer, in.get (), out.get (), 1024);
	const std::vector<double> levels = glideReads (44100.0, 1.0, 0.0, 1024);
	for (int32 n : {0, 1, 219, 1023})
		EXPECT_NEAR (out.at (0, n), levels[static_cast<size_t> (n)], storedTolerance<Sample> (1.0) * 8) << n;
}

// An unconnected pair is never read, so its smoother waits where it stood and glides from
// there once the pair is connected.
TYPED_TEST (MixerTest, AnUnconnectedPairsSmootherStandsStill)
{
	using Sample = TypeParam;
	Mixer mixer (1, 2, 1);
	const uint8 firstOnly[] = {1, 0};
	mixer.setMatrix (firstOnly);
	prepare<Sample> (mixer);
	mixer.setLevel (kLevel, 1, 0, 1.0);
	Buffers<Sample> in (2, 512), out (1, 512);
	in.fill (1, 1.0);
	process (mixer, in.get (), out.get (), 512);
	EXPECT_EQ (out.at (0, 511), 0.0);

	const uint8 both[] = {1, 1};
	mixer.setMatrix (both);
	process (mixer, in.get (), out.get (), 512);
	// From the state of its setup, 0, towards the normalised 0.5.
	EXPECT_NEAR (out.at (0, 0), glideReads (44100.0, 0.0, 0.5, 1)[0], storedTolerance<Sample> (1.0) * 8);
}
