// The host side of an embedded editor as a Linux DAW offers it: a plug frame that is also the
// user-interface thread's run loop, polling the registered descriptors and firing the timers on
// the monotonic clock.
#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/gui/iplugview.h"

#include <chrono>
#include <functional>
#include <vector>

class DawPlugFrame : public Steinberg::FObject,
                     public Steinberg::IPlugFrame,
                     public Steinberg::Linux::IRunLoop
{
public:
	using Clock = std::chrono::steady_clock;
	/** The period of a screen refresh; each firing of the oldest timer this fast is a frame tick. */
	static constexpr Steinberg::Linux::TimerInterval kFrameTick = 16;

	/** Runs the loop for a while of wall-clock time. */
	void runFor (std::chrono::milliseconds duration);
	/** Runs the loop until done answers true or maxFrameTicks frame ticks have been fired; answers
	    done's last answer. Ticks, unlike wall-clock time, do not stretch on a loaded machine. */
	bool runUntil (const std::function<bool ()>& done, int maxFrameTicks);

	size_t eventHandlerCount () const { return eventHandlers.size (); }
	size_t timerCount () const { return timers.size (); }

	Steinberg::tresult PLUGIN_API resizeView (Steinberg::IPlugView* view, Steinberg::ViewRect* newSize) override;

	Steinberg::tresult PLUGIN_API registerEventHandler (Steinberg::Linux::IEventHandler* handler,
	                                                    Steinberg::Linux::FileDescriptor fd) override;
	Steinberg::tresult PLUGIN_API unregisterEventHandler (Steinberg::Linux::IEventHandler* handler) override;
	Steinberg::tresult PLUGIN_API registerTimer (Steinberg::Linux::ITimerHandler* handler,
	                                             Steinberg::Linux::TimerInterval milliseconds) override;
	Steinberg::tresult PLUGIN_API unregisterTimer (Steinberg::Linux::ITimerHandler* handler) override;

	OBJ_METHODS (DawPlugFrame, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (Steinberg::IPlugFrame)
		DEF_INTERFACE (Steinberg::Linux::IRunLoop)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)

private:
	struct EventHandler
	{
		Steinberg::IPtr<Steinberg::Linux::IEventHandler> handler;
		Steinberg::Linux::FileDescriptor fd;
	};
	struct Timer
	{
		Steinberg::IPtr<Steinberg::Linux::ITimerHandler> handler;
		Steinberg::Linux::TimerInterval period;
		Clock::time_point due;
	};

	/** Waits for a descriptor or the next timer, at most maxWait, and dispatches what is ready. */
	void runOnce (std::chrono::milliseconds maxWait);
	void dispatchReadyDescriptors (std::chrono::milliseconds wait);
	void fireDueTimers ();
	bool hasEventHandler (Steinberg::Linux::IEventHandler* handler) const;
	Timer* findTimer (Steinberg::Linux::ITimerHandler* handler);

	std::vector<EventHandler> eventHandlers;
	std::vector<Timer> timers;
	int frameTicks {0};
};
