#include "dsp/FrameConversion.h"
#include "dsp/RingDelayLine.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

using namespace KOREMU::DSPLib;

namespace {

constexpr double kRate = 44100.0;

// A signal whose value names its sample: reads reveal exactly which sample they took.
double sampleValue (int32 n) { return 1.0 + n; }

// Set before each write: d = 0 returns the current sample.
double setWriteRead (RingDelayLine& ring, int32 delay, int32 channel, double value, bool crossfade = true)
{
	DelayTap* tap = ring.setTap (delay, channel, 1, 0, crossfade);
	ring.write (channel, value);
	return ring.readTap (*tap);
}

struct DelayCase
{
	int32 frames;
	int32 delay;
};

class RingDelayPatternTest : public ::testing::TestWithParam<DelayCase>
{
};

TEST_P (RingDelayPatternTest, SetBeforeEachWriteReadsTheSampleDWritesEarlier)
{
	const DelayCase c = GetParam ();
	RingDelayLine ring (1, c.frames, 1, kRate);
	for (int32 n = 0; n < 3 * c.frames + 5; ++n)
	{
		const double expected = n >= c.delay ? sampleValue (n - c.delay) : 0.0;
		ASSERT_EQ (setWriteRead (ring, c.delay, 0, sampleValue (n)), expected) << "n " << n;
	}
}

TEST_P (RingDelayPatternTest, SetOnceGivesDZerosThenTheInput)
{
	const DelayCase c = GetParam ();
	RingDelayLine ring (2, c.frames, 1, kRate);
	DelayTap* taps[] = {ring.setTap (c.delay, 0, 1, 0, false), ring.setTap (c.delay, 1, 1, 0, false)};
	for (int32 n = 0; n < 3 * c.frames + 5; ++n)
	{
		for (int32 ch = 0; ch < 2; ++ch)
		{
			ring.write (ch, sampleValue (n) * (ch + 1));
			const double expected = n >= c.delay ? sampleValue (n - c.delay) * (ch + 1) : 0.0;
			ASSERT_EQ (ring.readTap (*taps[ch]), expected) << "n " << n << " channel " << ch;
		}
	}
}

INSTANTIATE_TEST_SUITE_P (Sizes, RingDelayPatternTest,
                          ::testing::Values (DelayCase {1, 0}, DelayCase {2, 1}, DelayCase {8, 0}, DelayCase {8, 3},
                                             DelayCase {8, 7}, DelayCase {4411, 4410}));

TEST (RingDelayLine, FirstInFirstOutBatchesComeBackInWrittenOrder)
{
	for (const DelayCase c : {DelayCase {2, 1}, DelayCase {8, 3}, DelayCase {8, 7}, DelayCase {4411, 4410}})
	{
		RingDelayLine ring (1, c.frames, 1, kRate);
		int32 next = 0;
		for (int32 batch = 0; batch < 4; ++batch)
		{
			const int32 first = next;
			for (int32 k = 0; k < c.delay; ++k)
				ring.write (0, sampleValue (next++));
			DelayTap* tap = ring.setTap (c.delay, 0, 1, 0, false);
			for (int32 k = 0; k < c.delay; ++k)
				ASSERT_EQ (ring.readTap (*tap), sampleValue (first + k)) << "frames " << c.frames << " batch " << batch;
		}
	}
}

TEST (RingDelayLine, NegativeAndZeroStepsMoveUpOrStay)
{
	RingDelayLine ring (1, 8, 1, kRate);
	for (int32 n = 0; n < 5; ++n)
		ring.write (0, sampleValue (n));

	DelayTap* newestFirst = ring.setTap (1, 0, -1, 0, false);
	for (int32 n = 4; n >= 0; --n)
		EXPECT_EQ (ring.readTap (*newestFirst), sampleValue (n));

	DelayTap* still = ring.setTap (2, 0, 0, 0, false);
	for (int32 k = 0; k < 3; ++k)
		EXPECT_EQ (ring.readTap (*still), sampleValue (3));
}

TEST (RingDelayLine, StepsLongerThanTheRingWrapCorrectly)
{
	RingDelayLine ring (1, 4, 1, kRate);
	for (int32 n = 0; n < 4; ++n)
		ring.write (0, sampleValue (n));
	DelayTap* tap = ring.setTap (1, 0, 5, 0, false); // 5 frames down in a ring of 4 is one down
	EXPECT_EQ (ring.readTap (*tap), sampleValue (3));
	EXPECT_EQ (ring.readTap (*tap), sampleValue (0));
	DelayTap* back = ring.setTap (1, 0, -9, 0, false); // 9 up is one up
	EXPECT_EQ (ring.readTap (*back), sampleValue (3));
	EXPECT_EQ (ring.readTap (*back), sampleValue (2));
}

// Every frame of channel 0 behind the write position, newest first, read by a tap of row 1 so
// that the taps of row 0 stay where they are.
std::vector<double> storedSamples (RingDelayLine& ring)
{
	std::vector<double> samples;
	for (int32 d = 1; d <= ring.getFrames (); ++d)
		samples.push_back (ring.readTap (*ring.setTap (d % ring.getFrames (), 0, 1, 1, false)));
	return samples;
}

TEST (RingDelayLine, ReadsAreZeroAfterConstructionAndAfterClear)
{
	RingDelayLine ring (1, 6, 1, 2, kRate);
	EXPECT_EQ (storedSamples (ring), std::vector<double> (6, 0.0));
	DelayTap* tap = ring.setTap (5, 0, 1, 0, false);
	for (int32 n = 0; n < 5; ++n)
	{
		ring.write (0, sampleValue (n));
		EXPECT_EQ (ring.readTap (*tap), 0.0);
	}
	ASSERT_NE (storedSamples (ring), std::vector<double> (6, 0.0));

	const int32 writePosition = ring.frameAt (0, 0);
	const int32 readPosition = tap->readPosition;
	ring.clear ();
	ring.clear ();
	EXPECT_EQ (storedSamples (ring), std::vector<double> (6, 0.0));
	EXPECT_EQ (ring.frameAt (0, 0), writePosition);
	EXPECT_EQ (tap->readPosition, readPosition);
	EXPECT_EQ (tap->delay, 5);
	for (int32 n = 0; n < 5; ++n)
	{
		ring.write (0, sampleValue (100 + n));
		EXPECT_EQ (ring.readTap (*tap), 0.0) << "old samples survived the clear at " << n;
	}
	ring.write (0, sampleValue (105));
	EXPECT_EQ (ring.readTap (*tap), sampleValue (100));

	ring.clear ();
	EXPECT_EQ (storedSamples (ring), std::vector<double> (6, 0.0)) << "a clear after new writes zeroes them too";
}

TEST (RingDelayLine, ChannelsAdvanceIndependently)
{
	constexpr int32 kDelay = 3;
	constexpr int32 kBlock = 10;
	RingDelayLine ring (2, kDelay + 1, 1, kRate);
	for (int32 block = 0; block < 3; ++block)
	{
		for (int32 ch = 0; ch < 2; ++ch)
		{
			for (int32 i = 0; i < kBlock; ++i)
			{
				const int32 n = block * kBlock + i;
				const double expected = n >= kDelay ? sampleValue (n - kDelay) + 1000.0 * ch : 0.0;
				ASSERT_EQ (setWriteRead (ring, kDelay, ch, sampleValue (n) + 1000.0 * ch), expected);
			}
		}
	}
}

TEST (RingDelayLine, FrameAtAgreesWithTapPlacementAndWrites)
{
	RingDelayLine ring (2, 5, 1, kRate);
	for (int32 n = 0; n < 7; ++n)
		ring.write (1, sampleValue (n));
	EXPECT_EQ (ring.frameAt (0, 0), 0) << "channel 0 never wrote";
	for (int32 d = 0; d < 5; ++d)
		EXPECT_EQ (ring.setTap (d, 1, 1, 0, false)->readPosition, ring.frameAt (d, 1));
	EXPECT_EQ (ring.readTap (*ring.setTap (1, 1, 1, 0, false)), sampleValue (6));
	EXPECT_EQ (ring.readTap (*ring.setTap (4, 1, 1, 0, false)), sampleValue (3));

	const int32 writePosition = ring.frameAt (0, 1);
	ring.write (1, sampleValue (7));
	EXPECT_EQ (ring.frameAt (1, 1), writePosition) << "the write went into the frame at delay 0";
	EXPECT_EQ (ring.readTap (*ring.setTap (1, 1, 1, 0, false)), sampleValue (7));
}

TEST (RingDelayLine, CallerLimitsAreEnforced)
{
	RingDelayLine ring (2, 4, 1, kRate);
	EXPECT_EQ (ring.setTap (1, 2, 1, 0, false), nullptr);
	EXPECT_EQ (ring.setTap (1, -1, 1, 0, false), nullptr);
	EXPECT_EQ (ring.setTap (1, 0, 1, 1, false), nullptr);
	EXPECT_EQ (ring.setTap (1, 0, 1, -1, false), nullptr);

	ring.write (2, 5.0);
	ring.write (-1, 5.0);
	for (int32 channel = 0; channel < 2; ++channel)
	{
		for (int32 d = 0; d < 4; ++d)
			EXPECT_EQ (ring.readTap (*ring.setTap (d, channel, 1, 0, false)), 0.0)
			    << "a write to a missing channel was stored in channel " << channel;
		EXPECT_EQ (ring.frameAt (0, channel), 0) << "a write to a missing channel moved channel " << channel;
	}

	EXPECT_EQ (ring.setTap (99, 0, 1, 0, true)->delay, 3);
	EXPECT_EQ (ring.setTap (-7, 0, 1, 0, true)->delay, 0);
	EXPECT_EQ (ring.frameAt (99, 0), ring.frameAt (3, 0));
	EXPECT_EQ (ring.frameAt (-5, 0), ring.frameAt (0, 0));
	EXPECT_EQ (ring.frameAt (1, 7), ring.frameAt (1, 1));

	DelayTap stranger;
	EXPECT_EQ (ring.readTap (stranger), 0.0) << "a tap the ring never placed";
	stranger.channel = 9;
	stranger.readPosition = 2;
	EXPECT_EQ (ring.readTap (stranger), 0.0);
}

TEST (RingDelayLine, DegenerateSizesBecomeAOneFrameRing)
{
	RingDelayLine ring (0, -5, 1, kRate);
	EXPECT_EQ (ring.getFrames (), 1);
	EXPECT_EQ (setWriteRead (ring, 3, 0, 2.5), 2.5);
	EXPECT_EQ (ring.setTap (0, 1, 1, 0, false), nullptr) << "one channel";

	RingDelayLine noRows (1, 4, 1, 0, kRate);
	EXPECT_EQ (noRows.setTap (0, 0, 1, 0, false), nullptr);
	RingDelayLine negativeRows (1, 4, 1, -2, kRate);
	EXPECT_EQ (negativeRows.setTap (0, 0, 1, 0, false), nullptr);
}

TEST (RingDelayLine, TapsOfEveryRowAreKeptApart)
{
	RingDelayLine ring (2, 8, 1, 3, kRate);
	DelayTap* a = ring.setTap (1, 1, 1, 2, false);
	DelayTap* b = ring.setTap (2, 1, 1, 0, false);
	ASSERT_NE (a, b);
	EXPECT_EQ (a->row, 2);
	EXPECT_EQ (a->channel, 1);
	EXPECT_EQ (a, ring.setTap (4, 1, 1, 2, false)) << "a second placement returns the same tap";
	EXPECT_EQ (a->delay, 4);
	EXPECT_EQ (b->delay, 2);
}

TEST (RingDelayLine, TapWithCrossfadeOffNeverMixes)
{
	RingDelayLine ring (1, 16, 1, kRate);
	DelayTap* tap = ring.setTap (2, 0, 1, 0, false);
	tap->fading = true;
	tap->fadeInGain = 0.3;
	tap->fadeOutGain = 0.7;
	for (int32 n = 0; n < 40; ++n)
	{
		const int32 delay = 2 + (n / 10) * 3;
		const double expected = n >= delay ? sampleValue (n - delay) : 0.0;
		ASSERT_EQ (setWriteRead (ring, delay, 0, sampleValue (n), false), expected) << "n " << n;
	}
}

// A ramp signal makes the gains readable: a read mixing the samples at delays a and b of
// sample n gives (1 - g) * (n - a) + g * (n - b).
class RingCrossfadeTest : public ::testing::Test
{
protected:
	static constexpr int32 kFrames = 1000;
	RingDelayLine ring {1, kFrames, 1, kRate};
	int32 n {0};

	double step (int32 delay) { return setWriteRead (ring, delay, 0, sampleValue (n++)); }
	double at (int32 sampleIndex, int32 delay) const { return sampleValue (sampleIndex - delay); }
	DelayTap& tapRecord {*ring.setTap (0, 0, 1, 0, true)};
	const DelayTap& tap () const { return tapRecord; }

	void settleAt (int32 delay)
	{
		for (int32 k = 0; k < kFrames; ++k)
			step (delay);
	}
};

TEST_F (RingCrossfadeTest, FirstPlacementTakesItsDelayAtOnce)
{
	for (int32 k = 0; k < kFrames; ++k)
	{
		const double expected = n >= 300 ? at (n, 300) : 0.0;
		ASSERT_EQ (step (300), expected) << "n " << n;
		ASSERT_FALSE (tap ().fading);
	}
}

TEST_F (RingCrossfadeTest, ChangeFadesFromOldToNewDelayOverPointFourSeconds)
{
	settleAt (100);
	constexpr int32 kOld = 100;
	constexpr int32 kNew = 400;
	const int32 start = n;
	const double fadeStep = 2.5 / kRate;
	int32 mixingReads = 0;
	double previousGain = -1.0;
	for (;;)
	{
		const int32 index = n;
		const double out = step (kNew);
		const double gain = (at (index, kOld) - out) / (kNew - kOld);
		if (!tap ().fading)
		{
			EXPECT_EQ (out, at (index, kNew)) << "the read that ends the fade reads the new delay alone";
			break;
		}
		if (mixingReads == 0)
			EXPECT_EQ (out, at (index, kOld)) << "the first read of a fade is the old delay's sample";
		else
			EXPECT_NEAR (gain - previousGain, fadeStep, 1e-9);
		EXPECT_NEAR (tap ().fadeInGain + tap ().fadeOutGain, 1.0, 1e-15);
		previousGain = gain;
		++mixingReads;
		ASSERT_LT (n - start, 2 * static_cast<int32> (kRate)) << "the fade never ended";
	}
	EXPECT_NEAR (mixingReads, kRate / 2.5 + 1, 1.0);
	EXPECT_NEAR (previousGain, 1.0, fadeStep);
	EXPECT_EQ (tap ().fadeInGain, 0.0);
	EXPECT_EQ (tap ().fadeOutGain, 1.0);
	EXPECT_EQ (tap ().currentDelay, kNew);

	for (int32 k = 0; k < 2000; ++k)
	{
		const int32 index = n;
		ASSERT_EQ (step (kNew), at (index, kNew)) << "a settled tap started another fade";
		ASSERT_FALSE (tap ().fading);
	}
}

// A new request during a fade neither restarts nor redirects it: the fade runs on to its target,
// and the read after its end starts the fade to the latest request.
TEST_F (RingCrossfadeTest, ChangeDuringAFadeWaitsForTheFadeToEnd)
{
	settleAt (100);
	int32 reads = 0;
	for (; reads < 5000; ++reads)
		step (400);
	ASSERT_TRUE (tap ().fading);
	const double gain = tap ().fadeInGain;
	ASSERT_GT (gain, 0.2);

	int32 index = n;
	EXPECT_DOUBLE_EQ (step (700), (1.0 - gain) * at (index, 100) + gain * at (index, 400))
	    << "the fade goes on where it was";
	++reads;
	EXPECT_EQ (tap ().targetDelay, 400);
	while (tap ().fading)
	{
		step (700);
		++reads;
	}
	EXPECT_NEAR (reads, kRate / 2.5 + 2, 1.0) << "the first fade runs its full length";
	EXPECT_EQ (tap ().currentDelay, 400);

	index = n;
	EXPECT_EQ (step (700), at (index, 400)) << "the next fade starts from the first one's target";
	EXPECT_TRUE (tap ().fading);
	EXPECT_EQ (tap ().targetDelay, 700);
	reads = 1;
	while (tap ().fading)
	{
		step (700);
		++reads;
	}
	EXPECT_NEAR (reads, kRate / 2.5 + 2, 1.0);
	index = n;
	EXPECT_EQ (step (700), at (index, 700));
}

TEST (FrameConversion, NonFiniteValuesKeepTheLastValidAndResultsStayInRange)
{
	struct Case
	{
		double value;
		int32 lastValid;
		int32 expected;
	};
	const double inf = std::numeric_limits<double>::infinity ();
	const double nan = std::numeric_limits<double>::quiet_NaN ();
	const Case cases[] = {
	    {2.9, 7, 2},     {-0.5, 7, 0},     {-3.0, 7, 0},  {1e300, 7, 100}, {100.0, 7, 100},
	    {nan, 7, 7},     {inf, 7, 7},      {-inf, 7, 7},  {nan, 0, 0},     {nan, 500, 100},
	    {99.999, 0, 99}, {2147483648.0, 0, 100},
	};
	for (const Case& c : cases)
		EXPECT_EQ (framesFromValue (c.value, c.lastValid, 0, 100), c.expected) << c.value;
	EXPECT_EQ (finiteOr (nan, 3.0), 3.0);
	EXPECT_EQ (finiteOr (-inf, 3.0), 3.0);
	EXPECT_EQ (finiteOr (-2.0, 3.0), -2.0);
}

} // namespace
