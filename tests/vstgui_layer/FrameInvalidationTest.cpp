#include "tests/support/Pixels.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cframe.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/platform/iplatformframe.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <functional>
#include <ostream>
#include <vector>

using namespace VSTGUI;

namespace VSTGUI {
// Found by argument lookup, so that failures show rectangles as numbers.
static void PrintTo (const CRect& r, std::ostream* os)
{
	*os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}
} // namespace VSTGUI

namespace {

// The smallest rectangle that covers every rectangle the frame waits to draw.
CRect boundsOf (const CInvalidRectList& list)
{
	if (list.empty ())
		return {};
	CRect result = list.data ().front ();
	for (const CRect& r : list.data ())
	{
		result.left = std::min (result.left, r.left);
		result.top = std::min (result.top, r.top);
		result.right = std::max (result.right, r.right);
		result.bottom = std::max (result.bottom, r.bottom);
	}
	return result;
}

class RecordingPlatformFrame : public IPlatformFrame
{
public:
	void invalidRect (const CRect& rect) override { rects.push_back (rect); }
	std::vector<CRect> rects;
};

// A frame with a box at 100, 50 that holds a label, a button and a plain control, each somewhere
// inside the box; the changes below happen to one of them once the frame is drawn.
struct Editor
{
	Editor ()
	{
		auto* box = new CViewContainer (CRect (100, 50, 300, 150));
		label = new CTextLabel (CRect (10, 10, 110, 30), "old");
		button = new COnOffButton (CRect (10, 40, 30, 60));
		control = new COnOffButton (CRect (50, 40, 90, 60));
		box->addView (label);
		box->addView (button);
		box->addView (control);
		frame->addView (box);
		frame->setPlatformFrame (&platform);
		cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, 400, 200);
		context = owned (new CDrawContext (surface));
		cairo_surface_destroy (surface);
		frame->draw (context);
	}

	SharedPointer<CFrame> frame = owned (new CFrame (CRect (0, 0, 400, 200)));
	RecordingPlatformFrame platform;
	SharedPointer<CDrawContext> context;
	CTextLabel* label;
	COnOffButton* button;
	COnOffButton* control;
};

struct ChangeCase
{
	const char* name;
	std::function<void (Editor&)> change;
	CRect invalid; // in the frame's coordinates
};

class FrameInvalidationTest : public testing::TestWithParam<ChangeCase>
{
};

} // namespace

TEST_P (FrameInvalidationTest, AChangedViewMakesTheFrameDirtyOverItsRectangle)
{
	Editor editor;
	ASSERT_TRUE (editor.frame->getInvalidRects ().empty ()) << "drawing leaves nothing invalid";
	GetParam ().change (editor);
	EXPECT_EQ (boundsOf (editor.frame->getInvalidRects ()), GetParam ().invalid);
	ASSERT_EQ (editor.platform.rects.size (), 1u) << "the window hears of it";
	EXPECT_EQ (editor.platform.rects.front (), GetParam ().invalid);
	EXPECT_TRUE (editor.frame->drawInvalidRects (editor.context));
	EXPECT_TRUE (editor.frame->getInvalidRects ().empty ());
	EXPECT_FALSE (editor.frame->drawInvalidRects (editor.context)) << "nothing is drawn twice";
}

INSTANTIATE_TEST_SUITE_P (
    Frame, FrameInvalidationTest,
    testing::Values (
        ChangeCase {"LabelText", [] (Editor& e) { e.label->setText ("new"); }, CRect (110, 60, 210, 80)},
        ChangeCase {"ButtonClick",
                    [] (Editor& e) {
	                    CPoint where (120, 100);
	                    e.frame->onMouseDown (where, CButtonState (kLButton));
                    },
                    CRect (110, 90, 130, 110)},
        ChangeCase {"ControlValue",
                    [] (Editor& e) {
	                    e.control->setValue (1.f);
	                    e.control->invalid ();
                    },
                    CRect (150, 90, 190, 110)},
        ChangeCase {"DirtyControl", [] (Editor& e) { e.control->setDirty (true); }, CRect (150, 90, 190, 110)},
        ChangeCase {"WholeFrame", [] (Editor& e) { e.frame->invalid (); }, CRect (0, 0, 400, 200)}),
    [] (const testing::TestParamInfo<ChangeCase>& info) { return info.param.name; });

TEST (FrameInvalidation, AnUnchangedTextOrAViewOutsideAFrameInvalidatesNothing)
{
	Editor editor;
	editor.label->setText ("old");
	EXPECT_TRUE (editor.frame->getInvalidRects ().empty ());
	CTextLabel loose (CRect (0, 0, 10, 10), "a");
	loose.setText ("b");
	EXPECT_EQ (loose.getFrame (), nullptr);
	EXPECT_EQ (editor.label->getFrame (), editor.frame.get ());
}

TEST (FrameInvalidation, ARectangleInsideAnotherIsKeptOnceAndThePartOutsideTheFrameIsDropped)
{
	Editor editor;
	editor.frame->invalidRect (CRect (10, 10, 50, 50));
	editor.frame->invalidRect (CRect (20, 20, 30, 30));
	editor.frame->invalidRect (CRect (350, 150, 500, 300));
	ASSERT_EQ (editor.frame->getInvalidRects ().data ().size (), 2u);
	EXPECT_EQ (editor.frame->getInvalidRects ().data ()[1], CRect (350, 150, 400, 200));
}

TEST (FrameInvalidation, OnlyTheInvalidPartIsDrawnAgain)
{
	Editor editor;
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, 400, 200);
	auto context = owned (new CDrawContext (surface));
	editor.frame->setBackgroundColor (CColor (255, 0, 0, 255));
	editor.frame->drawInvalidRects (editor.context);
	editor.frame->invalidRect (CRect (0, 0, 10, 10));
	editor.frame->drawInvalidRects (context);
	EXPECT_EQ (veltrane_test::pixelAt (surface, 5, 5), 0xffff0000u);
	EXPECT_EQ (veltrane_test::pixelAt (surface, 50, 50), 0u) << "outside the invalid rectangle nothing was drawn";
	context = nullptr;
	cairo_surface_destroy (surface);
}

TEST (FrameFocus, APressGivesTheKeysToTheViewUnderTheMouseThatWantsThem)
{
	Editor editor;
	editor.button->setWantsFocus (true);
	CPoint onButton (120, 100);
	editor.frame->onMouseDown (onButton, CButtonState (kLButton));
	EXPECT_EQ (editor.frame->getFocusView (), editor.button);
	CPoint onLabel (150, 70);
	editor.frame->onMouseDown (onLabel, CButtonState (kLButton));
	EXPECT_EQ (editor.frame->getFocusView (), nullptr);
	VstKeyCode key;
	EXPECT_EQ (editor.frame->onKeyDown (key), -1);
}
