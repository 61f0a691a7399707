#include "vstgui/lib/cvstguitimer.h"

#include <gtest/gtest.h>

using namespace VSTGUI;

TEST (TimerTest, FiresOncePerWholePeriodWhileRunning)
{
	int ticks = 0;
	auto timer = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { ++ticks; }, 16);
	CVSTGUITimer::advanceClock (15);
	EXPECT_EQ (ticks, 0);
	CVSTGUITimer::advanceClock (1);
	EXPECT_EQ (ticks, 1);
	CVSTGUITimer::advanceClock (40);
	EXPECT_EQ (ticks, 3);
	timer->stop ();
	CVSTGUITimer::advanceClock (100);
	EXPECT_EQ (ticks, 3);
	timer->start ();
	CVSTGUITimer::advanceClock (16);
	EXPECT_EQ (ticks, 4);
}

TEST (TimerTest, NotStartedUntilAsked)
{
	int ticks = 0;
	auto timer = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { ++ticks; }, 10, false);
	CVSTGUITimer::advanceClock (50);
	EXPECT_EQ (ticks, 0);
	EXPECT_FALSE (timer->isRunning ());
}

TEST (TimerTest, ACallbackMayDropTheLastReferenceToItsTimer)
{
	int ticks = 0;
	SharedPointer<CVSTGUITimer> timer;
	timer = makeOwned<CVSTGUITimer> (
	    [&] (CVSTGUITimer* t) {
		    ++ticks;
		    EXPECT_EQ (t, timer.get ());
		    timer = nullptr;
	    },
	    16);
	CVSTGUITimer::advanceClock (64);
	EXPECT_EQ (ticks, 1);
	EXPECT_EQ (timer.get (), nullptr);
}

TEST (TimerTest, ACallbackMayStopAnotherTimerDueInTheSameAdvance)
{
	int otherTicks = 0;
	SharedPointer<CVSTGUITimer> other;
	auto first = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { other = nullptr; }, 10);
	other = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { ++otherTicks; }, 10);
	CVSTGUITimer::advanceClock (10);
	EXPECT_EQ (otherTicks, 0);
}
