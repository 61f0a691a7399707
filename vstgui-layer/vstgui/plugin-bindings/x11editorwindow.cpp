#include "vstgui/plugin-bindings/x11editorwindow.h"

#include "vstgui/lib/platform/linux/runloop.h"

#include "public.sdk/source/common/guardedcall.h"

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

struct WheelStep
{
	CMouseWheelAxis axis;
	float distance;
};

// Buttons 4 and 5 turn the wheel up and down, 6 and 7 tilt it left and right.
bool wheelStep (xcb_button_t button, WheelStep& step)
{
	switch (button)
	{
		case 4: step = {kMouseWheelAxisY, 1.f}; return true;
		case 5: step = {kMouseWheelAxisY, -1.f}; return true;
		case 6: step = {kMouseWheelAxisX, 1.f}; return true;
		case 7: step = {kMouseWheelAxisX, -1.f}; return true;
		default: return false;
	}
}

// The X modifier masks as button-state bits and as key modifiers.
struct ModifierKey
{
	uint16_t mask;
	int32_t buttonBit;
	unsigned char keyModifier;
};

constexpr ModifierKey kModifierKeys[] = {
    {XCB_MOD_MASK_SHIFT, kShift, MODIFIER_SHIFT},
    {XCB_MOD_MASK_CONTROL, kControl, MODIFIER_CONTROL},
    {XCB_MOD_MASK_1, kAlt, MODIFIER_ALTERNATE},
};

int32_t modifierBits (uint16_t state)
{
	int32_t bits = 0;
	for (const auto& key : kModifierKeys)
		if (state & key.mask)
			bits |= key.buttonBit;
	return bits;
}

unsigned char keyModifiers (uint16_t state)
{
	unsigned char modifiers = 0;
	for (const auto& key : kModifierKeys)
		if (state & key.mask)
			modifiers |= key.keyModifier;
	return modifiers;
}

struct KeysymToVirtual
{
	uint32_t keysym;
	unsigned char virt;
};

constexpr KeysymToVirtual kVirtualKeys[] = {
    {0xff08, VKEY_BACK},  {0xff09, VKEY_TAB},   {0xff0b, VKEY_CLEAR}, {0xff0d, VKEY_RETURN},
    {0xff13, VKEY_PAUSE}, {0xff1b, VKEY_ESCAPE}, {0x0020, VKEY_SPACE}, {0xff56, VKEY_NEXT},
    {0xff57, VKEY_END},   {0xff50, VKEY_HOME},  {0xff51, VKEY_LEFT},  {0xff52, VKEY_UP},
    {0xff53, VKEY_RIGHT}, {0xff54, VKEY_DOWN},
    // The keypad's navigation keys, as they come with Num Lock off.
    {0xff95, VKEY_HOME},  {0xff96, VKEY_LEFT},  {0xff97, VKEY_UP},    {0xff98, VKEY_RIGHT},
    {0xff99, VKEY_DOWN},  {0xff9b, VKEY_NEXT},  {0xff9c, VKEY_END},
};

constexpr uint32_t kFirstPrintable = 0x20;
constexpr uint32_t kLastLatin1 = 0xff;

VstKeyCode keyCodeOf (uint32_t keysym, uint16_t state)
{
	VstKeyCode key;
	key.modifier = keyModifiers (state);
	for (const auto& entry : kVirtualKeys)
		if (entry.keysym == keysym)
			key.virt = entry.virt;
	if (key.virt == 0 && keysym >= kFirstPrintable && keysym <= kLastLatin1)
		key.character = static_cast<int32_t> (keysym);
	return key;
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
	readKeyboardMapping ();

	window = xcb_generate_id (connection);
	const uint32_t eventMask = XCB_EVENT_MASK_EXPOSURE | XCB_EVENT_MASK_BUTTON_PRESS |
	                           XCB_EVENT_MASK_BUTTON_RELEASE | XCB_EVENT_MASK_POINTER_MOTION |
	                           XCB_EVENT_MASK_KEY_PRESS | XCB_EVENT_MASK_KEY_RELEASE;
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
		X11::RunLoop::attach (runLoop);
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
		X11::RunLoop::detach (runLoop);
		runLoop->unregisterTimer (this);
		runLoop->unregisterEventHandler (this);
		runLoop->release ();
		runLoop = nullptr;
	}
	if (surface)
	{
		// cairo keeps a device per connection; left unfinished it outlives the connection, and a
		// later connection at the same address would be matched to it.
		cairo_device_t* device = cairo_device_reference (cairo_surface_get_device (surface));
		cairo_surface_finish (surface);
		cairo_surface_destroy (surface);
		surface = nullptr;
		cairo_device_finish (device);
		cairo_device_destroy (device);
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
	pressedButtons = 0;
	keysyms.clear ();
}

void X11EditorWindow::redraw ()
{
	if (surface == nullptr || !client.paint)
		return;
	client.paint (surface);
	cairo_surface_flush (surface);
	xcb_flush (connection);
}

void X11EditorWindow::invalidRect (const CRect&)
{
	if (runLoop == nullptr)
		redraw ();
}

// What the views throw while handling the host's run-loop calls ends here.
void PLUGIN_API X11EditorWindow::onFDIsSet (Steinberg::Linux::FileDescriptor /*fd*/)
{
	Steinberg::guardedCall ([this] { readEvents (); });
}

void PLUGIN_API X11EditorWindow::onTimer ()
{
	Steinberg::guardedCall ([this] {
		if (client.needsRedraw && client.needsRedraw ())
			redraw ();
	});
}

void X11EditorWindow::readEvents ()
{
	if (connection == nullptr)
		return;
	while (xcb_generic_event_t* event = xcb_poll_for_event (connection))
	{
		handleEvent (*event);
		std::free (event);
		// A handler may have closed the window.
		if (connection == nullptr)
			return;
	}
}

void X11EditorWindow::handleEvent (const xcb_generic_event_t& event)
{
	switch (event.response_type & 0x7f)
	{
		case XCB_EXPOSE:
		{
			const auto& expose = reinterpret_cast<const xcb_expose_event_t&> (event);
			if (client.expose)
				client.expose (CRect (expose.x, expose.y, expose.x + expose.width, expose.y + expose.height));
			if (expose.count == 0)
				redraw ();
			break;
		}
		case XCB_BUTTON_PRESS:
		case XCB_BUTTON_RELEASE:
			handleButton (reinterpret_cast<const xcb_button_press_event_t&> (event),
			              (event.response_type & 0x7f) == XCB_BUTTON_PRESS);
			break;
		case XCB_MOTION_NOTIFY:
		{
			const auto& motion = reinterpret_cast<const xcb_motion_notify_event_t&> (event);
			if (client.mouse)
				client.mouse (MouseAction::kMoved, CPoint (motion.event_x, motion.event_y),
				              CButtonState (pressedButtons | modifierBits (motion.state)));
			break;
		}
		case XCB_KEY_PRESS:
		case XCB_KEY_RELEASE:
			handleKey (reinterpret_cast<const xcb_key_press_event_t&> (event),
			           (event.response_type & 0x7f) == XCB_KEY_PRESS);
			break;
		default: break;
	}
}

void X11EditorWindow::handleButton (const xcb_button_press_event_t& press, bool down)
{
	const CPoint where (press.event_x, press.event_y);
	WheelStep step {};
	if (wheelStep (press.detail, step))
	{
		// Each notch comes as a press and a release; the press is the step.
		if (down && client.wheel)
			client.wheel (where, step.axis, step.distance, CButtonState (modifierBits (press.state)));
		return;
	}
	const int32_t bit = buttonBit (press.detail);
	if (bit == 0 || !client.mouse)
		return;
	// An embedded window gets the keys only once it has the input focus.
	if (down)
		xcb_set_input_focus (connection, XCB_INPUT_FOCUS_PARENT, window, press.time);
	// A release reports the button that went up together with the modifiers.
	const CButtonState buttons (bit | modifierBits (press.state));
	pressedButtons = down ? (pressedButtons | bit) : (pressedButtons & ~bit);
	client.mouse (down ? MouseAction::kDown : MouseAction::kUp, where, buttons);
}

void X11EditorWindow::handleKey (const xcb_key_press_event_t& press, bool down)
{
	if (client.key)
		client.key (down, keyCodeOf (keysymOf (press.detail, press.state), press.state));
}

void X11EditorWindow::readKeyboardMapping ()
{
	const xcb_setup_t* setup = xcb_get_setup (connection);
	firstKeycode = setup->min_keycode;
	const auto count = static_cast<uint8_t> (setup->max_keycode - setup->min_keycode + 1);
	xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply (
	    connection, xcb_get_keyboard_mapping (connection, firstKeycode, count), nullptr);
	if (mapping == nullptr)
		return;
	keysymsPerKeycode = mapping->keysyms_per_keycode;
	const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms (mapping);
	keysyms.assign (syms, syms + xcb_get_keyboard_mapping_keysyms_length (mapping));
	std::free (mapping);
}

// The shifted symbol where the key has one, else the plain one.
uint32_t X11EditorWindow::keysymOf (xcb_keycode_t keycode, uint16_t state) const
{
	const size_t row = static_cast<size_t> (keycode - firstKeycode) * keysymsPerKeycode;
	if (keycode < firstKeycode || keysymsPerKeycode == 0 || row >= keysyms.size ())
		return 0;
	const bool shifted = (state & XCB_MOD_MASK_SHIFT) && keysymsPerKeycode > 1 && keysyms[row + 1] != 0;
	return keysyms[row + (shifted ? 1 : 0)];
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
