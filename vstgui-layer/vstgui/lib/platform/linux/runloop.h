// Stands in for VSTGUI's Linux run loop hook (vstgui/lib/platform/linux/x11platform.h): timers
// run on the host's IRunLoop.
#pragma once

#include "pluginterfaces/gui/iplugview.h"

#include <cstdint>

namespace VSTGUI {

class CVSTGUITimer;

namespace X11 {

/** The host run loops that open editors lend to the process's timers. The first loop lent and not
    yet taken back drives every running timer, each registered with its own period; with no loop
    lent the timers wait. */
class RunLoop
{
public:
	static void attach (Steinberg::Linux::IRunLoop* hostLoop);
	/** Takes back one loan of hostLoop; the timers move to the next loop, if there is one. */
	static void detach (Steinberg::Linux::IRunLoop* hostLoop);

	static void startTimer (CVSTGUITimer* timer, uint32_t periodMilliseconds);
	static void stopTimer (CVSTGUITimer* timer);
};

} // namespace X11
} // namespace VSTGUI
