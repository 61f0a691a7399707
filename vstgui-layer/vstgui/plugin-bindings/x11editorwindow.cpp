#include "vstgui/plugin-bindings/x11editorwindow.h"

#include <cairo-xcb.h>

#include <cstdlib>

namespace Steinberg {
namespace Linux {

DEF_CLASS_IID (IEventHandler)
DEF_CLASS_IID (ITimerHandler)
DEF_CLASS_IID (IRunLoop)

} // namespace Linux
} // namespace Steinberg

namespace VSTGUI {
namespace {

constexpr Steinberg::Linux::TimerInterval kRedrawInterval = 16;

int32_t buttonBit (xcb_button_t button)
{
	switch (button)
	{
		case 1: return kLButton;
		case 2: return kMButton;
		case 3: return kRButton;
		default: return 0;
	}
}

int32_t modifierBits (uint16_t state)
{
	int32_t bits = 0;
	if (state & XCB_MOD_MASK_SHIFT)
		bits |= kShift;
	if (state & XCB_MOD_MASK_CONTROL)
		bits |= kControl;
	if (state & XCB_MOD_MASK_1)
		bits |= kAlt;
	return bits;
}

} // namespace

X11EditorWindow::X11EditorWindow (Client client) : client (std::move (client))
{
}

X11EditorWindow::~X11EditorWindow ()
{
	close ();
}

bool X11EditorWindow::open (uint32_t parent, int width, int height, Steinberg::IPlugFrame* plugFrame)
{
	if (connection || parent == 0 || width <= 0 || height <= 0)
		return false;
	int screenNumber = 0;
	connection = xcb_connect (nullptr, &screenNumber);
	if (xcb_connection_has_error (connection))
	{
		close ();
		return false;
	}
	auto screens = xcb_setup_roots_iterator (xcb_get_setup (connection));
	for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
		xcb_screen_next (&screens);
	screen = screens.data;
	// The child shares its parent's visual, which need not be the screen's default.
	xcb_get_window_attributes_reply_t* parentAttributes = xcb_get_window_attributes_reply (
	    connection, xcb_get_window_attributes (connection, parent), nullptr);
	xcb_visualtype_t* visual =
	    screen && parentAttributes ? findVisual (parentAttributes->visual) : nullptr;
	std::free (parentAttributes);
	if (visual == nullptr)
	{
		close ();
		return false;
	}

	window = xcb_generate_id (connection);
	const uint32_t eventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
	                           XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION;
	xcb_create_window (connection, XCB_COPY_FROM_PARENT, window, parent, 0, 0,
	                   static_cast<uint16_t> (width), static_cast<uint16_t> (height), 0,
	                   XCB_WINDOW_CLASS_INPUT_OUTPUT, visual->visual_id, XCB_CW_EVENT_MASK,
	                   &eventMask);
	surface = cairo_xcb_surface_create (connection, window, visual, width, height);
	xcb_map_window (connection, window);
	xcb_flush (connection);

	if (plugFrame && plugFrame->queryInterface (Steinberg::Linux::IRunLoop::iid,
	                                            reinterpret_cast<void**> (&runLoop)) == Steinberg::kResultOk)
	{
		runLoop->registerEventHandler (this, xcb_get_file_descriptor (connection));
		runLoop->registerTimer (this, kRedrawInterval);
	}
	else
	{
		runLoop = nullptr;
		redraw ();
	}
	return true;
}

void X11EditorWindow::close ()
{
	if (runLoop)
	{
		runLoop->unregisterTimer (this);
		runLoop->unregisterEventHandler (this);
		runLoop->release ();
		runLoop = nullptr;
	}
	if (surface)
	{
		cairo_surface_destroy (surface);
		surface = nullptr;
	}
	if (connection)
	{
		if (window)
			xcb_destroy_window (connection, window);
		xcb_flush (connection);
		xcb_disconnect (connection);
	}
	connection = nullptr;
	screen = nullptr;
	window = 0;
}

void X11EditorWindow::redraw ()
{
	if (surface == nullptr || !client.paint)
		return;
	client.paint (surface);
	cairo_surface_flush (surface);
	xcb_flush (connection);
}

void PLUGIN_API X11EditorWindow::onFDIsSet (Steinberg::Linux::FileDescriptor /*fd*/)
{
	if (connection == nullptr)
		return;
	while (xcb_generic_event_t* event = xcb_poll_for_event (connection))
	{
		handleEvent (*event);
		std::free (event);
	}
}

void PLUGIN_API X11EditorWindow::onTimer ()
{
	if (client.needsRedraw && client.needsRedraw ())
		redraw ();
}

void X11EditorWindow::handleEvent (const xcb_generic_event_t& event)
{
	switch (event.response_type & 0x7f)
	{
		case XCB_EXPOSE:
			if (reinterpret_cast<const xcb_expose_event_t&> (event).count == 0)
				redraw ();
			break;
		case XCB_BUTTON_PRESS:
		case XCB_BUTTON_RELEASE:
		{
			const auto& press = reinterpret_cast<const xcb_button_press_event_t&> (event);
			const int32_t bit = buttonBit (press.detail);
			if (bit == 0 || !client.mouse)
				break;
			const bool down = (event.response_type & 0x7f) == XCB_BUTTON_PRESS;
			// A release reports the button that went up together with the modifiers.
			const CButtonState buttons (bit | modifierBits (press.state));
			pressedButtons = down ? (pressedButtons | bit) : (pressedButtons & ~bit);
			client.mouse (down ? MouseAction::kDown : MouseAction::kUp,
			              CPoint (press.event_x, press.event_y), buttons);
			break;
		}
		case XCB_MOTION_NOTIFY:
		{
			const auto& motion = reinterpret_cast<const xcb_motion_notify_event_t&> (event);
			if (client.mouse)
				client.mouse (MouseAction::kMoved, CPoint (motion.event_x, motion.event_y),
				              CButtonState (pressedButtons | modifierBits (motion.state)));
			break;
		}
		default: break;
	}
}

xcb_visualtype_t* X11EditorWindow::findVisual (xcb_visualid_t id) const
{
	for (auto depths = xcb_screen_allowed_depths_iterator (screen); depths.rem > 0;
	     xcb_depth_next (&depths))
		for (auto visuals = xcb_depth_visuals_iterator (depths.data); visuals.rem > 0;
		     xcb_visualtype_next (&visuals))
			if (visuals.data->visual_id == id)
				return visuals.data;
	return nullptr;
}

} // namespace VSTGUI
