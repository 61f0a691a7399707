#include "DawPlugFrame.h"
#include "EditLog.h"
#include "TestDisplay.h"
#include "UiLayout.h"
#include "XvfbServer.h"

#include "tools/vst3host/ControllerInstance.h"
#include "tools/vst3host/PluginModule.h"

#include "plugin/factory/PlugCids.h"
#include "plugin/processor/PlugParamIds.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

#include <dirent.h>

#include <memory>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace std::chrono_literals;
using Veltrane::Host::ControllerInstance;
using Veltrane::Host::PluginModule;

namespace Steinberg {
DEF_CLASS_IID (IPlugFrame)
DEF_CLASS_IID (IPlugView)
namespace Linux {
DEF_CLASS_IID (IRunLoop)
DEF_CLASS_IID (IEventHandler)
DEF_CLASS_IID (ITimerHandler)
} // namespace Linux
} // namespace Steinberg

namespace {

constexpr int kScreenWidth = 1600;
constexpr int kScreenHeight = 400;
constexpr int kEditorSpacing = 540;
// What a DAW refreshing on time does in 100 ms.
constexpr int kTicksIn100ms = 100 / DawPlugFrame::kFrameTick;
// The wheel's edit closes after 500 ms without wheel events.
constexpr int kTicksToCloseAWheelEdit = 800 / DawPlugFrame::kFrameTick;

constexpr uint8_t kLeftButton = 1;
constexpr uint8_t kWheelUp = 4;
constexpr uint32_t kKeyUp = 0xff52;
constexpr uint32_t kKeypadUp = 0xff97;
constexpr uint32_t kKeyEscape = 0xff1b;
constexpr uint32_t kKeyShift = 0xffe1;

const std::string kUiDescription = std::string (VELTRANE_BUNDLE_PATH) + "/Contents/Resources/plug.uidesc";

size_t openDescriptorCount ()
{
	size_t count = 0;
	if (DIR* dir = opendir ("/proc/self/fd"))
	{
		while (readdir (dir))
			++count;
		closedir (dir);
	}
	return count;
}

struct Instance
{
	EditLog log;
	std::unique_ptr<ControllerInstance> controller;

	IEditController& edit () { return controller->getController (); }
	ParamValue valueOf (ParamID id) { return edit ().getParamNormalized (id); }
};

struct OpenEditor
{
	IPtr<IPlugView> view;
	xcb_window_t window {0};
	ScreenArea area {};

	ScreenArea onScreen (const LaidOutView& v) const
	{
		return {area.x + v.area.x, area.y + v.area.y, v.area.width, v.area.height};
	}
};

class LiveEditor : public testing::Test
{
protected:
	void SetUp () override
	{
		// No X server is a failure, never a reason to skip: CI must run this test.
		ASSERT_TRUE (server.start (kScreenWidth, kScreenHeight)) << server.getError ();
		display = std::make_unique<TestDisplay> ();
		ASSERT_TRUE (display->isOpen ()) << "no XTest on " << server.getDisplay ();
		module = std::make_unique<PluginModule> (VELTRANE_BUNDLE_PATH);
		ASSERT_FALSE (layout.getViews ().empty ()) << kUiDescription;
		addInstance ();
	}

	void TearDown () override
	{
		for (auto& editor : editors)
			close (*editor);
		editors.clear ();
		instances.clear ();
		module.reset ();
		display.reset ();
	}

	Instance& addInstance ()
	{
		auto instance = std::make_unique<Instance> ();
		instance->controller =
		    std::make_unique<ControllerInstance> (*module, kPlugControllerUID.toTUID (), &host);
		instance->edit ().setComponentHandler (&instance->log);
		instances.push_back (std::move (instance));
		return *instances.back ();
	}

	/** Opens the instance's editor in a new host window at x and waits for its first picture. */
	OpenEditor& open (Instance& instance, int x)
	{
		auto editor = std::make_unique<OpenEditor> ();
		editor->view = owned (instance.edit ().createView (ViewType::kEditor));
		EXPECT_TRUE (editor->view);
		if (!editor->view)
			return *editors.emplace_back (std::move (editor));
		ViewRect size;
		editor->view->getSize (&size);
		editor->area = {x, 0, size.getWidth (), size.getHeight ()};
		editor->window = display->createWindow (editor->area);
		editor->view->setFrame (&daw);
		EXPECT_EQ (editor->view->attached (reinterpret_cast<void*> (static_cast<uintptr_t> (editor->window)),
		                                   kPlatformTypeX11EmbedWindowID),
		           kResultOk);
		const ScreenArea corner {editor->area.x, editor->area.y, 4, 4};
		const auto hostBackground = display->capture (corner);
		EXPECT_TRUE (daw.runUntil ([&] { return display->capture (corner) != hostBackground; }, kTicksIn100ms))
		    << "the editor drew nothing";
		return *editors.emplace_back (std::move (editor));
	}

	void close (OpenEditor& editor)
	{
		if (!editor.view)
			return;
		editor.view->removed ();
		editor.view->setFrame (nullptr);
		editor.view = nullptr;
		display->destroyWindow (editor.window);
	}

	void closeAll ()
	{
		for (auto& editor : editors)
			close (*editor);
		editors.clear ();
	}

	LaidOutView only (const std::string& viewClass, ParamID tag)
	{
		const auto found = layout.find (viewClass, static_cast<int> (tag));
		EXPECT_EQ (found.size (), 1u) << viewClass << " of tag " << tag;
		return found.empty () ? LaidOutView {} : found.front ();
	}

	bool changesWithin (const ScreenArea& area, const std::vector<uint32_t>& before, int ticks)
	{
		return daw.runUntil ([&] { return display->capture (area) != before; }, ticks);
	}

	void wheelUp (int x, int y)
	{
		display->moveTo (x, y);
		display->click (kWheelUp);
	}

	void tapKey (uint32_t keysym)
	{
		display->key (keysym, true);
		display->key (keysym, false);
	}

	/** Waits for the next edits of the tag to arrive, then answers whether they are of these kinds;
	    the edits seen are then taken off the log. */
	bool waitForEdits (Instance& instance, ParamID tag, const std::vector<EditLog::Kind>& kinds, int ticks)
	{
		daw.runUntil ([&] { return instance.log.editsOf (tag).size () >= kinds.size (); }, ticks);
		std::vector<EditLog::Kind> seen;
		for (const auto& edit : instance.log.editsOf (tag))
			seen.push_back (edit.kind);
		EXPECT_EQ (instance.log.unbalanced (), "");
		instance.log.clear ();
		return seen == kinds;
	}

	static bool endsLast (const std::vector<EditLog::Edit>& edits)
	{
		return !edits.empty () && edits.back ().kind == EditLog::Kind::kEnd;
	}

	XvfbServer server;
	std::unique_ptr<TestDisplay> display;
	DawPlugFrame daw;
	HostApplication host;
	std::unique_ptr<PluginModule> module;
	UiLayout layout {kUiDescription};
	std::vector<std::unique_ptr<Instance>> instances;
	std::vector<std::unique_ptr<OpenEditor>> editors;
};

int middle (const ScreenArea& a)
{
	return a.x + a.width / 2;
}

} // namespace

TEST_F (LiveEditor, ADragOnASliderEditsTheParameterAndRedrawsWithin100ms)
{
	Instance& plugin = *instances.front ();
	OpenEditor& editor = open (plugin, 0);
	const ScreenArea slider = editor.onScreen (only ("CSlider", kMixId));
	const auto before = display->capture (slider);

	// Pressed near its bottom, away from the handle in the middle: the handle jumps there.
	display->moveTo (middle (slider), slider.y + slider.height - 4);
	display->press (kLeftButton);
	EXPECT_TRUE (changesWithin (slider, before, kTicksIn100ms));
	const auto pressed = display->capture (slider);
	for (int y = slider.y + slider.height - 14; y > slider.y + 4; y -= 10)
		display->moveTo (middle (slider), y);
	EXPECT_TRUE (changesWithin (slider, pressed, kTicksIn100ms));
	display->release (kLeftButton);
	daw.runUntil ([&] { return endsLast (plugin.log.editsOf (kMixId)); }, kTicksIn100ms);
	display->writePng (editor.area, testing::TempDir () + "veltrane-live-editor.png");

	const auto edits = plugin.log.editsOf (kMixId);
	ASSERT_GE (edits.size (), 3u);
	EXPECT_EQ (edits.front ().kind, EditLog::Kind::kBegin);
	EXPECT_EQ (edits.back ().kind, EditLog::Kind::kEnd);
	EXPECT_EQ (plugin.log.unbalanced (), "");
	EXPECT_LT (edits[1].value, 0.2) << "the press moved the handle to the bottom";
	EXPECT_GT (plugin.valueOf (kMixId), 0.8) << "the drag moved it to the top";
	EXPECT_EQ (plugin.log.getEdits ().size (), edits.size ()) << "no other parameter was edited";
}

TEST_F (LiveEditor, AValueSetByTheHostShowsWithin100ms)
{
	Instance& plugin = *instances.front ();
	OpenEditor& editor = open (plugin, 0);
	const ScreenArea slider = editor.onScreen (only ("CSlider", kDelayId));
	const ScreenArea readout = editor.onScreen (only ("CParamDisplay", kDelayId));
	const auto before = display->capture (slider);
	const auto textBefore = display->capture (readout);
	plugin.edit ().setParamNormalized (kDelayId, 0.95);
	EXPECT_TRUE (changesWithin (slider, before, kTicksIn100ms));
	EXPECT_TRUE (changesWithin (readout, textBefore, kTicksIn100ms)) << "the value display follows";
	EXPECT_TRUE (plugin.log.getEdits ().empty ()) << "a value from the host is not sent back";
}

TEST_F (LiveEditor, TheWheelOverASliderChangesItsValueInOneEdit)
{
	Instance& plugin = *instances.front ();
	OpenEditor& editor = open (plugin, 0);
	const ScreenArea slider = editor.onScreen (only ("CSlider", kMixId));
	const ParamValue start = plugin.valueOf (kMixId);
	const auto before = display->capture (slider);
	wheelUp (middle (slider), slider.y + slider.height / 2);
	wheelUp (middle (slider), slider.y + slider.height / 2);
	EXPECT_TRUE (changesWithin (slider, before, kTicksIn100ms));
	EXPECT_TRUE (daw.runUntil ([&] { return endsLast (plugin.log.editsOf (kMixId)); }, kTicksToCloseAWheelEdit));

	EXPECT_NEAR (plugin.valueOf (kMixId), start + 0.2, 1e-6);
	const auto edits = plugin.log.editsOf (kMixId);
	ASSERT_EQ (edits.size (), 4u);
	EXPECT_EQ (edits[0].kind, EditLog::Kind::kBegin);
	EXPECT_EQ (edits[1].kind, EditLog::Kind::kPerform);
	EXPECT_EQ (edits[2].kind, EditLog::Kind::kPerform);
	EXPECT_EQ (edits[3].kind, EditLog::Kind::kEnd);
}

TEST_F (LiveEditor, KeysGoToTheClickedSliderAndEveryEditStaysBalanced)
{
	using Kind = EditLog::Kind;
	Instance& plugin = *instances.front ();
	OpenEditor& editor = open (plugin, 0);
	const ScreenArea slider = editor.onScreen (only ("CSlider", kMixId));
	const int x = middle (slider);
	const int centre = slider.y + slider.height / 2;

	// A press away from the handle moves it; the slider now has the keys.
	display->moveTo (x, slider.y + slider.height - 4);
	display->click (kLeftButton);
	ASSERT_TRUE (waitForEdits (plugin, kMixId, {Kind::kBegin, Kind::kPerform, Kind::kEnd}, kTicksIn100ms));
	const ParamValue clicked = plugin.valueOf (kMixId);
	tapKey (kKeyUp);
	ASSERT_TRUE (waitForEdits (plugin, kMixId, {Kind::kBegin, Kind::kPerform, Kind::kEnd}, kTicksIn100ms));
	EXPECT_NEAR (plugin.valueOf (kMixId), clicked + 0.1, 1e-6);
	// Shift makes the step fine.
	display->key (kKeyShift, true);
	tapKey (kKeyUp);
	display->key (kKeyShift, false);
	ASSERT_TRUE (waitForEdits (plugin, kMixId, {Kind::kBegin, Kind::kPerform, Kind::kEnd}, kTicksIn100ms));
	EXPECT_NEAR (plugin.valueOf (kMixId), clicked + 0.11, 1e-6);
	// The keypad's arrows step like the arrow keys.
	tapKey (kKeypadUp);
	ASSERT_TRUE (waitForEdits (plugin, kMixId, {Kind::kBegin, Kind::kPerform, Kind::kEnd}, kTicksIn100ms));
	EXPECT_NEAR (plugin.valueOf (kMixId), clicked + 0.21, 1e-6);

	// Escape during a drag puts the value of the press back and closes the edit.
	const ParamValue beforeDrag = plugin.valueOf (kMixId);
	display->press (kLeftButton);
	display->moveTo (x, slider.y + 4);
	tapKey (kKeyEscape);
	ASSERT_TRUE (waitForEdits (plugin, kMixId, {Kind::kBegin, Kind::kPerform, Kind::kPerform, Kind::kPerform, Kind::kEnd},
	                           kTicksIn100ms));
	EXPECT_NEAR (plugin.valueOf (kMixId), beforeDrag, 1e-6);

	// A wheel event right after it opens an edit of its own; Escape reverts and closes that one too,
	// and the next wheel event opens another, which its timer closes.
	wheelUp (x, centre);
	tapKey (kKeyEscape);
	EXPECT_TRUE (waitForEdits (plugin, kMixId, {Kind::kBegin, Kind::kPerform, Kind::kPerform, Kind::kEnd}, kTicksIn100ms));
	EXPECT_NEAR (plugin.valueOf (kMixId), beforeDrag, 1e-6);
	wheelUp (x, centre);
	display->release (kLeftButton);
	EXPECT_TRUE (waitForEdits (plugin, kMixId, {Kind::kBegin, Kind::kPerform, Kind::kEnd}, kTicksToCloseAWheelEdit));
	EXPECT_EQ (plugin.log.unbalanced (), "");
}

TEST_F (LiveEditor, EachSwitchSendsOnlyOffOrOn)
{
	Instance& plugin = *instances.front ();
	OpenEditor& editor = open (plugin, 0);
	int switches = 0;
	for (const LaidOutView& view : layout.find ("COnOffButton"))
	{
		if (view.tag < 0)
			continue; // the about box's button belongs to no parameter
		++switches;
		const auto tag = static_cast<ParamID> (view.tag);
		const ScreenArea button = editor.onScreen (view);
		const ParamValue start = plugin.valueOf (tag);
		const auto before = display->capture (button);
		for (int click = 0; click < 2; ++click)
		{
			display->moveTo (middle (button), button.y + button.height / 2);
			display->click (kLeftButton);
			daw.runUntil ([&] { return endsLast (plugin.log.editsOf (tag)); }, kTicksIn100ms);
			if (click == 0)
			{
				EXPECT_TRUE (changesWithin (button, before, kTicksIn100ms)) << "tag " << tag;
			}
			const auto edits = plugin.log.editsOf (tag);
			ASSERT_EQ (edits.size (), 3u) << "tag " << tag;
			// A two-state parameter gets exactly the other of its two values.
			EXPECT_EQ (edits[1].value, click == 0 ? 1. - start : start) << "tag " << tag;
			EXPECT_EQ (plugin.log.unbalanced (), "");
			plugin.log.clear ();
		}
		EXPECT_EQ (plugin.valueOf (tag), start) << "two clicks switch it back, tag " << tag;
	}
	EXPECT_EQ (switches, 4);
}

TEST_F (LiveEditor, ReopensTenTimesAndLeavesNothingBehind)
{
	Instance& plugin = *instances.front ();
	size_t descriptorsAfterFirst = 0;
	for (int round = 0; round < 10; ++round)
	{
		OpenEditor& editor = open (plugin, 0);
		EXPECT_EQ (daw.eventHandlerCount (), 1u);
		const ScreenArea slider = editor.onScreen (only ("CSlider", kShiftId));
		const auto before = display->capture (slider);
		plugin.edit ().setParamNormalized (kShiftId, round % 2 ? 0.1 : 0.9);
		EXPECT_TRUE (changesWithin (slider, before, kTicksIn100ms)) << "round " << round;
		closeAll ();
		EXPECT_EQ (daw.eventHandlerCount (), 0u) << "round " << round;
		EXPECT_EQ (daw.timerCount (), 0u) << "round " << round;
		if (round == 0)
			descriptorsAfterFirst = openDescriptorCount ();
	}
	EXPECT_EQ (openDescriptorCount (), descriptorsAfterFirst) << "every X connection was closed";
}

TEST_F (LiveEditor, EditorsOfTwoInstancesAndTwoOfOneWorkAtOnce)
{
	Instance& first = *instances.front ();
	Instance& second = addInstance ();
	OpenEditor& a = open (first, 0);
	OpenEditor& b = open (second, kEditorSpacing);
	OpenEditor& alsoA = open (first, 2 * kEditorSpacing);
	const LaidOutView mix = only ("CSlider", kMixId);

	// A drag in one editor edits its own instance, and the other instance's editor keeps its picture.
	const auto bBefore = display->capture (b.area);
	const auto alsoABefore = display->capture (alsoA.onScreen (mix));
	const ScreenArea aMix = a.onScreen (mix);
	display->moveTo (middle (aMix), aMix.y + 4);
	display->press (kLeftButton);
	display->moveTo (middle (aMix), aMix.y + 6);
	display->release (kLeftButton);
	EXPECT_TRUE (changesWithin (alsoA.onScreen (mix), alsoABefore, kTicksIn100ms))
	    << "the instance's second editor follows";
	daw.runFor (50ms);
	EXPECT_EQ (display->capture (b.area), bBefore);
	EXPECT_GT (first.valueOf (kMixId), 0.8);
	EXPECT_TRUE (second.log.getEdits ().empty ());

	// Each editor's wheel edit closes on its own timer, once.
	const ScreenArea bMix = b.onScreen (mix);
	wheelUp (middle (bMix), bMix.y + bMix.height / 2);
	wheelUp (middle (aMix), aMix.y + aMix.height / 2);
	EXPECT_TRUE (daw.runUntil (
	    [&] { return endsLast (first.log.editsOf (kMixId)) && endsLast (second.log.editsOf (kMixId)); },
	    kTicksToCloseAWheelEdit));
	EXPECT_EQ (first.log.unbalanced (), "");
	EXPECT_EQ (second.log.unbalanced (), "");
	EXPECT_EQ (second.log.editsOf (kMixId).size (), 3u);
}

TEST_F (LiveEditor, ClosingDuringADragOrAWheelEditEndsTheEdit)
{
	Instance& plugin = *instances.front ();
	const LaidOutView mix = only ("CSlider", kMixId);
	const LaidOutView delay = only ("CSlider", kDelayId);

	const ScreenArea dragged = open (plugin, 0).onScreen (mix);
	display->moveTo (middle (dragged), dragged.y + 4);
	display->press (kLeftButton);
	daw.runUntil ([&] { return !plugin.log.editsOf (kMixId).empty (); }, kTicksIn100ms);
	closeAll ();
	display->release (kLeftButton);

	const ScreenArea wheeled = open (plugin, 0).onScreen (delay);
	wheelUp (middle (wheeled), wheeled.y + wheeled.height / 2);
	daw.runUntil ([&] { return !plugin.log.editsOf (kDelayId).empty (); }, kTicksIn100ms);
	closeAll ();

	EXPECT_TRUE (endsLast (plugin.log.editsOf (kMixId)));
	EXPECT_TRUE (endsLast (plugin.log.editsOf (kDelayId)));
	EXPECT_EQ (plugin.log.unbalanced (), "");
}
