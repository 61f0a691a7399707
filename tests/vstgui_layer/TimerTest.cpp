#include "tests/support/ManualRunLoop.h"

#include "vstgui/lib/cvstguitimer.h"

#include <gtest/gtest.h>

#include <memory>

using namespace VSTGUI;
using veltrane_test::ManualRunLoop;

TEST (TimerTest, FiresOncePerWholePeriodWhileRunning)
{
	ManualRunLoop loop;
	int ticks = 0;
	auto timer = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { ++ticks; }, 16);
	loop.advance (15);
	EXPECT_EQ (ticks, 0);
	loop.advance (1);
	EXPECT_EQ (ticks, 1);
	loop.advance (40);
	EXPECT_EQ (ticks, 3);
	timer->stop ();
	loop.advance (100);
	EXPECT_EQ (ticks, 3);
	timer->start ();
	loop.advance (16);
	EXPECT_EQ (ticks, 4);
}

TEST (TimerTest, NotStartedUntilAsked)
{
	ManualRunLoop loop;
	int ticks = 0;
	auto timer = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { ++ticks; }, 10, false);
	loop.advance (50);
	EXPECT_EQ (ticks, 0);
	EXPECT_FALSE (timer->isRunning ());
	EXPECT_EQ (loop.timerCount (), 0u);
}

TEST (TimerTest, ACallbackMayDropTheLastReferenceToItsTimer)
{
	ManualRunLoop loop;
	int ticks = 0;
	SharedPointer<CVSTGUITimer> timer;
	timer = makeOwned<CVSTGUITimer> (
	    [&] (CVSTGUITimer* t) {
		    ++ticks;
		    EXPECT_EQ (t, timer.get ());
		    timer = nullptr;
	    },
	    16);
	loop.advance (64);
	EXPECT_EQ (ticks, 1);
	EXPECT_EQ (timer.get (), nullptr);
	EXPECT_EQ (loop.timerCount (), 0u);
}

TEST (TimerTest, ACallbackMayStopAnotherTimerDueInTheSameAdvance)
{
	ManualRunLoop loop;
	int otherTicks = 0;
	SharedPointer<CVSTGUITimer> other;
	auto first = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { other = nullptr; }, 10);
	other = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { ++otherTicks; }, 10);
	loop.advance (10);
	EXPECT_EQ (otherTicks, 0);
}

// Each timer sits on the host's loop with its own period, so two of them never share a clock.
TEST (TimerRunLoopTest, EachRunningTimerIsRegisteredWithItsOwnPeriod)
{
	ManualRunLoop loop;
	auto fast = makeOwned<CVSTGUITimer> ([] (CVSTGUITimer*) {}, 16);
	auto slow = makeOwned<CVSTGUITimer> ([] (CVSTGUITimer*) {}, 500);
	ASSERT_EQ (loop.timerCount (), 2u);
	EXPECT_EQ (loop.periodOf (0), 16u);
	EXPECT_EQ (loop.periodOf (1), 500u);
	slow->setFireTime (250);
	ASSERT_EQ (loop.timerCount (), 2u);
	EXPECT_EQ (loop.periodOf (1), 250u);
	fast = nullptr;
	EXPECT_EQ (loop.timerCount (), 1u);
}

TEST (TimerRunLoopTest, TimersWaitForALoopAndMoveToTheNextWhenTheirsGoes)
{
	int ticks = 0;
	auto timer = makeOwned<CVSTGUITimer> ([&] (CVSTGUITimer*) { ++ticks; }, 10);
	auto first = std::make_unique<ManualRunLoop> ();
	ManualRunLoop second;
	EXPECT_EQ (first->timerCount (), 1u) << "a loop lent later still gets the running timers";
	EXPECT_EQ (second.timerCount (), 0u) << "only the first loop drives them";
	first->advance (10);
	EXPECT_EQ (ticks, 1);
	first = nullptr;
	EXPECT_EQ (second.timerCount (), 1u);
	second.advance (10);
	EXPECT_EQ (ticks, 2);
}

TEST (TimerRunLoopTest, ALoopLentTwiceStaysUntilBothLoansEnd)
{
	ManualRunLoop loop;
	X11::RunLoop::attach (&loop);
	auto timer = makeOwned<CVSTGUITimer> ([] (CVSTGUITimer*) {}, 10);
	X11::RunLoop::detach (&loop);
	EXPECT_EQ (loop.timerCount (), 1u);
}
