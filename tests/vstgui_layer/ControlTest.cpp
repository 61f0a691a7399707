#include "tests/support/ControlRecorder.h"
#include "tests/support/ManualRunLoop.h"

#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/icontrollistener.h"
#include "vstgui/lib/cvstguitimer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

class TestControl : public CControl, public CMouseWheelEditingSupport
{
public:
	TestControl (IControlListener* listener = nullptr) : CControl (CRect (0, 0, 50, 10), listener, 7) {}
	CView* newCopy () const override { return new TestControl (*this); }

	void wheel () { onMouseWheelEditing (this); }
	void resetWheel () { invalidMouseWheelEditTimer (this); }
};


} // namespace

TEST (ControlTest, NormalizedValueClampsAndMapsOntoTheRange)
{
	TestControl control;
	control.setMin (-10.f);
	control.setMax (10.f);
	const struct
	{
		float normalized;
		float value;
	} cases[] = {{0.25f, -5.f}, {-3.f, -10.f}, {4.f, 10.f}, {std::numeric_limits<float>::quiet_NaN (), -10.f}};
	for (const auto& c : cases)
	{
		control.setValueNormalized (c.normalized);
		EXPECT_FLOAT_EQ (control.getValue (), c.value) << c.normalized;
	}
	control.setMax (-10.f);
	EXPECT_EQ (control.getValueNormalized (), 0.f);
}

TEST (ControlTest, DefaultValueNeedsTheLeftButtonWithTheModifierAlone)
{
	veltrane_test::ControlRecorder listener;
	TestControl control (&listener);
	control.setValue (0.9f);
	EXPECT_FALSE (control.checkDefaultValue (kLButton));
	EXPECT_FALSE (control.checkDefaultValue (kLButton | kAlt | kShift));
	EXPECT_FALSE (control.checkDefaultValue (kRButton | kAlt));
	EXPECT_TRUE (listener.events.empty ());

	EXPECT_TRUE (control.checkDefaultValue (kLButton | kAlt));
	EXPECT_EQ (control.getValue (), 0.5f);
	EXPECT_EQ (listener.events, (std::vector<std::string> {"begin", "value 0.500000", "end"}));
	EXPECT_TRUE (control.checkDefaultValue (kLButton | kAlt));
	EXPECT_EQ (listener.events.size (), 3u) << "no edit when already at the default";
}

TEST (ControlTest, EditsNestAndEveryListenerHearsThem)
{
	veltrane_test::ControlRecorder main, extra;
	TestControl control (&main);
	control.registerControlListener (&extra);
	control.beginEdit ();
	control.beginEdit ();
	EXPECT_TRUE (control.isEditing ());
	control.endEdit ();
	EXPECT_TRUE (control.isEditing ());
	control.endEdit ();
	control.endEdit (); // unbalanced: ignored
	EXPECT_FALSE (control.isEditing ());
	control.unregisterControlListener (&extra);
	control.valueChanged ();
	EXPECT_EQ (main.events, (std::vector<std::string> {"begin", "end", "value 0.000000"}));
	EXPECT_EQ (extra.events, (std::vector<std::string> {"begin", "end"}));
}

TEST (ControlTest, DirtyUntilTheCurrentValueIsDrawn)
{
	TestControl control;
	EXPECT_TRUE (control.isDirty ());
	control.setDirty (false);
	EXPECT_FALSE (control.isDirty ());
	control.setValue (0.3f);
	EXPECT_TRUE (control.isDirty ());
	control.setDirty (false);
	control.setDirty (true);
	EXPECT_TRUE (control.isDirty ());
}

TEST (ControlTest, KeyModifiersMapToButtonStateBits)
{
	EXPECT_EQ (CControl::mapVstKeyModifier (0), 0);
	EXPECT_EQ (CControl::mapVstKeyModifier (MODIFIER_SHIFT), kShift);
	EXPECT_EQ (CControl::mapVstKeyModifier (MODIFIER_ALTERNATE | MODIFIER_COMMAND | MODIFIER_CONTROL),
	           kAlt | kApple | kControl);
}

TEST (MouseWheelEditingTest, ARunOfWheelEventsIsOneEditClosedAfterAPause)
{
	veltrane_test::ManualRunLoop clock;
	veltrane_test::ControlRecorder listener;
	TestControl control (&listener);
	control.wheel ();
	clock.advance (400);
	control.wheel ();
	clock.advance (400);
	EXPECT_TRUE (control.isEditing ()) << "the second event re-armed the timer";
	clock.advance (100);
	EXPECT_FALSE (control.isEditing ());
	EXPECT_EQ (listener.events, (std::vector<std::string> {"begin", "end"}));
}

TEST (MouseWheelEditingTest, ResetClosesTheOpenEditOnce)
{
	veltrane_test::ManualRunLoop clock;
	veltrane_test::ControlRecorder listener;
	TestControl control (&listener);
	control.wheel ();
	control.resetWheel ();
	EXPECT_FALSE (control.isEditing ());
	clock.advance (1000);
	EXPECT_EQ (listener.events, (std::vector<std::string> {"begin", "end"}));
}
