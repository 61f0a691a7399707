// The X11 child window in which an editor shows its views, drawn with cairo and driven by the
// host's run loop.
#pragma once

#include "vstgui/lib/cbuttonstate.h"
#include "vstgui/lib/cpoint.h"

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

#include <cairo.h>
#include <xcb/xcb.h>

#include <cstdint>
#include <functional>

namespace VSTGUI {

class X11EditorWindow : public Steinberg::FObject,
                        public Steinberg::Linux::IEventHandler,
                        public Steinberg::Linux::ITimerHandler
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
		std::function<void (cairo_surface_t* surface)> paint;
		std::function<bool ()> needsRedraw;
		std::function<void (MouseAction action, CPoint where, CButtonState buttons)> mouse;
	};

	explicit X11EditorWindow (Client client);
	~X11EditorWindow () override;

	/** Creates and shows a width × height child of parent; without a host run loop it is drawn
	    once and then only when asked to. */
	bool open (uint32_t parent, int width, int height, Steinberg::IPlugFrame* plugFrame);
	void close ();
	void redraw ();

	void PLUGIN_API onFDIsSet (Steinberg::Linux::FileDescriptor fd) SMTG_OVERRIDE;
	void PLUGIN_API onTimer () SMTG_OVERRIDE;

	OBJ_METHODS (X11EditorWindow, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (Steinberg::Linux::IEventHandler)
		DEF_INTERFACE (Steinberg::Linux::ITimerHandler)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	void handleEvent (const xcb_generic_event_t& event);
	xcb_visualtype_t* findVisual (xcb_visualid_t id) const;

	Client client;
	xcb_connection_t* connection {nullptr};
	xcb_screen_t* screen {nullptr};
	xcb_window_t window {0};
	cairo_surface_t* surface {nullptr};
	Steinberg::Linux::IRunLoop* runLoop {nullptr};
	int32_t pressedButtons {0};
};

} // namespace VSTGUI
