// The X11 child window in which an editor shows its views, drawn with cairo and driven by the
// host's run loop.
#pragma once

#include "vstgui/lib/cbuttonstate.h"
#include "vstgui/lib/cpoint.h"
#include "vstgui/lib/cview.h"
#include "vstgui/lib/platform/iplatformframe.h"

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

#include <cairo.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <functional>
#include <vector>

namespace VSTGUI {

class X11EditorWindow : public Steinberg::FObject,
                        public Steinberg::Linux::IEventHandler,
                        public Steinberg::Linux::ITimerHandler,
                        public IPlatformFrame
{
public:
	enum class MouseAction
	{
		kDown,
		kUp,
		kMoved,
	};
	struct Client
	{
		/** Draws what is invalid. */
		std::function<void (cairo_surface_t* surface)> paint;
		std::function<bool ()> needsRedraw;
		/** The server lost the pixels of rect. */
		std::function<void (const CRect& rect)> expose;
		std::function<void (MouseAction action, CPoint where, CButtonState buttons)> mouse;
		std::function<void (CPoint where, CMouseWheelAxis axis, float distance, CButtonState buttons)> wheel;
		std::function<void (bool down, VstKeyCode key)> key;
	};

	explicit X11EditorWindow (Client client);
	~X11EditorWindow () override;

	/** Creates and shows a width × height child of parent. With the host's run loop it reads its
	    events when the connection has some and redraws on the loop's tick; without one it is
	    drawn at once and whenever a part becomes invalid. */
	bool open (uint32_t parent, int width, int height, Steinberg::IPlugFrame* plugFrame);
	/** Gives back the run loop, then frees the cairo surface and device before the connection. */
	void close ();
	void redraw ();

	void invalidRect (const CRect& rect) override;

	void PLUGIN_API onFDIsSet (Steinberg::Linux::FileDescriptor fd) SMTG_OVERRIDE;
	void PLUGIN_API onTimer () SMTG_OVERRIDE;

	OBJ_METHODS (X11EditorWindow, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (Steinberg::Linux::IEventHandler)
		DEF_INTERFACE (Steinberg::Linux::ITimerHandler)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	void readEvents ();
	void handleEvent (const xcb_generic_event_t& event);
	void handleButton (const xcb_button_press_event_t& press, bool down);
	void handleKey (const xcb_key_press_event_t& press, bool down);
	xcb_visualtype_t* findVisual (xcb_visualid_t id) const;
	void readKeyboardMapping ();
	uint32_t keysymOf (xcb_keycode_t keycode, uint16_t state) const;

	Client client;
	xcb_connection_t* connection {nullptr};
	xcb_screen_t* screen {nullptr};
	xcb_window_t window {0};
	cairo_surface_t* surface {nullptr};
	Steinberg::Linux::IRunLoop* runLoop {nullptr};
	int32_t pressedButtons {0};
	xcb_keycode_t firstKeycode {0};
	uint8_t keysymsPerKeycode {0};
	std::vector<uint32_t> keysyms;
};

} // namespace VSTGUI
