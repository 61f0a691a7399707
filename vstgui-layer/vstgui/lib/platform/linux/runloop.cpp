#include "vstgui/lib/platform/linux/runloop.h"

#include "vstgui/lib/cvstguitimer.h"

#include "base/source/fobject.h"

#include <algorithm>
#include <vector>

namespace VSTGUI {
namespace X11 {
namespace {

using Steinberg::Linux::IRunLoop;

// The host may keep a reference after the timer has stopped, so the handler forgets its timer
// instead of pointing at a dead one.
class TimerHandler : public Steinberg::FObject, public Steinberg::Linux::ITimerHandler
{
public:
	TimerHandler (CVSTGUITimer* timer, uint32_t period) : timer (timer), period (period) {}

	void PLUGIN_API onTimer () SMTG_OVERRIDE
	{
		// The callback may stop the timer, which drops the last reference but ours.
		Steinberg::IPtr<TimerHandler> self (this);
		if (timer)
			timer->fire ();
	}

	CVSTGUITimer* timer;
	const uint32_t period;

	OBJ_METHODS (TimerHandler, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (Steinberg::Linux::ITimerHandler)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)
};

struct Timers
{
	std::vector<Steinberg::IPtr<IRunLoop>> loans;
	std::vector<Steinberg::IPtr<TimerHandler>> running;

	IRunLoop* activeLoop () const { return loans.empty () ? nullptr : loans.front ().get (); }
};

Timers& timers ()
{
	static Timers state;
	return state;
}

void registerAll (IRunLoop* loop)
{
	if (loop)
		for (auto& handler : timers ().running)
			loop->registerTimer (handler, handler->period);
}

void unregisterAll (IRunLoop* loop)
{
	if (loop)
		for (auto& handler : timers ().running)
			loop->unregisterTimer (handler);
}

} // namespace

void RunLoop::attach (IRunLoop* hostLoop)
{
	if (hostLoop == nullptr)
		return;
	auto& state = timers ();
	state.loans.emplace_back (hostLoop);
	if (state.loans.size () == 1)
		registerAll (hostLoop);
}

void RunLoop::detach (IRunLoop* hostLoop)
{
	auto& state = timers ();
	auto loan = std::find_if (state.loans.begin (), state.loans.end (),
	                          [&] (const auto& l) { return l.get () == hostLoop; });
	if (loan == state.loans.end ())
		return;
	// Keep the loop alive until its timers have left it.
	Steinberg::IPtr<IRunLoop> before (state.activeLoop ());
	state.loans.erase (loan);
	if (before.get () == state.activeLoop ())
		return;
	unregisterAll (before);
	registerAll (state.activeLoop ());
}

void RunLoop::startTimer (CVSTGUITimer* timer, uint32_t periodMilliseconds)
{
	auto& state = timers ();
	auto handler = Steinberg::owned (new TimerHandler (timer, periodMilliseconds));
	state.running.push_back (handler);
	if (IRunLoop* loop = state.activeLoop ())
		loop->registerTimer (handler, periodMilliseconds);
}

void RunLoop::stopTimer (CVSTGUITimer* timer)
{
	auto& running = timers ().running;
	auto entry = std::find_if (running.begin (), running.end (),
	                           [&] (const auto& handler) { return handler->timer == timer; });
	if (entry == running.end ())
		return;
	Steinberg::IPtr<TimerHandler> handler = *entry;
	running.erase (entry);
	handler->timer = nullptr;
	if (IRunLoop* loop = timers ().activeLoop ())
		loop->unregisterTimer (handler);
}

} // namespace X11
} // namespace VSTGUI
