// A host run loop on a clock that only the test moves, lent to the editor framework's timers.
#pragma once

#include "vstgui/lib/platform/linux/runloop.h"

#include "base/source/fobject.h"

#include <algorithm>
#include <cstdint>
#include <vector>

namespace veltrane_test {

class ManualRunLoop : public Steinberg::FObject, public Steinberg::Linux::IRunLoop
{
public:
	ManualRunLoop () { VSTGUI::X11::RunLoop::attach (this); }
	~ManualRunLoop () override { VSTGUI::X11::RunLoop::detach (this); }
	ManualRunLoop (const ManualRunLoop&) = delete;
	ManualRunLoop& operator= (const ManualRunLoop&) = delete;

	/** Fires each timer once for every whole period that has passed since it was registered or
	    last fired. A callback may register or unregister timers. */
	void advance (uint32_t milliseconds)
	{
		const auto due = timers;
		for (const auto& entry : due)
		{
			if (!isRegistered (entry.handler))
				continue;
			elapsedOf (entry.handler) += milliseconds;
			while (isRegistered (entry.handler) && elapsedOf (entry.handler) >= entry.period)
			{
				elapsedOf (entry.handler) -= entry.period;
				entry.handler->onTimer ();
			}
		}
	}

	size_t timerCount () const { return timers.size (); }
	uint64_t periodOf (size_t index) const { return timers.at (index).period; }

	Steinberg::tresult PLUGIN_API registerEventHandler (Steinberg::Linux::IEventHandler*,
	                                                    Steinberg::Linux::FileDescriptor) override
	{
		return Steinberg::kResultOk;
	}
	Steinberg::tresult PLUGIN_API unregisterEventHandler (Steinberg::Linux::IEventHandler*) override
	{
		return Steinberg::kResultOk;
	}
	Steinberg::tresult PLUGIN_API registerTimer (Steinberg::Linux::ITimerHandler* handler,
	                                             Steinberg::Linux::TimerInterval milliseconds) override
	{
		timers.push_back ({Steinberg::IPtr<Steinberg::Linux::ITimerHandler> (handler), milliseconds, 0});
		return Steinberg::kResultOk;
	}
	Steinberg::tresult PLUGIN_API unregisterTimer (Steinberg::Linux::ITimerHandler* handler) override
	{
		timers.erase (std::remove_if (timers.begin (), timers.end (),
		                              [&] (const Timer& t) { return t.handler.get () == handler; }),
		              timers.end ());
		return Steinberg::kResultOk;
	}

	OBJ_METHODS (ManualRunLoop, Steinberg::FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (Steinberg::Linux::IRunLoop)
	END_DEFINE_INTERFACES (Steinberg::FObject)
	REFCOUNT_METHODS (Steinberg::FObject)

private:
	struct Timer
	{
		Steinberg::IPtr<Steinberg::Linux::ITimerHandler> handler;
		Steinberg::Linux::TimerInterval period;
		Steinberg::Linux::TimerInterval elapsed;
	};

	bool isRegistered (const Steinberg::IPtr<Steinberg::Linux::ITimerHandler>& handler) const
	{
		return std::any_of (timers.begin (), timers.end (), [&] (const Timer& t) { return t.handler == handler; });
	}
	Steinberg::Linux::TimerInterval& elapsedOf (const Steinberg::IPtr<Steinberg::Linux::ITimerHandler>& handler)
	{
		return std::find_if (timers.begin (), timers.end (), [&] (const Timer& t) { return t.handler == handler; })
		    ->elapsed;
	}

	std::vector<Timer> timers;
};

} // namespace veltrane_test
