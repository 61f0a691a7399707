#include "TestDisplay.h"

#include <cairo.h>
#include <xcb/xtest.h>

#include <cstdlib>
#include <cstring>

TestDisplay::TestDisplay ()
{
	int screenNumber = 0;
	connection = xcb_connect (nullptr, &screenNumber);
	if (xcb_connection_has_error (connection))
	{
		xcb_disconnect (connection);
		connection = nullptr;
		return;
	}
	auto screens = xcb_setup_roots_iterator (xcb_get_setup (connection));
	for (int i = 0; i < screenNumber && screens.rem > 0; ++i)
		xcb_screen_next (&screens);
	screen = screens.data;
	xcb_test_get_version_reply_t* version =
	    xcb_test_get_version_reply (connection, xcb_test_get_version (connection, 2, 1), nullptr);
	if (screen == nullptr || version == nullptr)
	{
		xcb_disconnect (connection);
		connection = nullptr;
	}
	std::free (version);
}

TestDisplay::~TestDisplay ()
{
	if (connection)
		xcb_disconnect (connection);
}

xcb_window_t TestDisplay::createWindow (const ScreenArea& area)
{
	const xcb_window_t window = xcb_generate_id (connection);
	const uint32_t values[] = {screen->black_pixel, 1};
	xcb_create_window (connection, XCB_COPY_FROM_PARENT, window, screen->root, static_cast<int16_t> (area.x),
	                   static_cast<int16_t> (area.y), static_cast<uint16_t> (area.width),
	                   static_cast<uint16_t> (area.height), 0, XCB_WINDOW_CLASS_INPUT_OUTPUT, screen->root_visual,
	                   XCB_CW_BACK_PIXEL | XCB_CW_OVERRIDE_REDIRECT, values);
	xcb_map_window (connection, window);
	sync ();
	return window;
}

void TestDisplay::destroyWindow (xcb_window_t window)
{
	xcb_destroy_window (connection, window);
	sync ();
}

void TestDisplay::moveTo (int x, int y)
{
	fakeInput (XCB_MOTION_NOTIFY, 0, x, y);
}

void TestDisplay::press (uint8_t button)
{
	fakeInput (XCB_BUTTON_PRESS, button);
}

void TestDisplay::release (uint8_t button)
{
	fakeInput (XCB_BUTTON_RELEASE, button);
}

void TestDisplay::click (uint8_t button)
{
	press (button);
	release (button);
}

void TestDisplay::key (uint32_t keysym, bool down)
{
	fakeInput (down ? XCB_KEY_PRESS : XCB_KEY_RELEASE, keycodeOf (keysym));
}

void TestDisplay::fakeInput (uint8_t type, uint8_t detail, int x, int y)
{
	xcb_test_fake_input (connection, type, detail, XCB_CURRENT_TIME, type == XCB_MOTION_NOTIFY ? screen->root : XCB_NONE,
	                     static_cast<int16_t> (x), static_cast<int16_t> (y), 0);
	sync ();
}

// A round trip: the server has handled everything sent before it.
void TestDisplay::sync ()
{
	std::free (xcb_get_input_focus_reply (connection, xcb_get_input_focus (connection), nullptr));
}

uint8_t TestDisplay::keycodeOf (uint32_t keysym)
{
	const xcb_setup_t* setup = xcb_get_setup (connection);
	const auto count = static_cast<uint8_t> (setup->max_keycode - setup->min_keycode + 1);
	xcb_get_keyboard_mapping_reply_t* mapping = xcb_get_keyboard_mapping_reply (
	    connection, xcb_get_keyboard_mapping (connection, setup->min_keycode, count), nullptr);
	uint8_t keycode = 0;
	if (mapping)
	{
		const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms (mapping);
		const int length = xcb_get_keyboard_mapping_keysyms_length (mapping);
		for (int i = 0; i < length && keycode == 0; ++i)
			if (syms[i] == keysym)
				keycode = static_cast<uint8_t> (setup->min_keycode + i / mapping->keysyms_per_keycode);
	}
	std::free (mapping);
	return keycode;
}

std::vector<uint32_t> TestDisplay::capture (const ScreenArea& area)
{
	xcb_get_image_reply_t* image = xcb_get_image_reply (
	    connection,
	    xcb_get_image (connection, XCB_IMAGE_FORMAT_Z_PIXMAP, screen->root, static_cast<int16_t> (area.x),
	                   static_cast<int16_t> (area.y), static_cast<uint16_t> (area.width),
	                   static_cast<uint16_t> (area.height), ~0u),
	    nullptr);
	std::vector<uint32_t> pixels;
	if (image == nullptr)
		return pixels;
	const size_t count = static_cast<size_t> (area.width) * static_cast<size_t> (area.height);
	if (static_cast<size_t> (xcb_get_image_data_length (image)) >= count * sizeof (uint32_t))
	{
		pixels.resize (count);
		std::memcpy (pixels.data (), xcb_get_image_data (image), count * sizeof (uint32_t));
	}
	std::free (image);
	return pixels;
}

bool TestDisplay::writePng (const ScreenArea& area, const std::string& path)
{
	std::vector<uint32_t> pixels = capture (area);
	if (pixels.empty ())
		return false;
	for (uint32_t& p : pixels)
		p |= 0xff000000u;
	cairo_surface_t* surface = cairo_image_surface_create_for_data (
	    reinterpret_cast<unsigned char*> (pixels.data ()), CAIRO_FORMAT_ARGB32, area.width, area.height,
	    area.width * static_cast<int> (sizeof (uint32_t)));
	const bool written = cairo_surface_write_to_png (surface, path.c_str ()) == CAIRO_STATUS_SUCCESS;
	cairo_surface_destroy (surface);
	return written;
}
