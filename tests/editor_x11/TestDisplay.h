// The user's side of the X server: host windows, pointer and keyboard input through XTest, and
// the pixels on the screen.
#pragma once

#include <xcb/xcb.h>

#include <cstdint>
#include <string>
#include <vector>

struct ScreenArea
{
	int x;
	int y;
	int width;
	int height;
};

class TestDisplay
{
public:
	/** Connects to DISPLAY; isOpen tells whether that worked and XTest is there. */
	TestDisplay ();
	~TestDisplay ();
	TestDisplay (const TestDisplay&) = delete;
	TestDisplay& operator= (const TestDisplay&) = delete;

	bool isOpen () const { return connection != nullptr; }

	/** A mapped top-level window of the screen's default visual, as a host's plug-in window. */
	xcb_window_t createWindow (const ScreenArea& area);
	void destroyWindow (xcb_window_t window);

	//---input, each sent and processed by the server before the call returns
	void moveTo (int x, int y);
	void press (uint8_t button);
	void release (uint8_t button);
	void click (uint8_t button);
	/** keysym is an X keysym such as 0xff52 (Up); the key goes down or up. */
	void key (uint32_t keysym, bool down);

	/** The pixels of an area of the screen, 32 bits each. */
	std::vector<uint32_t> capture (const ScreenArea& area);
	/** Writes an area of the screen as a PNG file. */
	bool writePng (const ScreenArea& area, const std::string& path);

private:
	void fakeInput (uint8_t type, uint8_t detail, int x = 0, int y = 0);
	void sync ();
	uint8_t keycodeOf (uint32_t keysym);

	xcb_connection_t* connection {nullptr};
	xcb_screen_t* screen {nullptr};
};
