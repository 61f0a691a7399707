#include "tests/support/GraphHarness.h"
#include "tests/support/Measure.h"

#include "dsp/Controller.h"
#include "dsp/HShifterConvCont.h"

#include <gtest/gtest.h>

#include <complex>
#include <limits>
#include <string>

using namespace veltrane_test;

namespace {

constexpr double kRate = 48000.0;
constexpr double kPi = 3.14159265358979323846;
constexpr size_t kLatency = HShifterConvCont::kLatency;
// From here on a steady input fills all 511 Hilbert taps, so a constant input's Hilbert path is 0.
constexpr size_t kFilled = 512 + 510;
const double kNaN = std::numeric_limits<double>::quiet_NaN ();
const double kStep48k = 2.0 * kPi / kRate;

using Shifter = HShifterConvCont;

// Writes a constant on its output: a steady modulation source.
class ConstantSource : public Controller
{
public:
	ConstantSource (int32 id, double value) : Controller (id), value (value) {}

	int32 process32 (float** in, float** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (float**, float** o, int32 f) { std::fill (o[0], o[0] + f, float (value)); });
	}
	int32 process64 (double** in, double** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (double**, double** o, int32 f) { std::fill (o[0], o[0] + f, value); });
	}

private:
	double value;
};

// Amplitude of the component at a whole number of hertz, over whole seconds of signal from a frame on.
double amplitudeFrom (const std::vector<double>& s, size_t from, double frequency)
{
	return amplitudeAt (s, frequency, kRate, from, s.size () - from);
}

struct ShifterRig
{
	explicit ShifterRig (int32 channels = 1, int32 sampleSize = 1, int32 hostBlock = 512)
	: shifter (new Shifter (1, channels)), harness (shifter, kRate, sampleSize, hostBlock)
	{
	}

	void setShift (double hz, int32 channel = 0)
	{
		shifter->setParameter (Shifter::kFrequencyShiftParam, channel, true, false, hz);
	}

	Shifter* shifter;
	GraphHarness harness;
};

TEST (HilbertTable, MatchesTheStatedTaps)
{
	const Shifter::HilbertTable& h = Shifter::hilbertTable ();
	const std::vector<std::pair<size_t, double>> taps {{256, 0.6365672118444973},
	                                                   {254, -0.6365672118444973},
	                                                   {258, 0.21204895708307783},
	                                                   {510, 2.7293340991080157e-06},
	                                                   {0, -2.7293340991080157e-06}};
	for (const auto& [k, value] : taps)
		EXPECT_NEAR (h[k], value, 1e-14) << "tap " << k;
}

TEST (HilbertTable, IsAntisymmetricWithZeroEvenTaps)
{
	const Shifter::HilbertTable& h = Shifter::hilbertTable ();
	for (int32 m = 0; m <= Shifter::kHalfLength; ++m)
	{
		const double up = h[static_cast<size_t> (Shifter::kHalfLength + m)];
		EXPECT_EQ (up, -h[static_cast<size_t> (Shifter::kHalfLength - m)]) << "distance " << m;
		if (m % 2 == 0)
			EXPECT_EQ (up, 0.0) << "distance " << m;
		else
			EXPECT_GT (up, 0.0) << "distance " << m;
	}
}

struct DelayCase
{
	double shift;
	int32 sampleSize;
	int32 hostBlock;
};

class ShifterDelayTest : public ::testing::TestWithParam<DelayCase>
{
};

// With no shift (a shift that is not a number counts as none) only the direct path remains.
TEST_P (ShifterDelayTest, WithoutShiftTheInputComesOutDelayedByTheLatency)
{
	const DelayCase c = GetParam ();
	ShifterRig rig (1, c.sampleSize, c.hostBlock);
	rig.setShift (c.shift);
	ASSERT_EQ (rig.harness.setup (), 0);
	EXPECT_EQ (rig.shifter->getLatency (), kLatency);
	const std::vector<double> in = ramp (3000, 0.125);
	const std::vector<double> out = rig.harness.run ({in})[0];
	for (size_t t = 0; t < out.size (); ++t)
		ASSERT_EQ (out[t], t >= kLatency ? in[t - kLatency] : 0.0) << "sample " << t;
}

INSTANTIATE_TEST_SUITE_P (Settings, ShifterDelayTest,
                          ::testing::Values (DelayCase {0.0, 1, 512}, DelayCase {0.0, 0, 512}, DelayCase {0.0, 1, 100},
                                             DelayCase {0.0, 0, 1000}, DelayCase {kNaN, 1, 512},
                                             DelayCase {kNaN, 0, 64}));

struct ShiftCase
{
	double frequency;
	double shift;
	int32 sampleSize;
};

class ShifterSineTest : public ::testing::TestWithParam<ShiftCase>
{
};

// One second after the filter has filled: the shifted line at full level, the mirror line and the
// original line suppressed.
TEST_P (ShifterSineTest, SteadySineMovesByTheShift)
{
	const ShiftCase c = GetParam ();
	ShifterRig rig (1, c.sampleSize);
	rig.setShift (c.shift);
	ASSERT_EQ (rig.harness.setup (), 0);
	constexpr size_t kSettle = 2048;
	const std::vector<double> out = rig.harness.run ({sine (kSettle + 48000, c.frequency, kRate)})[0];

	const double wanted = amplitudeFrom (out, kSettle, std::fabs (c.frequency + c.shift));
	const double image = amplitudeFrom (out, kSettle, std::fabs (c.frequency - c.shift));
	const double original = amplitudeFrom (out, kSettle, c.frequency);
	EXPECT_NEAR (wanted, 1.0, 1e-4);
	EXPECT_LT (20.0 * std::log10 (image), -100.0) << "image at " << c.frequency - c.shift << " Hz";
	EXPECT_LT (20.0 * std::log10 (original), -100.0);
}

INSTANTIATE_TEST_SUITE_P (Lines, ShifterSineTest,
                          ::testing::Values (ShiftCase {1000.0, 250.0, 1}, ShiftCase {1000.0, -250.0, 1},
                                             ShiftCase {1000.0, 250.0, 0}, ShiftCase {5000.0, 1234.0, 1},
                                             ShiftCase {12000.0, -3000.0, 0}, ShiftCase {3000.0, 7.0, 1},
                                             ShiftCase {2000.0, -2600.0, 1}, ShiftCase {20000.0, 3000.0, 1}));

TEST (HShifterConvCont, EachChannelHasItsOwnShift)
{
	ShifterRig rig (2);
	rig.setShift (200.0, 0);
	rig.setShift (-300.0, 1);
	ASSERT_EQ (rig.harness.setup (), 0);
	const std::vector<double> in = sine (2048 + 48000, 2000.0, kRate);
	const Signal out = rig.harness.run ({in, in});
	EXPECT_NEAR (amplitudeFrom (out[0], 2048, 2200.0), 1.0, 1e-4);
	EXPECT_NEAR (amplitudeFrom (out[1], 2048, 1700.0), 1.0, 1e-4);
}

struct StepCase
{
	double from;
	double to;
};

class ShifterStepTest : public ::testing::TestWithParam<StepCase>
{
};

// Once the filter is full a constant input shows the phase itself (its Hilbert path is 0): the
// output is cos(phase), so a jump in the phase at the change would show as a step larger than
// the phase's own increments.
TEST_P (ShifterStepTest, PhaseStaysContinuousAcrossAShiftChange)
{
	const StepCase c = GetParam ();
	ShifterRig rig;
	rig.setShift (c.from);
	ASSERT_EQ (rig.harness.setup (), 0);
	const std::vector<double> ones (2000, 1.0);
	std::vector<double> out = rig.harness.run ({ones})[0];
	rig.setShift (c.to);
	const std::vector<double> more = rig.harness.run ({ones})[0];
	out.insert (out.end (), more.begin (), more.end ());

	const double bound = (std::fabs (c.from) + 1.5 * std::fabs (c.to)) * kStep48k + 1e-9;
	for (size_t t = kFilled + 1; t < out.size (); ++t)
		ASSERT_LE (std::fabs (out[t] - out[t - 1]), bound) << "sample " << t;
}

INSTANTIATE_TEST_SUITE_P (Steps, ShifterStepTest,
                          ::testing::Values (StepCase {100.0, 250.0}, StepCase {250.0, -300.0},
                                             StepCase {-40.0, 35.0}, StepCase {0.0, 300.0},
                                             StepCase {3.0, 10000.0}));

struct CounterCase
{
	const char* name;
	int64 counter;
	double lastShift;
	double shift;
	double angularStep;
	bool rescaled;
};

class RescaleCounterTest : public ::testing::TestWithParam<CounterCase>
{
};

// A rescaled counter gives the old phase within a sample's increment; one that cannot be formed
// leaves the counter as it was.
TEST_P (RescaleCounterTest, KeepsThePhaseOrLeavesTheCounter)
{
	const CounterCase c = GetParam ();
	int64 counter = c.counter;
	ASSERT_EQ (Shifter::rescaleCounter (counter, c.lastShift, c.shift, c.angularStep), c.rescaled);
	if (!c.rescaled)
	{
		EXPECT_EQ (counter, c.counter);
		return;
	}
	const double before = c.lastShift + static_cast<double> (c.counter) * c.lastShift * c.angularStep;
	const double after = c.shift + static_cast<double> (counter) * c.shift * c.angularStep;
	EXPECT_LE (std::fabs (after - before), 1.5 * std::fabs (c.shift * c.angularStep) + 1e-9);
}

INSTANTIATE_TEST_SUITE_P (
    Cases, RescaleCounterTest,
    ::testing::Values (CounterCase {"Upward", 48000, 100.0, 200.0, kStep48k, true},
                       CounterCase {"SignChangeGoesNegative", 10, 250.0, -300.0, kStep48k, true},
                       CounterCase {"FromNoShift", 5000, 0.0, 300.0, kStep48k, true},
                       CounterCase {"NoAngularStep", 5000, 100.0, 200.0, 0.0, false},
                       CounterCase {"InfiniteAngularStep", 5000, 100.0, 200.0,
                                    std::numeric_limits<double>::infinity (), false},
                       CounterCase {"LastShiftNotANumber", 5000, kNaN, 200.0, kStep48k, false},
                       CounterCase {"TinyShiftOverflowsTheCounter", 5000, 10000.0, 1e-300, kStep48k, false},
                       CounterCase {"HugeCounterOverflows", std::numeric_limits<int64>::max () / 2, 10000.0, 0.5,
                                    kStep48k, false}),
    [] (const ::testing::TestParamInfo<CounterCase>& info) { return info.param.name; });

// A shift too small to rescale to keeps the block running on defined values.
TEST (HShifterConvCont, ShiftTooSmallToRescaleToStaysFinite)
{
	ShifterRig rig;
	rig.setShift (10000.0);
	ASSERT_EQ (rig.harness.setup (), 0);
	rig.harness.run ({whiteNoise (2000, 1u)});
	rig.setShift (1e-300);
	const std::vector<double> out = rig.harness.run ({whiteNoise (2000, 2u)})[0];
	for (double s : out)
		ASSERT_TRUE (std::isfinite (s));
}

// With no shift the phase is "FreqMod" alone, so a constant input comes out as cos(FreqMod)
// once the Hilbert filter is full.
TEST (HShifterConvCont, LinkedFreqModAddsAConstantPhase)
{
	constexpr double kMod = 0.7;
	for (int32 sampleSize : {0, 1})
	{
		ShifterRig rig (1, sampleSize, 256);
		rig.setShift (0.0);
		rig.harness.graph ().addController (new ConstantSource (50, kMod));
		ASSERT_NE (rig.shifter->linkParameter (rig.harness.graph ().findController (50), Shifter::kFreqModParam,
		                                       kLinkReplace),
		           nullptr);
		ASSERT_EQ (rig.harness.setup (), 0);
		const std::vector<double> out = rig.harness.run ({std::vector<double> (2000, 1.0)})[0];
		const double expected = std::cos (sampleSize == 0 ? static_cast<double> (static_cast<float> (kMod)) : kMod);
		for (size_t t = kFilled; t < out.size (); ++t)
			ASSERT_NEAR (out[t], expected, sampleSize == 0 ? 1e-7 : 1e-12) << "sample " << t;
	}
}

TEST (HShifterConvCont, UnforcedFreqModSetsAreIgnored)
{
	ShifterRig rig;
	rig.setShift (0.0);
	rig.shifter->setParameter (Shifter::kFreqModParam, 0, true, false, 1.0);
	ASSERT_EQ (rig.harness.setup (), 0);
	const std::vector<double> out = rig.harness.run ({std::vector<double> (1000, 1.0)})[0];
	EXPECT_EQ (out[kLatency], 1.0);
}

// The inner convolver runs on the caller's buffers, so it must share the shifter's settings, and
// the latency counts on its padded length of 512: at an odd host block, in both forms and again
// after a teardown and a new setup, a sine moves by the shift with its image suppressed.
TEST (HShifterConvCont, InnerConvolverFollowsTheShiftersSettingsAndLifeCycle)
{
	constexpr size_t kSettle = 2048;
	for (int32 sampleSize : {0, 1})
	{
		ShifterRig rig (2, sampleSize, 300);
		rig.setShift (250.0, 0);
		rig.setShift (-700.0, 1);
		for (int32 round = 0; round < 2; ++round)
		{
			SCOPED_TRACE ("sample size " + std::to_string (sampleSize) + ", setup " + std::to_string (round + 1));
			ASSERT_EQ (rig.harness.setup (), 0);
			const std::vector<double> in = sine (kSettle + 48000, 1000.0, kRate);
			const Signal out = rig.harness.run ({in, in});
			EXPECT_NEAR (amplitudeFrom (out[0], kSettle, 1250.0), 1.0, 1e-4);
			EXPECT_LT (20.0 * std::log10 (amplitudeFrom (out[0], kSettle, 750.0)), -100.0);
			EXPECT_NEAR (amplitudeFrom (out[1], kSettle, 300.0), 1.0, 1e-4);
			EXPECT_LT (20.0 * std::log10 (amplitudeFrom (out[1], kSettle, 1700.0)), -100.0);
			ASSERT_EQ (rig.harness.graph ().teardown (), 0);
		}
	}
}

// Teardown and setup start the block afresh: nothing of the earlier input comes through.
TEST (HShifterConvCont, SetupAfterTeardownStartsAfresh)
{
	for (int32 sampleSize : {0, 1})
	{
		ShifterRig rig (1, sampleSize);
		rig.setShift (0.0);
		ASSERT_EQ (rig.harness.setup (), 0);
		rig.harness.run ({whiteNoise (1500, 4u)});
		ASSERT_EQ (rig.harness.graph ().teardown (), 0);
		ASSERT_EQ (rig.harness.setup (), 0);
		const std::vector<double> in = ramp (2000);
		const std::vector<double> out = rig.harness.run ({in})[0];
		for (size_t t = 0; t < out.size (); ++t)
			ASSERT_EQ (out[t], t >= kLatency ? in[t - kLatency] : 0.0) << "sample " << t;
	}
}

// A reset clears both paths: after it, silence in gives silence out at once, with nothing of the
// earlier input left in the direct path or the Hilbert path.
TEST (HShifterConvCont, ResetForgetsTheInputBeforeIt)
{
	for (int32 sampleSize : {0, 1})
	{
		ShifterRig rig (1, sampleSize, 128);
		rig.setShift (300.0);
		ASSERT_EQ (rig.harness.setup (), 0);
		const std::vector<double> before = rig.harness.run ({whiteNoise (1300, 5u)})[0];
		ASSERT_GT (peak (before, kLatency), 0.1);
		ASSERT_EQ (rig.harness.graph ().reset (), 0);
		EXPECT_EQ (peak (rig.harness.run ({std::vector<double> (2000, 0.0)})[0]), 0.0);
	}
}

} // namespace
