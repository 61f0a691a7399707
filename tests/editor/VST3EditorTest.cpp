#include "tests/support/Pixels.h"
#include "tests/support/TextHelpers.h"

#include "plugin/PlugVersion.h"
#include "plugin/controller/PlugController.h"
#include "plugin/processor/PlugParamIds.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/cparamdisplay.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/plugin-bindings/bundleresources.h"
#include "vstgui/plugin-bindings/vst3editor.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <fstream>
#include <map>
#include <string>
#include <vector>

using veltrane_test::toAscii;

using namespace Steinberg;
using namespace Steinberg::Vst;
using VSTGUI::CControl;
using VSTGUI::CView;
using VSTGUI::CViewContainer;

namespace {

// Records the edits that the editor reports to the host.
class EditRecorder : public FObject, public IComponentHandler
{
public:
	tresult PLUGIN_API beginEdit (ParamID id) override { return note ("begin", id, 0); }
	tresult PLUGIN_API performEdit (ParamID id, ParamValue value) override { return note ("perform", id, value); }
	tresult PLUGIN_API endEdit (ParamID id) override { return note ("end", id, 0); }
	tresult PLUGIN_API restartComponent (int32) override { return kResultOk; }

	struct Edit
	{
		std::string what;
		ParamID id;
		ParamValue value;
	};
	std::vector<Edit> edits;

	OBJ_METHODS (EditRecorder, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (IComponentHandler)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	tresult note (const char* what, ParamID id, ParamValue value)
	{
		edits.push_back ({what, id, value});
		return kResultOk;
	}
};

void collect (CView* view, std::vector<CView*>& views)
{
	views.push_back (view);
	if (auto* container = dynamic_cast<CViewContainer*> (view))
		for (CView* child : container->getChildren ())
			collect (child, views);
}

template <class ViewType>
std::vector<ViewType*> viewsOf (VSTGUI::VST3Editor& editor)
{
	std::vector<CView*> all;
	collect (editor.getFrame (), all);
	std::vector<ViewType*> found;
	for (CView* view : all)
		if (auto* typed = dynamic_cast<ViewType*> (view))
			found.push_back (typed);
	return found;
}

class EditorFixture : public testing::Test
{
protected:
	void SetUp () override
	{
		ASSERT_EQ (controller->initialize (&host), kResultOk);
		controller->setComponentHandler (&handler);
		editor = Steinberg::owned (new VSTGUI::VST3Editor (controller, "view", VELTRANE_SOURCE_UIDESC));
	}
	void TearDown () override
	{
		editor = nullptr;
		controller->setComponentHandler (nullptr);
		controller->terminate ();
	}

	// The about box's sub-controller at work: its button shows and hides the about text.
	void expectAWorkingAboutBox ()
	{
		auto buttons = viewsOf<VSTGUI::COnOffButton> (*editor);
		auto labels = viewsOf<VSTGUI::CTextLabel> (*editor);
		ASSERT_EQ (buttons.size (), 5u) << "the four switches and the about button";
		ASSERT_FALSE (labels.empty ());
		EXPECT_EQ (labels.back ()->getText ().getString (), "") << "a new about box starts closed";
		for (float value : {1.f, 0.f})
		{
			buttons.back ()->setValue (value);
			buttons.back ()->valueChanged ();
			EXPECT_EQ (labels.back ()->getText ().getString (),
			           value > 0.f ? std::string (kPlugVersion) + ", VST3 unknown  " : std::string ());
		}
	}

	CControl* controlWithTag (ParamID tag)
	{
		for (CControl* control : viewsOf<CControl> (*editor))
			if (control->getTag () == static_cast<int32_t> (tag))
				return control;
		return nullptr;
	}

	HostApplication host;
	EditRecorder handler;
	IPtr<PlugController> controller = Steinberg::owned (new PlugController);
	IPtr<VSTGUI::VST3Editor> editor;
};

struct PathCase
{
	const char* module;
	const char* file;
	const char* path;
};

class ResourcePaths : public testing::TestWithParam<PathCase>
{
};

const PathCase kPaths[] = {
    {"/p/Veltrane.vst3/Contents/x86_64-linux/Veltrane.so", "plug.uidesc",
     "/p/Veltrane.vst3/Contents/x86_64-linux/../Resources/plug.uidesc"},
    {"/p/Veltrane.vst3/Contents/x86_64-linux/Veltrane.so", "/elsewhere/plug.uidesc",
     "/elsewhere/plug.uidesc"},
    {"/Veltrane.so", "plug.uidesc", "/../Resources/plug.uidesc"},
    {"Veltrane.so", "plug.uidesc", "./../Resources/plug.uidesc"},
};

using veltrane_test::pixelAt;

uint32_t opaque (uint8_t red, uint8_t green, uint8_t blue)
{
	return 0xff000000u | (uint32_t (red) << 16) | (uint32_t (green) << 8) | blue;
}

// Counts the pixels of a rectangle that differ between two renderings.
int changedPixels (cairo_surface_t* before, cairo_surface_t* after, const VSTGUI::CRect& area)
{
	int changed = 0;
	for (int y = int (area.top); y < int (area.bottom); ++y)
		for (int x = int (area.left); x < int (area.right); ++x)
			changed += pixelAt (before, x, y) != pixelAt (after, x, y);
	return changed;
}

cairo_surface_t* render (VSTGUI::VST3Editor& editor)
{
	ViewRect size;
	editor.getSize (&size);
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, size.getWidth (), size.getHeight ());
	auto context = VSTGUI::owned (new VSTGUI::CDrawContext (surface));
	editor.getFrame ()->draw (context);
	return surface;
}

} // namespace

TEST_P (ResourcePaths, ResourcesLieBesideTheModuleFolder)
{
	EXPECT_EQ (VSTGUI::bundleResourcePath (GetParam ().module, GetParam ().file), GetParam ().path);
}

INSTANTIATE_TEST_SUITE_P (Bundle, ResourcePaths, testing::ValuesIn (kPaths));

TEST (Bundle, TheModuleFindsItsOwnResources)
{
	const std::string path = VSTGUI::findBundleResource ("plug.uidesc");
	ASSERT_NE (path.find ("/../Resources/plug.uidesc"), std::string::npos) << path;
	EXPECT_TRUE (std::ifstream (path).good ()) << path;
}

TEST_F (EditorFixture, OpeningBuildsTheViewsAndTheAboutController)
{
	ASSERT_TRUE (editor->open ());
	ASSERT_NE (editor->getFrame (), nullptr);
	EXPECT_EQ (editor->getFrame ()->getViewSize (), VSTGUI::CRect (0, 0, 520, 300));
	expectAWorkingAboutBox ();
	editor->close ();
	EXPECT_EQ (editor->getFrame (), nullptr);
	// The views go with the frame, and the about sub-controller with its view (the sanitizer
	// builds report one left behind); a new one serves the new views.
	ASSERT_TRUE (editor->open ());
	expectAWorkingAboutBox ();
}

TEST_F (EditorFixture, ReleasingAnOpenEditorDeletesItsAboutController)
{
	ASSERT_TRUE (editor->open ());
	expectAWorkingAboutBox ();
	// The sanitizer builds report an about controller left behind.
	editor = nullptr;
}

TEST_F (EditorFixture, ControlsShowAndFollowTheParameters)
{
	controller->setParamNormalized (kDelayId, 0.3);
	ASSERT_TRUE (editor->open ());
	CControl* delay = controlWithTag (kDelayId);
	ASSERT_NE (delay, nullptr);
	EXPECT_FLOAT_EQ (delay->getValueNormalized (), 0.3f);
	ASSERT_NE (controlWithTag (kDriveBypassId), nullptr);
	EXPECT_FLOAT_EQ (controlWithTag (kDriveBypassId)->getValueNormalized (), 1.f);

	controller->setParamNormalized (kDelayId, 0.75);
	EXPECT_FLOAT_EQ (delay->getValueNormalized (), 0.75f);
	editor->close ();
	// A closed editor no longer listens.
	controller->setParamNormalized (kDelayId, 0.5);
}

TEST_F (EditorFixture, ControlEditsReachTheControllerAndTheHost)
{
	ASSERT_TRUE (editor->open ());
	CControl* mix = controlWithTag (kMixId);
	ASSERT_NE (mix, nullptr);
	mix->beginEdit ();
	mix->setValueNormalized (0.25f);
	mix->valueChanged ();
	mix->endEdit ();
	EXPECT_DOUBLE_EQ (controller->getParamNormalized (kMixId), 0.25);
	ASSERT_EQ (handler.edits.size (), 3u);
	EXPECT_EQ (handler.edits[0].what, "begin");
	EXPECT_EQ (handler.edits[1].what, "perform");
	EXPECT_EQ (handler.edits[1].id, kMixId);
	EXPECT_DOUBLE_EQ (handler.edits[1].value, 0.25);
	EXPECT_EQ (handler.edits[2].what, "end");
}

struct SwitchCase
{
	ParamID tag;
	double hostValue; // what the host had set before the clicks
	std::vector<double> sent; // the values of three clicks in a row
};

class SwitchClicks : public EditorFixture, public testing::WithParamInterface<SwitchCase>
{
};

const SwitchCase kSwitches[] = {
    {kBypassId, 0.0, {1.0, 0.0, 1.0}},      {kShiftBypassId, 0.0, {1.0, 0.0, 1.0}},
    {kDriveBypassId, 1.0, {0.0, 1.0, 0.0}}, {kDecorrBypassId, 0.0, {1.0, 0.0, 1.0}},
    // A value in between counts as on above the middle, as the parameter's text and the audio do.
    {kBypassId, 0.6, {0.0, 1.0, 0.0}},      {kShiftBypassId, 0.4, {1.0, 0.0, 1.0}},
};

// Clicks in the middle of a switch, as the window does, and checks what the host receives.
TEST_P (SwitchClicks, SendOnlyZeroOrOneInBalancedEdits)
{
	const SwitchCase& c = GetParam ();
	controller->setParamNormalized (c.tag, c.hostValue);
	ASSERT_TRUE (editor->open ());
	CControl* button = controlWithTag (c.tag);
	ASSERT_NE (dynamic_cast<VSTGUI::COnOffButton*> (button), nullptr);
	const VSTGUI::CRect& box = button->getViewSize ();
	for (double expected : c.sent)
	{
		handler.edits.clear ();
		VSTGUI::CPoint middle ((box.left + box.right) / 2, (box.top + box.bottom) / 2);
		editor->getFrame ()->onMouseDown (middle, VSTGUI::CButtonState (VSTGUI::kLButton));
		editor->getFrame ()->onMouseUp (middle, VSTGUI::CButtonState (VSTGUI::kLButton));
		ASSERT_EQ (handler.edits.size (), 3u);
		EXPECT_EQ (handler.edits[0].what, "begin");
		EXPECT_EQ (handler.edits[1].what, "perform");
		EXPECT_EQ (handler.edits[1].id, c.tag);
		EXPECT_EQ (handler.edits[1].value, expected);
		EXPECT_EQ (handler.edits[2].what, "end");
		EXPECT_EQ (controller->getParamNormalized (c.tag), expected);
	}
}

INSTANTIATE_TEST_SUITE_P (Editor, SwitchClicks, testing::ValuesIn (kSwitches));

// Each switch is lit exactly while it is on, and draws nothing outside its rectangle.
TEST_F (EditorFixture, SwitchesShowTheirStateWithinTheirRectangle)
{
	const uint32_t panel = opaque (0x24, 0x28, 0x2c);
	const uint32_t lit = opaque (74, 163, 223);
	ASSERT_TRUE (editor->open ());
	for (ParamID tag : {kDriveBypassId, kDecorrBypassId, kShiftBypassId, kBypassId})
	{
		CControl* button = controlWithTag (tag);
		ASSERT_NE (button, nullptr) << tag;
		const VSTGUI::CRect& box = button->getViewSize ();
		const int midX = int (box.left + box.right) / 2;
		const int midY = int (box.top + box.bottom) / 2;
		for (int click = 0; click < 2; ++click)
		{
			cairo_surface_t* shown = render (*editor);
			const bool on = controller->getParamNormalized (tag) > 0.5;
			EXPECT_EQ (pixelAt (shown, midX, midY) == lit, on) << tag;
			EXPECT_NE (pixelAt (shown, int (box.left), midY), panel) << tag << " has a frame";
			EXPECT_NE (pixelAt (shown, int (box.right) - 1, midY), panel) << tag << " has a frame";
			EXPECT_EQ (pixelAt (shown, int (box.left) - 1, midY), panel) << tag;
			EXPECT_EQ (pixelAt (shown, int (box.right), midY), panel) << tag;
			EXPECT_EQ (pixelAt (shown, midX, int (box.top) - 1), panel) << tag;
			EXPECT_EQ (pixelAt (shown, midX, int (box.bottom)), panel) << tag;
			cairo_surface_destroy (shown);
			VSTGUI::CPoint middle (midX, midY);
			editor->getFrame ()->onMouseDown (middle, VSTGUI::CButtonState (VSTGUI::kLButton));
			editor->getFrame ()->onMouseUp (middle, VSTGUI::CButtonState (VSTGUI::kLButton));
		}
	}
}

VSTGUI::CParamDisplay* displayWithTag (VSTGUI::VST3Editor& editor, ParamID tag)
{
	for (auto* display : viewsOf<VSTGUI::CParamDisplay> (editor))
		if (display->getTag () == static_cast<int32_t> (tag) && !dynamic_cast<VSTGUI::CTextLabel*> (display))
			return display;
	return nullptr;
}

struct ValueTextCase
{
	ParamID tag;
	double value;
	const char* text;
};

class ValueTexts : public EditorFixture, public testing::WithParamInterface<ValueTextCase>
{
};

const ValueTextCase kValueTexts[] = {
    {kDelayId, 0.75, "75 %"},  {kMixId, 0.5, "50 %"},      {kCentreId, 0.0, "0 %"},
    {kColorId, 1.0, "100 %"},  {kDriveId, 0.333, "33 %"},  {kShiftId, 0.1, "10 %"},
    {kDriveBypassId, 0.0, "Off"}, {kBypassId, 1.0, "On"}, {kShiftBypassId, 0.6, "On"},
    {kDecorrBypassId, 0.5, "Off"},
};

// The display follows a value the host sets, shows the controller's text with its units, and
// redraws over its own rectangle.
TEST_P (ValueTexts, DisplaysShowTheControllersTextWithItsUnits)
{
	const ValueTextCase& c = GetParam ();
	ASSERT_TRUE (editor->open ());
	VSTGUI::CParamDisplay* display = displayWithTag (*editor, c.tag);
	ASSERT_NE (display, nullptr);
	// The text is that of the value asked about, whatever the display shows now.
	EXPECT_EQ (display->getValueText (static_cast<float> (c.value)), c.text);
	const std::string textBefore = display->getValueText (display->getValue ());
	cairo_surface_t* shownBefore = render (*editor);

	controller->setParamNormalized (c.tag, c.value);
	EXPECT_EQ (display->getValueText (display->getValue ()), c.text);
	String128 controllerText {};
	ASSERT_EQ (controller->getParamStringByValue (c.tag, c.value, controllerText), kResultOk);
	EXPECT_EQ (std::string (c.text).rfind (toAscii (controllerText), 0), 0u) << "starts with the controller's text";

	cairo_surface_t* shownAfter = render (*editor);
	const VSTGUI::CRect& box = display->getViewSize ();
	EXPECT_EQ (changedPixels (shownBefore, shownAfter, box) > 0, textBefore != c.text);
	cairo_surface_destroy (shownAfter);
	cairo_surface_destroy (shownBefore);
}

INSTANTIATE_TEST_SUITE_P (Editor, ValueTexts, testing::ValuesIn (kValueTexts));

TEST_F (EditorFixture, ADragShowsItsValueInTheDisplay)
{
	ASSERT_TRUE (editor->open ());
	VSTGUI::CParamDisplay* display = displayWithTag (*editor, kMixId);
	ASSERT_NE (display, nullptr);
	EXPECT_EQ (display->getValueText (display->getValue ()), "50 %");
	// A press near the top of the "Mix" slider (332, 72, 28 × 150) jumps there in its mode.
	VSTGUI::CPoint nearTop (346, 80);
	editor->getFrame ()->onMouseDown (nearTop, VSTGUI::CButtonState (VSTGUI::kLButton));
	editor->getFrame ()->onMouseUp (nearTop, VSTGUI::CButtonState (VSTGUI::kLButton));
	String128 expected {};
	controller->getParamStringByValue (kMixId, controller->getParamNormalized (kMixId), expected);
	EXPECT_GT (controller->getParamNormalized (kMixId), 0.5);
	EXPECT_EQ (display->getValueText (display->getValue ()), toAscii (expected) + " %");
}

TEST_F (EditorFixture, MousePressesReachTheViewUnderTheMouse)
{
	ASSERT_TRUE (editor->open ());
	VSTGUI::CFrame* frame = editor->getFrame ();
	auto labels = viewsOf<VSTGUI::CTextLabel> (*editor);
	// The about button lies at 0, 2 inside the about box at 64, 266.
	VSTGUI::CPoint onButton (80, 277);
	frame->onMouseDown (onButton, VSTGUI::CButtonState (VSTGUI::kLButton));
	EXPECT_EQ (labels.back ()->getText ().getString (), std::string (kPlugVersion) + ", VST3 unknown  ");
	VSTGUI::CPoint beside (130, 277);
	frame->onMouseDown (beside, VSTGUI::CButtonState (VSTGUI::kLButton));
	EXPECT_EQ (labels.back ()->getText ().getString (), std::string (kPlugVersion) + ", VST3 unknown  ");

	// A press low on the "Mix" slider (332, 72, 28 × 150) and its release edit the parameter.
	VSTGUI::CPoint onMix (346, 215);
	frame->onMouseDown (onMix, VSTGUI::CButtonState (VSTGUI::kLButton));
	frame->onMouseUp (onMix, VSTGUI::CButtonState (VSTGUI::kLButton));
	EXPECT_LT (controller->getParamNormalized (kMixId), 0.5);
	ASSERT_FALSE (handler.edits.empty ());
	EXPECT_EQ (handler.edits.front ().what, "begin");
	EXPECT_EQ (handler.edits.front ().id, kMixId);
	EXPECT_EQ (handler.edits.back ().what, "end");
}

TEST_F (EditorFixture, RendersOffscreen)
{
	ASSERT_TRUE (editor->open ());
	cairo_surface_t* closed = render (*editor);
	ASSERT_EQ (cairo_surface_status (closed), CAIRO_STATUS_SUCCESS);
	EXPECT_EQ (pixelAt (closed, 2, 2), opaque (0x24, 0x28, 0x2c));
	// The slider column of "Delay" is drawn over the panel.
	int differentFromPanel = 0;
	for (int y = 72; y < 222; ++y)
		differentFromPanel += pixelAt (closed, 46, y) != opaque (0x24, 0x28, 0x2c);
	EXPECT_GT (differentFromPanel, 0);

	auto buttons = viewsOf<VSTGUI::COnOffButton> (*editor);
	auto labels = viewsOf<VSTGUI::CTextLabel> (*editor);
	ASSERT_EQ (buttons.size (), 5u);
	buttons.back ()->setValue (1.f);
	buttons.back ()->valueChanged ();
	EXPECT_EQ (labels.back ()->getText ().getString (), std::string (kPlugVersion) + ", VST3 unknown  ");
	cairo_surface_t* opened = render (*editor);
	// The about text appears in the about box's label, and nothing changes far from it.
	EXPECT_GT (changedPixels (closed, opened, VSTGUI::CRect (106, 268, 504, 286)), 20);
	EXPECT_EQ (changedPixels (closed, opened, VSTGUI::CRect (0, 0, 520, 260)), 0);
	EXPECT_EQ (cairo_surface_write_to_png (opened, (testing::TempDir () + "veltrane-editor.png").c_str ()),
	           CAIRO_STATUS_SUCCESS);
	cairo_surface_destroy (opened);
	cairo_surface_destroy (closed);
}

TEST_F (EditorFixture, AttachesOnlyToAnX11Window)
{
	EXPECT_EQ (editor->isPlatformTypeSupported (kPlatformTypeX11EmbedWindowID), kResultTrue);
	EXPECT_EQ (editor->isPlatformTypeSupported (kPlatformTypeHWND), kResultFalse);
	EXPECT_EQ (editor->isPlatformTypeSupported (nullptr), kResultFalse);
	EXPECT_EQ (editor->attached (nullptr, kPlatformTypeHWND), kResultFalse);
	// Without a parent window nothing stays open.
	EXPECT_EQ (editor->attached (nullptr, kPlatformTypeX11EmbedWindowID), kResultFalse);
	EXPECT_EQ (editor->getFrame (), nullptr);
}

TEST (EditorWithoutDescription, HasNoSizeAndDoesNotOpen)
{
	HostApplication host;
	IPtr<PlugController> controller = Steinberg::owned (new PlugController);
	ASSERT_EQ (controller->initialize (&host), kResultOk);
	auto editor = Steinberg::owned (new VSTGUI::VST3Editor (controller, "view", "/nonexistent/plug.uidesc"));
	ViewRect size;
	ASSERT_EQ (editor->getSize (&size), kResultOk);
	EXPECT_EQ (size.getWidth (), 0);
	EXPECT_FALSE (editor->open ());
	auto unknownTemplate = Steinberg::owned (new VSTGUI::VST3Editor (controller, "other", VELTRANE_SOURCE_UIDESC));
	EXPECT_FALSE (unknownTemplate->open ());
	controller->terminate ();
}
