#include "dsp/LorenzAttractor.h"
#include "dsp/LorenzLFO.h"
#include "dsp/LorenzOSC.h"

#include "tests/support/Buffers.h"
#include "tests/support/SampleTypes.h"

#include <cmath>
#include <limits>
#include <vector>

using namespace veltrane_test;
using KOREMU::DSPLib::kBypassParamNo;
using KOREMU::DSPLib::kControllerKind;
using KOREMU::DSPLib::kGeneratorKind;
using KOREMU::DSPLib::LorenzAttractor;
using KOREMU::DSPLib::LorenzLFO;
using KOREMU::DSPLib::LorenzOSC;

namespace {

const double kK = 0.05107000097632408;
const double kBeta = 2.6659998893737793;
const double kInf = std::numeric_limits<double>::infinity ();
const double kNaN = std::numeric_limits<double>::quiet_NaN ();

template <typename Sample>
class LorenzTest : public ::testing::Test
{
};
TYPED_TEST_SUITE (LorenzTest, SampleTypes, SampleTypeNames);

template <typename Sample>
std::vector<Sample> runLFO (LorenzLFO& lfo, int32 calls, int32 frames)
{
	std::vector<Sample> stream;
	Buffers<Sample> out (1, frames);
	for (int32 c = 0; c < calls; ++c)
	{
		process<Sample> (lfo, nullptr, out.get (), frames);
		stream.insert (stream.end (), out.channel (0).begin (), out.channel (0).end ());
	}
	return stream;
}

} // namespace

// From (1, 1, 1) the first step has dx = 0, dy = 26 and dz = 1 - beta; z shows in the second
// step's y, through dy = x (rho - z) - y.
TEST (LorenzAttractorTest, FirstEulerStepsFromTheStartState)
{
	LorenzAttractor a;
	EXPECT_EQ (LorenzAttractor::kBeta, kBeta);
	EXPECT_EQ (LorenzAttractor::kOutputScale, kK);
	a.setStep (0.001);
	a.advance ();
	EXPECT_EQ (a.getX (), 1.0);
	EXPECT_DOUBLE_EQ (a.getY (), 1.026);

	const double z1 = 1.0 + 0.001 * (1.0 - kBeta);
	EXPECT_NEAR (z1, 0.998334, 1e-9);
	a.advance ();
	EXPECT_DOUBLE_EQ (a.getX (), 1.0 + 0.001 * 10.0 * (1.026 - 1.0));
	EXPECT_DOUBLE_EQ (a.getY (), 1.026 + 0.001 * (1.0 * (28.0 - z1) - 1.026));
}

TEST (LorenzAttractorTest, StepIsLimitedToAStableForwardRange)
{
	struct StepCase
	{
		double requested;
		double used;
	};
	const StepCase cases[] = {
	    {0.001, 0.001}, {0.01, 0.01}, {0.0100001, 0.01}, {0.5, 0.01}, {1e300, 0.01}, {kInf, 0.01},
	    {0.0, 0.0}, {-0.001, 0.0}, {-kInf, 0.0}, {kNaN, 0.0}, {1e-12, 1e-12},
	};
	for (const auto& c : cases)
		EXPECT_EQ (LorenzAttractor::limitStep (c.requested), c.used) << c.requested;
}

// At the largest step the attractor stays bounded for good (about +-21 in x, +-29 in y).
TEST (LorenzAttractorTest, LargestStepStaysOnTheAttractor)
{
	LorenzAttractor a;
	a.setStep (1.0);
	double largest = 0.0;
	for (int32 i = 0; i < 1000000; ++i)
	{
		a.advance ();
		largest = std::max ({largest, std::fabs (a.getX ()), std::fabs (a.getY ())});
	}
	EXPECT_LT (largest, 32.0);
	EXPECT_GT (largest, 15.0); // it moves, it is not stuck at a fixed point
}

TYPED_TEST (LorenzTest, OscillatorWritesScaledXToEveryOutput)
{
	using Sample = TypeParam;
	LorenzOSC osc (1, 3);
	EXPECT_EQ (osc.getKind (), kGeneratorKind);
	EXPECT_EQ (osc.getNumInputs (), 0);
	prepare<Sample> (osc, 250000.0); // default "Freq" 250 gives dt = 0.001
	Buffers<Sample> out (3, 256);
	ASSERT_EQ (process<Sample> (osc, nullptr, out.get (), 256), 0);
	EXPECT_EQ (out.at (0, 0), static_cast<Sample> (kK));

	LorenzAttractor reference;
	reference.setStep (0.001);
	for (int32 i = 0; i < 256; ++i)
	{
		reference.advance ();
		const auto expected = static_cast<Sample> (reference.getX () * kK);
		for (int32 c = 0; c < 3; ++c)
			ASSERT_EQ (out.at (c, i), expected) << "channel " << c << " sample " << i;
	}
}

struct RunawayCase
{
	const char* name;
	double value;
	double sampleRate;
};

// Steps that would leave the attractor (or run it backwards, which always diverges) are
// limited, so the output stays finite and within the attractor's range.
TYPED_TEST (LorenzTest, OscillatorStaysBoundedForAnyFreq)
{
	using Sample = TypeParam;
	const RunawayCase cases[] = {
	    {"huge", 1e6, 44100.0},  {"just unstable", 1200.0, 44100.0}, {"infinite", kInf, 44100.0},
	    {"negative", -250.0, 44100.0}, {"negative infinite", -kInf, 44100.0}, {"NaN", kNaN, 44100.0},
	    {"low sample rate", 250.0, 1000.0},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE (c.name);
		LorenzOSC osc (1, 1);
		osc.setParameter (LorenzOSC::kFreqParamNo, 0, true, false, c.value);
		prepare<Sample> (osc, c.sampleRate);
		Buffers<Sample> out (1, 512);
		double largest = 0.0;
		for (int32 call = 0; call < 200; ++call)
		{
			process<Sample> (osc, nullptr, out.get (), 512);
			for (Sample s : out.channel (0))
			{
				ASSERT_TRUE (std::isfinite (s));
				largest = std::max (largest, std::fabs (static_cast<double> (s)));
			}
		}
		EXPECT_LT (largest, 1.7);
	}
}

TYPED_TEST (LorenzTest, NegativeFreqHoldsTheAttractorStill)
{
	using Sample = TypeParam;
	LorenzOSC osc (1, 1);
	osc.setParameter (LorenzOSC::kFreqParamNo, 0, true, false, -1000.0);
	prepare<Sample> (osc);
	Buffers<Sample> out (1, 64);
	process<Sample> (osc, nullptr, out.get (), 64);
	for (Sample s : out.channel (0))
		EXPECT_EQ (s, static_cast<Sample> (kK));
}

struct FirstSampleCase
{
	double scale;
	double depth;
	double expected;
};

TYPED_TEST (LorenzTest, ModulatorTakesXAtTheDefaultScaleAndYOtherwise)
{
	using Sample = TypeParam;
	const double y1 = 1.0 + 0.001 * 26.0;
	const FirstSampleCase cases[] = {
	    {kK, 1.0, kK},
	    {kK, 2.5, 2.5 * kK},
	    {0.05107, 1.0, 0.05107 * y1}, // differs from K in the ninth digit: y
	    {0.05107, 1.8, 1.8 * 0.05107 * y1},
	    {1.0, 1.0, y1},
	    {-kK, 1.0, -kK * y1},
	    {kK, 20.0, 10.0 * kK}, // "Depth" clamps to 10
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE (testing::Message () << "scale " << c.scale << " depth " << c.depth);
		LorenzLFO lfo (10);
		lfo.setParameter (LorenzLFO::kScaleParamNo, 0, true, false, c.scale);
		lfo.setParameter (LorenzLFO::kDepthParamNo, 0, true, false, c.depth);
		prepare<Sample> (lfo, 2000.0); // default "Rate" 2 gives dt = 0.001
		const auto stream = runLFO<Sample> (lfo, 1, 4);
		EXPECT_NEAR (stream[0], static_cast<Sample> (c.expected), storedTolerance<Sample> (c.expected) * 4);
	}
}

TEST (LorenzLFOTest, IsAControllerWithOneOutputAndItsDefaults)
{
	LorenzLFO lfo (10);
	EXPECT_EQ (lfo.getKind (), kControllerKind);
	EXPECT_EQ (lfo.getNumInputs (), 0);
	EXPECT_EQ (lfo.getNumOutputs (), 1);
	EXPECT_EQ (lfo.getParameter (LorenzLFO::kRateParamNo), 2.0);
	EXPECT_EQ (lfo.getParameter (LorenzLFO::kDepthParamNo), 1.0);
	EXPECT_EQ (lfo.getParameter (LorenzLFO::kScaleParamNo), kK);
}

TYPED_TEST (LorenzTest, RateZeroFreezesTheModulator)
{
	using Sample = TypeParam;
	LorenzLFO lfo (10);
	prepare<Sample> (lfo);
	runLFO<Sample> (lfo, 3, 512);
	lfo.setParameter (LorenzLFO::kRateParamNo, 0, true, false, 0.0);
	const Sample last = runLFO<Sample> (lfo, 3, 512).back (); // the glide
	ASSERT_TRUE (std::isfinite (last));
	ASSERT_NE (last, Sample (0));

	for (Sample s : runLFO<Sample> (lfo, 2, 512))
		ASSERT_EQ (s, last) << "the attractor moved";
}

TYPED_TEST (LorenzTest, BypassedModulatorOutputsZeroAndResumesWhereItStood)
{
	using Sample = TypeParam;
	LorenzLFO bypassed (10), reference (11);
	prepare<Sample> (bypassed);
	prepare<Sample> (reference);
	const auto before = runLFO<Sample> (bypassed, 2, 256);
	EXPECT_EQ (before, runLFO<Sample> (reference, 2, 256));

	bypassed.setParameter (kBypassParamNo, 0, true, false, 1.0);
	for (Sample s : runLFO<Sample> (bypassed, 3, 256))
		ASSERT_EQ (s, 0.0);

	bypassed.setParameter (kBypassParamNo, 0, true, false, 0.0);
	EXPECT_EQ (runLFO<Sample> (bypassed, 2, 256), runLFO<Sample> (reference, 2, 256));
}

// Both start from (1, 1, 1), and nothing in the life cycle moves the attractor back.
TYPED_TEST (LorenzTest, ModulatorsBuiltAtDifferentTimesGiveIdenticalStreams)
{
	using Sample = TypeParam;
	LorenzLFO first (10);
	prepare<Sample> (first);
	const auto firstStream = runLFO<Sample> (first, 8, 512);
	first.reset ();
	first.teardown ();
	prepare<Sample> (first);
	const auto firstContinued = runLFO<Sample> (first, 4, 512);

	LorenzLFO second (10);
	prepare<Sample> (second);
	auto secondStream = runLFO<Sample> (second, 12, 512);
	EXPECT_TRUE (std::equal (firstStream.begin (), firstStream.end (), secondStream.begin ()));
	EXPECT_TRUE (std::equal (firstContinued.begin (), firstContinued.end (), secondStream.begin () + 8 * 512));
}

TYPED_TEST (LorenzTest, ModulatorStaysBoundedAtAnyRateAndSampleRate)
{
	using Sample = TypeParam;
	const RunawayCase cases[] = {
	    {"top rate at 100 Hz", 10.0, 100.0}, {"top rate at 10 Hz", 10.0, 10.0}, {"zero sample rate", 2.0, 0.0},
	    {"NaN rate", kNaN, 44100.0},
	};
	for (const auto& c : cases)
	{
		SCOPED_TRACE (c.name);
		LorenzLFO lfo (10);
		lfo.setParameter (LorenzLFO::kRateParamNo, 0, true, false, c.value);
		prepare<Sample> (lfo, c.sampleRate);
		for (Sample s : runLFO<Sample> (lfo, 100, 512))
		{
			ASSERT_TRUE (std::isfinite (s));
			ASSERT_LT (std::fabs (s), 1.7);
		}
	}
}

namespace {

constexpr int32 kGlideFrames = 1323; // 30 ms at 44100 Hz
constexpr int32 kChangeAt = 1024;

// The modulator's stream with one parameter changed after kChangeAt samples, in calls of `frames`.
template <typename Sample>
std::vector<Sample> streamWithChange (int32 paramNo, double from, double to, int32 frames)
{
	LorenzLFO lfo (10);
	lfo.setParameter (paramNo, 0, true, false, from);
	prepare<Sample> (lfo, 44100.0, frames);
	auto stream = runLFO<Sample> (lfo, kChangeAt / frames, frames);
	lfo.setParameter (paramNo, 0, true, false, to);
	const auto rest = runLFO<Sample> (lfo, 2 * kGlideFrames / frames + 1, frames);
	stream.insert (stream.end (), rest.begin (), rest.end ());
	return stream;
}

struct GlideCase
{
	const char* name;
	int32 paramNo;
	double from;
	double to;
};

const GlideCase kGlideCases[] = {
    {"depth up", LorenzLFO::kDepthParamNo, 1.4, 2.5},
    {"depth down", LorenzLFO::kDepthParamNo, 2.5, 0.0},
    {"rate up", LorenzLFO::kRateParamNo, 1.95, 3.32},
    {"rate down", LorenzLFO::kRateParamNo, 10.0, 1.95},
};

} // namespace

// The modulator drives a phase: a jump of "Rate" or "Depth" becomes a 30 ms ramp, counted in
// samples, so the host's block size does not change it.
TYPED_TEST (LorenzTest, RateAndDepthGlideTheSameAtAnyBlockSize)
{
	using Sample = TypeParam;
	for (const auto& c : kGlideCases)
	{
		SCOPED_TRACE (c.name);
		const auto small = streamWithChange<Sample> (c.paramNo, c.from, c.to, 64);
		const auto large = streamWithChange<Sample> (c.paramNo, c.from, c.to, 512);
		ASSERT_GE (small.size (), static_cast<size_t> (kChangeAt + 2 * kGlideFrames));
		EXPECT_TRUE (std::equal (small.begin (), small.begin () + kChangeAt + 2 * kGlideFrames, large.begin ()));
	}
}

TYPED_TEST (LorenzTest, DepthGlidesFromItsOldValueAndThenHoldsTheNewOneExactly)
{
	using Sample = TypeParam;
	for (const auto& c : kGlideCases)
	{
		if (c.paramNo != LorenzLFO::kDepthParamNo)
			continue;
		SCOPED_TRACE (c.name);
		const auto glided = streamWithChange<Sample> (c.paramNo, c.from, c.to, 512);
		const auto held = streamWithChange<Sample> (c.paramNo, c.from, c.from, 512);
		const auto settled = streamWithChange<Sample> (c.paramNo, c.to, c.to, 512);
		// One step of the ramp at its first sample, on the same attractor path.
		const double firstDepth = c.from + (c.to - c.from) / kGlideFrames;
		EXPECT_NEAR (glided[kChangeAt], held[kChangeAt] * firstDepth / c.from, storedTolerance<Sample> (1.0) * 4);
		EXPECT_NE (glided[kChangeAt + kGlideFrames - 2], settled[kChangeAt + kGlideFrames - 2]);
		EXPECT_TRUE (std::equal (glided.begin () + kChangeAt + kGlideFrames, glided.end (),
		                         settled.begin () + kChangeAt + kGlideFrames));
	}
}
