#include "SliderTestSupport.h"

#include "tests/support/ManualRunLoop.h"

#include "vstgui/lib/cvstguitimer.h"

#include <gtest/gtest.h>

using veltrane_test::ManualRunLoop;

using namespace VSTGUI;
using namespace VSTGUI::Testing;

namespace {

const CRect kView (0, 0, 120, 20);

struct WheelCase
{
	const char* name;
	int32_t style;
	CMouseWheelAxis axis;
	int32_t buttons;
	bool handled;
	float value;
};

class SliderWheelTest : public testing::TestWithParam<WheelCase>
{
};

} // namespace

TEST_P (SliderWheelTest, StepsAlongItsOwnAxis)
{
	const auto& c = GetParam ();
	ManualRunLoop clock;
	auto slider = makeSlider (kView, c.style);
	slider->setValue (0.5f);
	EXPECT_EQ (slider->onWheel (CPoint (), c.axis, 1.f, c.buttons), c.handled);
	EXPECT_NEAR (slider->getValue (), c.value, 1e-6);
	EXPECT_EQ (slider->isEditing (), c.handled);
	clock.advance (CMouseWheelEditingSupport::kEditTimeout);
	EXPECT_FALSE (slider->isEditing ());
}

INSTANTIATE_TEST_SUITE_P (
    Slider, SliderWheelTest,
    testing::Values (WheelCase {"VerticalUp", kVertical | kBottom, kMouseWheelAxisY, 0, true, 0.6f},
                     WheelCase {"VerticalFine", kVertical | kBottom, kMouseWheelAxisY, kShift, true, 0.51f},
                     WheelCase {"VerticalReversed", kVertical | kTop, kMouseWheelAxisY, 0, true, 0.4f},
                     WheelCase {"VerticalIgnoresX", kVertical | kBottom, kMouseWheelAxisX, 0, false, 0.5f},
                     WheelCase {"HorizontalLeft", kHorizontal | kLeft, kMouseWheelAxisX, 0, true, 0.4f},
                     WheelCase {"HorizontalRight", kHorizontal | kRight, kMouseWheelAxisX, 0, true, 0.6f},
                     WheelCase {"HorizontalIgnoresY", kHorizontal | kLeft, kMouseWheelAxisY, 0, false, 0.5f}),
    [] (const testing::TestParamInfo<WheelCase>& info) { return info.param.name; });

TEST (SliderWheelEditTest, ARunOfWheelEventsIsOneEditAndADisabledSliderIgnoresThem)
{
	ManualRunLoop clock;
	veltrane_test::ControlRecorder recorder;
	auto slider = makeSlider (kView, kVertical | kBottom);
	slider->setListener (&recorder);
	slider->setValue (0.5f);
	slider->onWheel (CPoint (), kMouseWheelAxisY, 1.f, 0);
	clock.advance (300);
	slider->onWheel (CPoint (), kMouseWheelAxisY, 1.f, 0);
	clock.advance (300);
	EXPECT_TRUE (slider->isEditing ());
	clock.advance (200);
	EXPECT_EQ (recorder.events, (std::vector<std::string> {"begin", "value 0.600000", "value 0.700000", "end"}));

	slider->setMouseEnabled (false);
	EXPECT_FALSE (slider->onWheel (CPoint (), kMouseWheelAxisY, 1.f, 0));
	EXPECT_NEAR (slider->getValue (), 0.7f, 1e-6);
}

//------------------------------------------------------------------------
namespace {

struct KeyCase
{
	const char* name;
	int32_t style;
	unsigned char key;
	unsigned char modifier;
	int32_t answer;
	float value;
};

class SliderKeyTest : public testing::TestWithParam<KeyCase>
{
};

} // namespace

TEST_P (SliderKeyTest, ArrowsStepByTheWheelIncrement)
{
	const auto& c = GetParam ();
	veltrane_test::ControlRecorder recorder;
	auto slider = makeSlider (kView, c.style);
	slider->setListener (&recorder);
	slider->setValue (0.5f);
	slider->setDirty (false);
	VstKeyCode key;
	key.virt = c.key;
	key.modifier = c.modifier;
	EXPECT_EQ (slider->onKeyDown (key), c.answer);
	EXPECT_NEAR (slider->getValue (), c.value, 1e-6);
	EXPECT_FALSE (slider->isEditing ());
	if (c.value != 0.5f)
	{
		ASSERT_EQ (recorder.events.size (), 3u);
		EXPECT_EQ (recorder.events.front (), "begin");
		EXPECT_EQ (recorder.events.back (), "end");
	}
	else
		EXPECT_TRUE (recorder.events.empty ());
}

INSTANTIATE_TEST_SUITE_P (
    Slider, SliderKeyTest,
    testing::Values (KeyCase {"UpOnTopIsDown", kVertical | kTop, VKEY_UP, 0, 1, 0.4f},
                     KeyCase {"UpOnTopFine", kVertical | kTop, VKEY_UP, MODIFIER_SHIFT, 1, 0.49f},
                     KeyCase {"UpOnBottom", kVertical | kBottom, VKEY_UP, 0, 1, 0.6f},
                     KeyCase {"DownOnBottom", kVertical | kBottom, VKEY_DOWN, 0, 1, 0.4f},
                     KeyCase {"RightOnVertical", kVertical | kBottom, VKEY_RIGHT, 0, 1, 0.6f},
                     KeyCase {"RightOnLeft", kHorizontal | kLeft, VKEY_RIGHT, 0, 1, 0.6f},
                     KeyCase {"LeftOnLeft", kHorizontal | kLeft, VKEY_LEFT, 0, 1, 0.4f},
                     KeyCase {"RightOnRight", kHorizontal | kRight, VKEY_RIGHT, 0, 1, 0.4f},
                     KeyCase {"AltIsNotFine", kHorizontal | kLeft, VKEY_RIGHT, MODIFIER_ALTERNATE, 1, 0.6f},
                     KeyCase {"OtherKey", kHorizontal | kLeft, VKEY_RETURN, 0, -1, 0.5f},
                     KeyCase {"EscapeWithoutEdit", kHorizontal | kLeft, VKEY_ESCAPE, 0, -1, 0.5f}),
    [] (const testing::TestParamInfo<KeyCase>& info) { return info.param.name; });

TEST (SliderKeyEdgeTest, AKeyAtTheEndChangesNothingAndTellsNoOne)
{
	veltrane_test::ControlRecorder recorder;
	auto slider = makeSlider (kView, kHorizontal | kLeft);
	slider->setListener (&recorder);
	slider->setValue (1.f);
	slider->setDirty (false);
	VstKeyCode key;
	key.virt = VKEY_RIGHT;
	EXPECT_EQ (slider->onKeyDown (key), 1);
	EXPECT_EQ (slider->getValue (), 1.f);
	EXPECT_TRUE (recorder.events.empty ());
}

TEST (SliderKeyEdgeTest, EscapeDuringADragRestoresThePressValue)
{
	veltrane_test::ControlRecorder recorder;
	auto slider = makeSlider (kView, kHorizontal | kLeft);
	slider->setSliderMode (CSliderMode::FreeClick);
	slider->setListener (&recorder);
	slider->setValue (0.5f);
	CPoint where (90, 5);
	slider->onMouseDown (where, kLButton);
	ASSERT_NE (slider->getValue (), 0.5f);
	VstKeyCode key;
	key.virt = VKEY_ESCAPE;
	EXPECT_EQ (slider->onKeyDown (key), 1);
	EXPECT_EQ (slider->getValue (), 0.5f);
	EXPECT_FALSE (slider->isEditing ());
	EXPECT_EQ (recorder.events.back (), "end");
}

TEST (SliderKeyEdgeTest, EscapeDuringAWheelEditRevertsTheWheelRunNotAnEarlierPress)
{
	ManualRunLoop clock;
	auto slider = makeSlider (CRect (0, 10, 20, 130), kVertical | kBottom);
	slider->setSliderMode (CSliderMode::FreeClick);
	CPoint where (5, 60); // value (60 - 19) / 100 placed from the bottom
	slider->onMouseDown (where, kLButton);
	slider->onMouseUp (where, kLButton);
	ASSERT_NEAR (slider->getValue (), 0.59f, 1e-6);
	slider->setValue (0.2f);
	slider->onWheel (CPoint (), kMouseWheelAxisY, 1.f, 0);
	slider->onWheel (CPoint (), kMouseWheelAxisY, 1.f, 0);
	ASSERT_NEAR (slider->getValue (), 0.4f, 1e-6);
	VstKeyCode key;
	key.virt = VKEY_ESCAPE;
	EXPECT_EQ (slider->onKeyDown (key), 1);
	EXPECT_EQ (slider->getValue (), 0.2f);
	EXPECT_FALSE (slider->isEditing ());
	clock.advance (CMouseWheelEditingSupport::kEditTimeout);
	EXPECT_FALSE (slider->isEditing ());
}

TEST (SliderEditBalanceTest, AWheelEditDuringADragNeitherEndsTheDragNorOutlivesIt)
{
	ManualRunLoop clock;
	veltrane_test::ControlRecorder recorder;
	auto slider = makeSlider (CRect (0, 10, 20, 130), kVertical | kBottom);
	slider->setListener (&recorder);
	slider->setSliderMode (CSliderMode::FreeClick);
	CPoint where (5, 60);
	slider->onMouseDown (where, kLButton);
	slider->onWheel (CPoint (), kMouseWheelAxisY, 1.f, 0);
	clock.advance (CMouseWheelEditingSupport::kEditTimeout);
	EXPECT_TRUE (slider->isEditing ()) << "the drag's edit is still open";
	where.y = 40;
	slider->onMouseMoved (where, kLButton);
	slider->onMouseUp (where, kLButton);
	EXPECT_FALSE (slider->isEditing ());
	EXPECT_EQ (recorder.events,
	           (std::vector<std::string> {"begin", "value 0.590000", "value 0.690000", "value 0.790000", "end"}));
}

TEST (SliderEditBalanceTest, AWheelEventRightAfterEscapeOpensANewEdit)
{
	ManualRunLoop clock;
	veltrane_test::ControlRecorder recorder;
	auto slider = makeSlider (kView, kVertical | kBottom);
	slider->setListener (&recorder);
	slider->setValue (0.5f);
	slider->onWheel (CPoint (), kMouseWheelAxisY, 1.f, 0);
	VstKeyCode escape;
	escape.virt = VKEY_ESCAPE;
	EXPECT_EQ (slider->onKeyDown (escape), 1);
	clock.advance (100);
	slider->onWheel (CPoint (), kMouseWheelAxisY, 1.f, 0);
	EXPECT_TRUE (slider->isEditing ());
	clock.advance (CMouseWheelEditingSupport::kEditTimeout);
	EXPECT_FALSE (slider->isEditing ());
	EXPECT_EQ (recorder.events, (std::vector<std::string> {"begin", "value 0.600000", "value 0.500000", "end", "begin",
	                                                       "value 0.600000", "end"}));
}
