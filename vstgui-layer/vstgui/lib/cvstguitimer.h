// Stands in for VSTGUI's timer (vstgui/lib/cvstguitimer.h).
#pragma once

#include "vstgui/lib/vstguibase.h"

#include <functional>

namespace VSTGUI {

/** A repeating timer on the host's run loop (X11::RunLoop), firing on the user-interface thread. */
class CVSTGUITimer : public CBaseObject
{
public:
	using CallbackFunc = std::function<void (CVSTGUITimer*)>;

	CVSTGUITimer (CallbackFunc callback, uint32_t fireTime = 100, bool doStart = true);
	~CVSTGUITimer () noexcept override;

	bool start ();
	bool stop ();
	bool isRunning () const { return running; }
	bool setFireTime (uint32_t newFireTime);

	/** Fires the callback once, holding a reference so that the callback may drop the timer. */
	void fire ();

private:
	CallbackFunc callback;
	uint32_t fireTime;
	bool running {false};
};

} // namespace VSTGUI
