// A crossfading delay under automation: requests that change faster than a fade lasts, and
// requests that land during a fade. On a ramp input a read mixing delays a and b with gain g
// gives n - a - g (b - a), so two consecutive reads differ by 1 minus the fade's step times the
// distance of its delays; a jump of the heard signal shows as a larger difference.
#include "tests/support/GraphHarness.h"
#include "tests/support/Signals.h"

#include "dsp/Delay.h"
#include "dsp/RingDelayLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace veltrane_test;

namespace {

constexpr double kRate = 44100.0;
constexpr int32 kFrames = 2000;
constexpr double kFadeReads = kRate / 2.5 + 2.0;

struct StreamCase
{
	const char* name;
	int32 readsPerRequest;
};

std::ostream& operator<< (std::ostream& os, const StreamCase& c)
{
	return os << c.name;
}

class RequestStream : public ::testing::TestWithParam<StreamCase>
{
};

// Random requests over the whole ring, each held for a few reads or for longer than a fade. No
// read may jump; every fade must head for the request of the read it starts on, and a request
// that differs from the delay in force may wait only for the running fade: fades follow each
// other without a pause and each one puts its target in force, so a request is in force at most
// two fades after it was made.
TEST_P (RequestStream, IsFollowedWithoutAJumpAndWithoutAPause)
{
	RingDelayLine ring (1, kFrames, 1, kRate);
	std::mt19937 generator (7);
	std::uniform_int_distribution<int32> anyDelay (0, kFrames - 1);
	const int32 every = GetParam ().readsPerRequest;
	const auto total = static_cast<int32> (6.0 * kRate);

	int32 delay = 300;
	double previous = 0.0;
	double worstJump = 0.0;
	int32 pausedReads = 0;
	int32 longestPause = 0;
	int32 inForce = 300;
	int32 readsWaiting = 0;
	int32 longestWait = 0;
	int32 wrongTargets = 0;
	DelayTap* tap = nullptr;
	for (int32 n = 0; n < total; ++n)
	{
		if (n > 0 && n % every == 0 && n < total - 3 * static_cast<int32> (kFadeReads))
			delay = anyDelay (generator);
		tap = ring.setTap (delay, 0, 1, 0, true);
		const bool wasFading = tap->fading;
		ring.write (0, 1.0 + n);
		const double out = ring.readTap (*tap);
		if (tap->fading && !wasFading && tap->targetDelay != delay)
			++wrongTargets;
		pausedReads = !tap->fading && tap->currentDelay != delay ? pausedReads + 1 : 0;
		longestPause = std::max (longestPause, pausedReads);
		readsWaiting = tap->currentDelay != inForce || tap->currentDelay == delay ? 0 : readsWaiting + 1;
		inForce = tap->currentDelay;
		longestWait = std::max (longestWait, readsWaiting);
		if (n > kFrames)
			worstJump = std::max (worstJump, std::fabs (out - previous - 1.0));
		previous = out;
	}
	// The steepest a fade makes the ramp: its step times the longest distance the ring holds.
	EXPECT_LE (worstJump, 2.5 / kRate * (kFrames - 1) + 1e-9);
	EXPECT_EQ (wrongTargets, 0);
	EXPECT_LE (longestPause, 1) << "only the read that ends a fade may leave a new request waiting";
	EXPECT_LE (longestWait, kFadeReads) << "while requests differ from it, the delay in force changes with every fade";
	EXPECT_FALSE (tap->fading);
	EXPECT_EQ (tap->currentDelay, delay) << "the last request is reached once the requests stop";
}

INSTANTIATE_TEST_SUITE_P (Ring, RequestStream,
                          ::testing::Values (StreamCase {"EveryRead", 1}, StreamCase {"Every64Reads", 64},
                                             StreamCase {"EveryTenthOfAFade", 1765},
                                             StreamCase {"EveryOneAndAHalfFades", 26462}),
                          [] (const ::testing::TestParamInfo<StreamCase>& info) { return std::string (info.param.name); });

// The block as the processor drives it: "DelayMs" set between calls of 64 frames, rising by a
// little more than a sample each time, as a host's ramp does.
TEST (Delay, RampOfTheDelayIsFollowedWithoutAJump)
{
	constexpr int32 kBlock = 64;
	auto* delay = new Delay (1, 1, 100);
	GraphHarness harness (delay, kRate, 1, kBlock);
	delay->setParameter (Delay::kDelayMsParam, 0, true, false, 5.0);
	ASSERT_EQ (harness.setup (), 0);

	constexpr double kRampSeconds = 2.0;
	const auto blocks = static_cast<int32> (4.0 * kRate / kBlock);
	const auto rampBlocks = static_cast<int32> (kRampSeconds * kRate / kBlock);
	const std::vector<double> in = ramp (static_cast<size_t> (blocks * kBlock));
	std::vector<double> out;
	for (int32 b = 0; b < blocks; ++b)
	{
		const double ms = 5.0 + 40.0 * std::min (b, rampBlocks) / rampBlocks;
		delay->setParameter (Delay::kDelayMsParam, 0, true, false, ms);
		const auto from = in.begin () + b * kBlock;
		const std::vector<double> piece = harness.run ({std::vector<double> (from, from + kBlock)})[0];
		out.insert (out.end (), piece.begin (), piece.end ());
	}
	const double longest = 45.0 * 0.001 * kRate - 5.0 * 0.001 * kRate;
	// From the first sample that reaches the tap on.
	for (size_t i = 256; i < out.size (); ++i)
		ASSERT_LE (std::fabs (out[i] - out[i - 1] - 1.0), 2.5 / kRate * longest + 1e-9) << "sample " << i;

	// Half way through the ramp the heard delay is one requested less than two fades before.
	const size_t half = static_cast<size_t> (rampBlocks / 2 * kBlock);
	const double heardDelay = in[half] - out[half];
	const double requestedTwoFadesBefore = (5.0 + 40.0 * (0.5 - 0.8 / kRampSeconds)) * 0.001 * kRate;
	EXPECT_GE (heardDelay, requestedTwoFadesBefore - 1.0);
	EXPECT_EQ (out.back (), in.back () - std::trunc (45.0 * 0.001 * kRate)) << "the ramp's end is reached";
}

} // namespace
