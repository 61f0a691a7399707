#include "SliderTestSupport.h"

#include "tests/support/ManualRunLoop.h"

#include "vstgui/lib/cvstguitimer.h"

#include <gtest/gtest.h>

#include <limits>

using veltrane_test::ManualRunLoop;

using namespace VSTGUI;
using namespace VSTGUI::Testing;

namespace {

// Both sliders have a 20-unit handle and 100 units of travel starting at coordinate 10 along their axis;
// the handle's free-click offset is therefore 19.
const CRect kHorizontalView (10, 0, 130, 20);
const CRect kVerticalView (0, 10, 20, 130);

CPoint along (bool horizontal, CCoord coordinate)
{
	return horizontal ? CPoint (coordinate, 5) : CPoint (5, coordinate);
}

struct PressCase
{
	const char* name;
	CSliderMode mode;
	bool horizontal;
	float startValue;
	CCoord press;
	CMouseEventResult pressResult;
	float valueAfterPress;
	CCoord move;
	float valueAfterMove;
};

void PrintTo (const PressCase& c, std::ostream* os)
{
	*os << c.name;
}

class SliderPressTest : public testing::TestWithParam<PressCase>
{
};

} // namespace

TEST_P (SliderPressTest, PressAndDragFollowTheMode)
{
	const auto& c = GetParam ();
	auto slider = makeSlider (c.horizontal ? kHorizontalView : kVerticalView,
	                          c.horizontal ? kHorizontal | kLeft : kVertical | kBottom);
	slider->setSliderMode (c.mode);
	slider->setValue (c.startValue);

	CPoint where = along (c.horizontal, c.press);
	EXPECT_EQ (slider->onMouseDown (where, kLButton), c.pressResult);
	EXPECT_NEAR (slider->getValue (), c.valueAfterPress, 1e-6);
	EXPECT_EQ (slider->isEditing (), c.pressResult == kMouseEventHandled);

	where = along (c.horizontal, c.move);
	slider->onMouseMoved (where, kLButton);
	EXPECT_NEAR (slider->getValue (), c.valueAfterMove, 1e-6);
	slider->onMouseUp (where, kLButton);
	EXPECT_FALSE (slider->isEditing ());
}

// With value 0.5 the handle covers 60 to 80; a press on it grabs it, elsewhere the free-click offset
// puts its middle under the mouse: value = (coordinate - 19) / 100.
INSTANTIATE_TEST_SUITE_P (
    Slider, SliderPressTest,
    testing::Values (
        PressCase {"TouchOnHandle", CSliderMode::Touch, true, 0.5f, 65, kMouseEventHandled, 0.5f, 75, 0.6f},
        PressCase {"TouchOnLeadingEdge", CSliderMode::Touch, true, 0.5f, 60, kMouseEventHandled, 0.5f, 70, 0.6f},
        PressCase {"TouchOnTrailingEdge", CSliderMode::Touch, true, 0.5f, 80,
                   kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.5f, 90, 0.5f},
        PressCase {"TouchBeside", CSliderMode::Touch, true, 0.5f, 100,
                   kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.5f, 90, 0.5f},
        PressCase {"RelativeBeside", CSliderMode::RelativeTouch, true, 0.5f, 100, kMouseEventHandled, 0.5f, 110,
                   0.6f},
        PressCase {"FreeClickOnHandle", CSliderMode::FreeClick, true, 0.5f, 65, kMouseEventHandled, 0.46f, 75,
                   0.56f},
        PressCase {"FreeClickBeside", CSliderMode::FreeClick, true, 0.5f, 100, kMouseEventHandled, 0.81f, 90,
                   0.71f},
        PressCase {"KSOnHandle", CSliderMode::KSFreeClick, true, 0.5f, 65, kMouseEventHandled, 0.5f, 75, 0.6f},
        PressCase {"KSOnHandleSnapsToWholeUnit", CSliderMode::KSFreeClick, true, 0.505f, 65, kMouseEventHandled,
                   0.5f, 75, 0.6f},
        PressCase {"KSBeside", CSliderMode::KSFreeClick, true, 0.5f, 100, kMouseEventHandled, 0.81f, 90, 0.71f},
        PressCase {"KSBeyondTheEnd", CSliderMode::KSFreeClick, true, 0.5f, 200, kMouseEventHandled, 1.f, 50, 0.31f},
        PressCase {"GlobalActsAsKS", CSliderMode::UseGlobal, true, 0.5f, 100, kMouseEventHandled, 0.81f, 90, 0.71f},
        PressCase {"RampOnHandle", CSliderMode::Ramp, true, 0.5f, 65, kMouseEventHandled, 0.5f, 75, 0.6f},
        PressCase {"RampBesideLeavesTheValueToTheTimer", CSliderMode::Ramp, true, 0.5f, 100, kMouseEventHandled,
                   0.5f, 90, 0.5f},
        PressCase {"VerticalKSBeside", CSliderMode::KSFreeClick, false, 0.5f, 100, kMouseEventHandled, 0.19f, 90,
                   0.29f},
        PressCase {"VerticalKSOnHandle", CSliderMode::KSFreeClick, false, 0.5f, 65, kMouseEventHandled, 0.5f, 75,
                   0.4f},
        PressCase {"VerticalFreeClickBeside", CSliderMode::FreeClick, false, 0.5f, 30, kMouseEventHandled, 0.89f,
                   20, 0.99f}),
    [] (const testing::TestParamInfo<PressCase>& info) { return info.param.name; });

//------------------------------------------------------------------------
namespace {

struct DefaultCase
{
	const char* name;
	CSliderMode mode;
	CCoord press;
	CMouseEventResult result;
	float value;
};

class SliderDefaultValueTest : public testing::TestWithParam<DefaultCase>
{
};

} // namespace

TEST_P (SliderDefaultValueTest, TheModifierResetsWhereTheModeAllowsIt)
{
	const auto& c = GetParam ();
	veltrane_test::ControlRecorder recorder;
	auto slider = makeSlider (kHorizontalView, kHorizontal | kLeft);
	slider->setListener (&recorder);
	slider->setSliderMode (c.mode);
	slider->setValue (0.3f); // handle from 40 to 60; the default is 0.5
	CPoint where (c.press, 5);
	EXPECT_EQ (slider->onMouseDown (where, kLButton | kAlt), c.result);
	EXPECT_NEAR (slider->getValue (), c.value, 1e-6);
	EXPECT_EQ (slider->isEditing (), c.result == kMouseEventHandled);
	if (c.value == 0.5f)
	{
		EXPECT_EQ (recorder.events, (std::vector<std::string> {"begin", "value 0.500000", "end"}));
	}
}

INSTANTIATE_TEST_SUITE_P (
    Slider, SliderDefaultValueTest,
    testing::Values (
        DefaultCase {"KSOnHandle", CSliderMode::KSFreeClick, 45, kMouseDownEventHandledButDontNeedMovedOrUpEvents,
                     0.5f},
        DefaultCase {"KSBeside", CSliderMode::KSFreeClick, 100, kMouseDownEventHandledButDontNeedMovedOrUpEvents,
                     0.5f},
        DefaultCase {"FreeClick", CSliderMode::FreeClick, 100, kMouseDownEventHandledButDontNeedMovedOrUpEvents,
                     0.5f},
        DefaultCase {"RelativeOnHandle", CSliderMode::RelativeTouch, 45,
                     kMouseDownEventHandledButDontNeedMovedOrUpEvents, 0.5f},
        DefaultCase {"RelativeBesideStartsADrag", CSliderMode::RelativeTouch, 100, kMouseEventHandled, 0.3f},
        DefaultCase {"TouchBesideIgnored", CSliderMode::Touch, 100, kMouseDownEventHandledButDontNeedMovedOrUpEvents,
                     0.3f}),
    [] (const testing::TestParamInfo<DefaultCase>& info) { return info.param.name; });

//------------------------------------------------------------------------
namespace {

class SliderDragTest : public testing::Test
{
protected:
	SliderDragTest ()
	{
		slider->setValue (0.5f);
		slider->setListener (&recorder);
	}

	CMouseEventResult press (CCoord x, int32_t buttons = kLButton)
	{
		CPoint where (x, 5);
		return slider->onMouseDown (where, buttons);
	}
	CMouseEventResult move (CCoord x, int32_t buttons = kLButton)
	{
		CPoint where (x, 5);
		return slider->onMouseMoved (where, buttons);
	}
	CMouseEventResult release ()
	{
		CPoint where;
		return slider->onMouseUp (where, kLButton);
	}

	ManualRunLoop clock;
	veltrane_test::ControlRecorder recorder;
	SharedPointer<CSlider> slider = makeSlider (kHorizontalView, kHorizontal | kLeft);
};

} // namespace

TEST_F (SliderDragTest, ZoomModifierAnchorsAFineDragAndReleasingItJumpsBack)
{
	EXPECT_EQ (press (65, kLButton | kShift), kMouseEventHandled);
	EXPECT_EQ (slider->getValue (), 0.5f);
	move (75, kLButton | kShift);
	EXPECT_NEAR (slider->getValue (), 0.51f, 1e-6);
	move (85, kLButton | kShift);
	EXPECT_NEAR (slider->getValue (), 0.52f, 1e-6);
	move (85);
	EXPECT_NEAR (slider->getValue (), 0.7f, 1e-6);
	// Pressing the modifier again anchors at the current value.
	move (95, kLButton | kShift);
	EXPECT_NEAR (slider->getValue (), 0.71f, 1e-6);
}

TEST_F (SliderDragTest, AZoomFactorThatIsNotPositiveDragsAtFullSpeed)
{
	for (float factor : {0.f, -2.f, std::numeric_limits<float>::quiet_NaN ()})
	{
		slider->setZoomFactor (factor);
		slider->setValue (0.5f);
		press (65, kLButton | kShift);
		move (65, kLButton | kShift);
		EXPECT_EQ (slider->getValue (), 0.5f) << factor;
		move (75, kLButton | kShift);
		EXPECT_NEAR (slider->getValue (), 0.6f, 1e-6) << factor;
		release ();
	}
}

TEST_F (SliderDragTest, OnlyTheLeftButtonPressesAndOnlyItAloneDrags)
{
	EXPECT_EQ (press (100, kRButton), kMouseEventNotHandled);
	EXPECT_FALSE (slider->isEditing ());
	EXPECT_EQ (press (100, kLButton | kRButton), kMouseEventNotHandled) << "the move inside the press";
	EXPECT_TRUE (slider->isEditing ());
	EXPECT_EQ (slider->getValue (), 0.5f);
	EXPECT_EQ (move (90, kLButton), kMouseEventHandled);
	EXPECT_EQ (move (50, kLButton | kMButton), kMouseEventNotHandled);
	EXPECT_NEAR (slider->getValue (), 0.71f, 1e-6);
}

TEST_F (SliderDragTest, CancelRestoresThePressValueAndClosesTheEdit)
{
	press (100);
	move (40);
	ASSERT_NEAR (slider->getValue (), 0.21f, 1e-6);
	EXPECT_EQ (slider->onMouseCancel (), kMouseEventHandled);
	EXPECT_EQ (slider->getValue (), 0.5f);
	EXPECT_FALSE (slider->isEditing ());
	EXPECT_EQ (recorder.events, (std::vector<std::string> {"begin", "value 0.810000", "value 0.210000",
	                                                       "value 0.500000", "end"}));
}

TEST_F (SliderDragTest, OnlyRealChangesAreReported)
{
	press (200);
	move (210);
	move (65);
	move (65);
	release ();
	EXPECT_EQ (recorder.events, (std::vector<std::string> {"begin", "value 1.000000", "value 0.460000", "end"}));
}

TEST_F (SliderDragTest, ReleaseOrCancelWithoutAnEditChangesNothing)
{
	EXPECT_EQ (release (), kMouseEventHandled);
	EXPECT_EQ (slider->onMouseCancel (), kMouseEventHandled);
	EXPECT_TRUE (recorder.events.empty ());
	EXPECT_EQ (slider->getValue (), 0.5f);
}

TEST_F (SliderDragTest, APressClosesAnEditTheWheelLeftOpen)
{
	slider->onWheel (CPoint (), kMouseWheelAxisX, -1.f, 0);
	ASSERT_TRUE (slider->isEditing ());
	press (100);
	release ();
	EXPECT_FALSE (slider->isEditing ());
	clock.advance (1000);
	EXPECT_EQ (recorder.events, (std::vector<std::string> {"begin", "value 0.600000", "end", "begin",
	                                                       "value 0.810000", "end"}));
}

//------------------------------------------------------------------------
namespace {

class SliderRampTest : public SliderDragTest
{
protected:
	SliderRampTest () { slider->setSliderMode (CSliderMode::Ramp); }
	void tick (int count = 1) { clock.advance (CSliderBase::kRampPeriod * count); }
};

} // namespace

TEST_F (SliderRampTest, StepsTowardsTheMouseAndLandsOnTheTarget)
{
	press (100); // target (100 - 19) / 100
	tick ();
	EXPECT_NEAR (slider->getValue (), 0.51f, 1e-6);
	tick (2);
	EXPECT_NEAR (slider->getValue (), 0.53f, 1e-6);
	tick (40);
	EXPECT_EQ (slider->getValue (), 0.81f);
	// Landed: the handle's middle now follows the mouse.
	move (90);
	EXPECT_NEAR (slider->getValue (), 0.71f, 1e-6);
	release ();
	EXPECT_FALSE (slider->isEditing ());
}

TEST_F (SliderRampTest, StepsDownwardsAndChasesTheLatestMouse)
{
	press (30); // below the handle: the value falls
	tick ();
	EXPECT_NEAR (slider->getValue (), 0.49f, 1e-6);
	move (100); // the ramp chases the new position instead
	tick ();
	EXPECT_NEAR (slider->getValue (), 0.5f, 1e-6);
}

TEST_F (SliderRampTest, ReversedStyleStepsTheOtherWay)
{
	slider->setStyle (kHorizontal | kRight);
	press (100); // value 0.5 keeps the handle at 60 to 80; the target is 1 - 0.81
	tick ();
	EXPECT_NEAR (slider->getValue (), 0.49f, 1e-6);
	tick (40);
	EXPECT_NEAR (slider->getValue (), 0.19f, 1e-6);
}

TEST_F (SliderRampTest, BeyondTheEndTheValueStopsAndTheRampRunsUntilRelease)
{
	press (100);
	move (500);
	tick (100);
	EXPECT_EQ (slider->getValue (), 1.f);
	move (40);
	EXPECT_EQ (slider->getValue (), 1.f) << "the ramp still owns the value";
	release ();
	tick (100);
	EXPECT_EQ (slider->getValue (), 1.f);
	EXPECT_EQ (recorder.events.back (), "end");
}

TEST_F (SliderRampTest, CancelStopsTheRamp)
{
	press (100);
	tick (5);
	slider->onMouseCancel ();
	tick (10);
	EXPECT_EQ (slider->getValue (), 0.5f);
}

TEST_F (SliderRampTest, DestroyingTheSliderStopsItsRamp)
{
	press (100);
	ASSERT_EQ (clock.timerCount (), 1u);
	slider = nullptr;
	EXPECT_EQ (clock.timerCount (), 0u) << "the ramp's timer outlived its slider";
	const size_t events = recorder.events.size ();
	tick (10);
	EXPECT_EQ (recorder.events.size (), events) << "a ramp step ran after the slider was gone";
}

TEST_F (SliderRampTest, ACopyMadeDuringARampHasNoRamp)
{
	press (100);
	auto copy = owned (static_cast<CSlider*> (slider->newCopy ()));
	copy->setValue (0.2f);
	tick ();
	EXPECT_EQ (copy->getValue (), 0.2f);
	EXPECT_NEAR (slider->getValue (), 0.51f, 1e-6);
}

TEST (SliderNoTravelTest, APressOnASliderWithoutTravelKeepsTheValue)
{
	ManualRunLoop clock;
	for (auto mode : {CSliderMode::Touch, CSliderMode::RelativeTouch, CSliderMode::FreeClick,
	                  CSliderMode::KSFreeClick, CSliderMode::Ramp})
	{
		auto slider = makeSlider (CRect (0, 0, 20, 20), kHorizontal | kLeft);
		ASSERT_EQ (travelOf (*slider).range, 0.);
		slider->setSliderMode (mode);
		slider->setValue (0.3f);
		CPoint where (5, 5);
		slider->onMouseDown (where, kLButton);
		clock.advance (CSliderBase::kRampPeriod);
		where.x = 15;
		slider->onMouseMoved (where, kLButton);
		EXPECT_EQ (slider->getValue (), 0.3f) << static_cast<int> (mode);
		slider->onMouseUp (where, kLButton);
	}
}
