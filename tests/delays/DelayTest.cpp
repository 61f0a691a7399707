#include "tests/support/GraphHarness.h"
#include "tests/support/Signals.h"

#include "dsp/Delay.h"
#include "dsp/SmplDelay.h"

#include <gtest/gtest.h>

#include <limits>

using namespace veltrane_test;

namespace {

constexpr double kRate = 44100.0;
const double kNaN = std::numeric_limits<double>::quiet_NaN ();
const double kInf = std::numeric_limits<double>::infinity ();

// out[n] = gain * in[n - delay], zero before the delayed input arrives.
void expectDelayed (const std::vector<double>& in, const std::vector<double>& out, int32 delay, double gain,
                    double tolerance = 0.0)
{
	ASSERT_EQ (in.size (), out.size ());
	for (size_t n = 0; n < out.size (); ++n)
	{
		const double expected = n >= static_cast<size_t> (delay) ? gain * in[n - static_cast<size_t> (delay)] : 0.0;
		ASSERT_NEAR (out[n], expected, tolerance) << "sample " << n;
	}
}

struct DelayCase
{
	int32 maxMs;
	double delayMs;
	double gain;
	int32 expectedDelay;
	int32 sampleSize;
};

class DelayNumbersTest : public ::testing::TestWithParam<DelayCase>
{
};

// The requested delay holds from the very first sample: a new tap does not fade in from 0. The
// longest delay shows that the ring holds maxMs at the rate of setup.
TEST_P (DelayNumbersTest, DelaysByWholeSamplesFromTheFirstSample)
{
	const DelayCase c = GetParam ();
	auto* delay = new Delay (1, 1, c.maxMs);
	GraphHarness harness (delay, kRate, c.sampleSize);
	if (!std::isnan (c.delayMs))
		delay->setParameter (Delay::kDelayMsParam, 0, true, false, c.delayMs);
	delay->setParameter (Delay::kGainParam, 0, true, false, c.gain);
	ASSERT_EQ (harness.setup (), 0);

	const std::vector<double> in = ramp (3 * 4411 + 100, 0.25);
	expectDelayed (in, harness.run ({in})[0], c.expectedDelay, c.gain);
}

INSTANTIATE_TEST_SUITE_P (
    Settings, DelayNumbersTest,
    ::testing::Values (DelayCase {100, 0.0, 1.0, 0, 1},       // no delay: input x gain
                       DelayCase {100, 0.0, 0.5, 0, 0},       // 32-bit form
                       DelayCase {100, 100.0, -1.0, 4410, 1}, // longest delay, inverted
                       DelayCase {100, 100.0, 1.0, 4410, 0},
                       DelayCase {100, kNaN, 1.0, 4410, 1},   // the default of 100 ms
                       DelayCase {100, 250.0, 1.0, 4410, 1},  // clamped to the maximum
                       DelayCase {100, 10.03, 1.0, 442, 1},   // 442.32 samples truncate
                       DelayCase {50, kNaN, 1.0, 2205, 1},    // default clamped to maxMs
                       DelayCase {0, 30.0, 1.0, 0, 1},        // a ring for delay 0 only
                       DelayCase {-20, kNaN, 0.75, 0, 1}));   // negative maximum: empty delay

TEST (Delay, DefaultAndRangeAreClampedIntoASmallerMaximum)
{
	auto* delay = new Delay (1, 2, 40);
	for (int32 c = 0; c < 2; ++c)
	{
		ASSERT_NE (delay->findParameter (Delay::kDelayMsParam, c), nullptr);
		EXPECT_EQ (delay->findParameter (Delay::kDelayMsParam, c)->getPlainValue (), 40.0);
	}
	EXPECT_EQ (delay->getLatency (), 0u);

	GraphHarness harness (delay);
	delay->setParameter (Delay::kDelayMsParam, 1, true, false, 100.0);
	EXPECT_EQ (delay->findParameter (Delay::kDelayMsParam, 1)->getPlainValue (), 40.0) << "the range ends at 40 ms";
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> left = ramp (3000), right = ramp (3000, -1.0);
	const Signal out = harness.run ({left, right});
	expectDelayed (left, out[0], 1764, 1.0);
	expectDelayed (right, out[1], 1764, 1.0);
}

TEST (Delay, EachChannelHasItsOwnDelayAndGain)
{
	auto* delay = new Delay (1, 2, 100);
	GraphHarness harness (delay);
	delay->setParameter (Delay::kDelayMsParam, 0, true, false, 10.0);
	delay->setParameter (Delay::kGainParam, 0, true, false, 1.0);
	delay->setParameter (Delay::kDelayMsParam, 1, true, false, 20.0);
	delay->setParameter (Delay::kGainParam, 1, true, false, -0.5);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> left = ramp (3000), right = ramp (3000, -2.0);
	const Signal out = harness.run ({left, right});
	expectDelayed (left, out[0], 441, 1.0);
	expectDelayed (right, out[1], 882, -0.5);
}

// A ramp input shows the mix: out = (1 - g) * in[n - old] + g * in[n - new].
TEST (Delay, ChangeCrossfadesOverPointFourSecondsWithGainsSummingToOne)
{
	constexpr int32 kOld = 441;
	constexpr int32 kNew = 882;
	constexpr int32 kSettle = 4096;
	auto* delay = new Delay (1, 1, 100);
	GraphHarness harness (delay);
	delay->setParameter (Delay::kDelayMsParam, 0, true, false, 10.0);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> in = ramp (kSettle + 30000);
	const std::vector<double> head (in.begin (), in.begin () + kSettle);
	const std::vector<double> tail (in.begin () + kSettle, in.end ());
	expectDelayed (head, harness.run ({head})[0], kOld, 1.0);

	delay->setParameter (Delay::kDelayMsParam, 0, true, false, 20.0);
	const std::vector<double> out = harness.run ({tail})[0];
	const double step = 2.5 / kRate;
	size_t k = 0;
	for (; k < out.size (); ++k)
	{
		const size_t n = kSettle + k;
		const double gain = (in[n - kOld] - out[k]) / (kNew - kOld);
		if (std::fabs (out[k] - in[n - kNew]) == 0.0 && k > 0)
			break;
		ASSERT_NEAR (gain, k * step, 1e-9) << "fade sample " << k;
	}
	EXPECT_NEAR (static_cast<double> (k), kRate / 2.5 + 1, 1.5) << "the fade lasts about 0.4 s";
	for (; k < out.size (); ++k)
		ASSERT_EQ (out[k], in[kSettle + k - kNew]) << "after the fade, sample " << k;
}

TEST (Delay, NonFiniteDelayKeepsTheLastValidDelay)
{
	auto* delay = new Delay (1, 1, 100);
	GraphHarness harness (delay);
	delay->setParameter (Delay::kDelayMsParam, 0, true, false, kNaN);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> in = ramp (2000);
	const std::vector<double> first (in.begin (), in.begin () + 1000);
	const std::vector<double> second (in.begin () + 1000, in.end ());
	expectDelayed (first, harness.run ({first})[0], 0, 1.0); // no valid value yet: delay 0

	delay->setParameter (Delay::kDelayMsParam, 0, true, false, kNaN);
	const std::vector<double> out = harness.run ({second})[0];
	for (size_t k = 0; k < out.size (); ++k)
		ASSERT_EQ (out[k], second[k]) << "sample " << k;
}

TEST (Delay, NonFiniteGainKeepsTheLastValidGain)
{
	auto* delay = new Delay (1, 1, 100);
	GraphHarness harness (delay);
	delay->setParameter (Delay::kDelayMsParam, 0, true, false, 0.0);
	delay->setParameter (Delay::kGainParam, 0, true, false, -0.25);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> in = ramp (600);
	harness.run ({in});
	delay->setParameter (Delay::kGainParam, 0, true, false, kNaN);
	expectDelayed (in, harness.run ({in})[0], 0, -0.25);
}

TEST (Delay, ResetSilencesTheRingButKeepsTheDelay)
{
	auto* delay = new Delay (1, 1, 100);
	GraphHarness harness (delay);
	delay->setParameter (Delay::kDelayMsParam, 0, true, false, 5.0);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> in = ramp (1500);
	harness.run ({in});
	ASSERT_EQ (harness.graph ().reset (), 0);
	expectDelayed (in, harness.run ({in})[0], 220, 1.0);
}

TEST (Delay, LifeCycleIsSafeOutOfOrder)
{
	Delay delay (1, 1, 100);
	double buffer[64] = {1.0};
	double* channel[] = {buffer};
	EXPECT_EQ (delay.process64 (channel, channel, 64), 0) << "process before setup";
	EXPECT_EQ (buffer[0], 0.0) << "no ring yet: silence";
	EXPECT_EQ (delay.reset (), 0);
	EXPECT_EQ (delay.teardown (), 0);
	delay.setSampleRate (kRate);
	EXPECT_EQ (delay.setup (), 0);
	EXPECT_EQ (delay.setup (), 0);
	const std::vector<double> in = ramp (4500);
	std::vector<double> out (in.size ());
	for (size_t n = 0; n < in.size (); ++n)
	{
		double* inputs[] = {const_cast<double*> (&in[n])};
		double* outputs[] = {&out[n]};
		ASSERT_EQ (delay.process64 (inputs, outputs, 1), 0);
	}
	expectDelayed (in, out, 4410, 1.0);
	EXPECT_EQ (delay.teardown (), 0);
	EXPECT_EQ (delay.teardown (), 0);
	buffer[0] = 1.0;
	EXPECT_EQ (delay.process64 (channel, channel, 64), 0) << "process after teardown";
	EXPECT_EQ (buffer[0], 0.0) << "the ring is gone: silence";
}

// The default delay of 100 ms is the longest, so it shows the ring's length.
TEST (Delay, RingIsSizedForTheSampleRateOfSetup)
{
	struct Case
	{
		double rate;
		int32 longestDelay;
	};
	for (const Case c : {Case {48000.0, 4800}, Case {96000.0, 9600}, Case {22050.0, 2205}, Case {kNaN, 0}})
	{
		SCOPED_TRACE (c.rate);
		auto* delay = new Delay (1, 1, 100);
		GraphHarness harness (delay, c.rate);
		ASSERT_EQ (harness.setup (), 0);
		const std::vector<double> in = ramp (static_cast<size_t> (c.longestDelay) + 600);
		expectDelayed (in, harness.run ({in})[0], c.longestDelay, 1.0);
	}
}

struct SmplCase
{
	int32 constructed;
	double parameter; // NaN: leave the parameter alone
	int32 expectedDelay;
	int32 sampleSize;
};

class SmplDelayNumbersTest : public ::testing::TestWithParam<SmplCase>
{
};

TEST_P (SmplDelayNumbersTest, GivesNZerosThenTheInput)
{
	const SmplCase c = GetParam ();
	auto* delay = new SmplDelay (1, 2, c.constructed);
	GraphHarness harness (delay, kRate, c.sampleSize);
	if (!std::isnan (c.parameter))
		delay->setParameter (SmplDelay::kDelaySamplesParam, 0, true, false, c.parameter);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> left = ramp (static_cast<size_t> (c.expectedDelay) + 1500);
	const std::vector<double> right = ramp (left.size (), -0.5);
	const Signal out = harness.run ({left, right});
	expectDelayed (left, out[0], c.expectedDelay, 1.0);
	expectDelayed (right, out[1], c.expectedDelay, 1.0);
}

INSTANTIATE_TEST_SUITE_P (Counts, SmplDelayNumbersTest,
                          ::testing::Values (SmplCase {0, kNaN, 0, 1}, SmplCase {1, kNaN, 1, 1},
                                             SmplCase {767, kNaN, 767, 0}, SmplCase {10, 2047.0, 2047, 1},
                                             SmplCase {10, 12.9, 12, 1}, SmplCase {10, 70000.0, 65536, 1},
                                             SmplCase {-5, kNaN, 0, 1}, SmplCase {300000, kNaN, 65536, 1}));

// NaN keeps the last valid count; the parameter's own range already clamps infinities.
TEST (SmplDelay, NonFiniteCountKeepsTheLastValidDelay)
{
	struct Case
	{
		double bad;
		int32 expected;
	};
	for (const Case c : {Case {kNaN, 64}, Case {kInf, 65536}, Case {-kInf, 0}})
	{
		SCOPED_TRACE (c.bad);
		auto* delay = new SmplDelay (1, 1, 33);
		GraphHarness harness (delay);
		delay->setParameter (SmplDelay::kDelaySamplesParam, 0, true, false, 64.0);
		ASSERT_EQ (harness.setup (), 0);
		ASSERT_EQ (harness.graph ().teardown (), 0);
		delay->setParameter (SmplDelay::kDelaySamplesParam, 0, true, false, c.bad);
		ASSERT_EQ (harness.setup (), 0);
		const std::vector<double> in = ramp (static_cast<size_t> (c.expected) + 300);
		expectDelayed (in, harness.run ({in})[0], c.expected, 1.0);
	}
}

TEST (SmplDelay, ChangeAfterSetupWaitsForTheNextSetup)
{
	auto* delay = new SmplDelay (1, 1, 16);
	GraphHarness harness (delay);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> in = ramp (800);
	expectDelayed (in, harness.run ({in})[0], 16, 1.0);
	delay->setParameter (SmplDelay::kDelaySamplesParam, 0, true, false, 100.0);
	const std::vector<double> out = harness.run ({in})[0];
	for (size_t n = 16; n < in.size (); ++n)
		ASSERT_EQ (out[n], in[n - 16]);

	ASSERT_EQ (harness.graph ().teardown (), 0);
	ASSERT_EQ (harness.setup (), 0);
	expectDelayed (in, harness.run ({in})[0], 100, 1.0);
}

TEST (SmplDelay, ResetGivesTheZerosAgain)
{
	auto* delay = new SmplDelay (1, 1, 40);
	GraphHarness harness (delay);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> in = ramp (500);
	harness.run ({in});
	ASSERT_EQ (harness.graph ().reset (), 0);
	expectDelayed (in, harness.run ({in})[0], 40, 1.0);
	EXPECT_EQ (delay->getLatency (), 0u);
}

TEST (SmplDelay, LifeCycleIsSafeOutOfOrder)
{
	SmplDelay delay (1, 1, 8);
	float buffer[16] = {1.0f};
	float* channel[] = {buffer};
	EXPECT_EQ (delay.process32 (channel, channel, 16), 0);
	EXPECT_EQ (buffer[0], 0.0f);
	EXPECT_EQ (delay.teardown (), 0);
	EXPECT_EQ (delay.setup (), 0);
	EXPECT_EQ (delay.setup (), 0);
	EXPECT_EQ (delay.reset (), 0);
	EXPECT_EQ (delay.teardown (), 0);
	EXPECT_EQ (delay.teardown (), 0);
}

} // namespace

// --- switched back in after a bypass ---

namespace {

constexpr int32 kCompensation = 220; // 5 ms at 44100 Hz

struct SwitchBackCase
{
	const char* name;
	bool delayInMs;        // a Delay at 5 ms, else a SmplDelay of 220 samples
	bool bypassedByAFade;  // a completed 250 ms fade-out, else bypassed from the start
	int32 sampleSize;
};

class SwitchedBackIn : public ::testing::TestWithParam<SwitchBackCase>
{
};

DSPFunction* compensationDelay (bool delayInMs)
{
	if (!delayInMs)
		return new SmplDelay (1, 1, kCompensation);
	auto* delay = new Delay (1, 1, 100);
	delay->setParameter (Delay::kDelayMsParam, 0, true, false, 5.0);
	return delay;
}

} // namespace

// A compensation delay switched back in carries the input it was given while bypassed: the
// fade-in blends the dry input with the input of 220 samples earlier, never with silence.
TEST_P (SwitchedBackIn, FadesInTheInputItWasGivenWhileBypassed)
{
	const SwitchBackCase c = GetParam ();
	DSPFunction* delay = compensationDelay (c.delayInMs);
	GraphHarness harness (delay, kRate, c.sampleSize);
	ASSERT_EQ (harness.setup (), 0);
	const std::vector<double> in = ramp (16000, 1.0 / 16000);
	const int32 switchAt = 12800;
	if (c.bypassedByAFade)
		delay->setParameter (kBypassParamNo, 0, true, false, 1.0);
	else
		delay->setBypassImmediately (true);
	const double tolerance = c.sampleSize == 0 ? 1e-6 : 1e-12;
	const std::vector<double> bypassed (in.begin (), in.begin () + switchAt);
	EXPECT_NEAR (harness.run ({bypassed})[0].back (), bypassed.back (), tolerance);

	delay->setParameter (kBypassParamNo, 0, true, false, 0.0);
	const std::vector<double> fadingIn (in.begin () + switchAt, in.end ());
	const std::vector<double> out = harness.run ({fadingIn})[0];
	// The crossfade moves by one step a sample over its 250 ms.
	const double step = 1.0 / (0.25 * kRate);
	for (int32 i = 0; i < kCompensation; ++i)
	{
		const double dry = in[static_cast<size_t> (switchAt + i)];
		const double delayed = in[static_cast<size_t> (switchAt + i - kCompensation)];
		ASSERT_NEAR (out[static_cast<size_t> (i)], (delayed - dry) * (i * step) + dry, tolerance) << "sample " << i;
	}
}

INSTANTIATE_TEST_SUITE_P (Delays, SwitchedBackIn,
                          ::testing::Values (SwitchBackCase {"SmplDelayBypassedFromTheStart", false, false, 1},
                                             SwitchBackCase {"SmplDelayAfterAFadeOut", false, true, 1},
                                             SwitchBackCase {"SmplDelayAfterAFadeOut32", false, true, 0},
                                             SwitchBackCase {"DelayBypassedFromTheStart", true, false, 1},
                                             SwitchBackCase {"DelayAfterAFadeOut", true, true, 1}),
                          [] (const ::testing::TestParamInfo<SwitchBackCase>& info) { return info.param.name; });
