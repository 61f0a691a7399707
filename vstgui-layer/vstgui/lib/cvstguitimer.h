// Stands in for VSTGUI's timer (vstgui/lib/cvstguitimer.h), driven by a manual clock instead of a run loop.
#pragma once

#include "vstgui/lib/vstguibase.h"

#include <functional>

namespace VSTGUI {

/** A repeating timer. The stand-in has no run loop: advanceClock moves a process-wide clock and
    fires every running timer that comes due, on the calling thread. */
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
	uint32_t getFireTime () const { return fireTime; }

	/** Fires the callback once, holding a reference so that the callback may drop the timer. */
	void fire ();

	/** Moves the clock on; each running timer fires once for every whole period that has passed. */
	static void advanceClock (uint32_t milliseconds);

private:
	CallbackFunc callback;
	uint32_t fireTime;
	uint32_t elapsed {0};
	uint64_t serial;
	bool running {false};
};

} // namespace VSTGUI
