#include "DawPlugFrame.h"

#include <algorithm>
#include <poll.h>

using namespace Steinberg;
using namespace std::chrono;

namespace {

// Keeps a test that never sees its condition from hanging.
constexpr milliseconds kGiveUpAfter {20000};

} // namespace

void DawPlugFrame::runFor (milliseconds duration)
{
	const auto end = Clock::now () + duration;
	for (auto now = Clock::now (); now < end; now = Clock::now ())
		runOnce (duration_cast<milliseconds> (end - now));
}

bool DawPlugFrame::runUntil (const std::function<bool ()>& done, int maxFrameTicks)
{
	const int last = frameTicks + maxFrameTicks;
	const auto giveUp = Clock::now () + kGiveUpAfter;
	while (!done ())
	{
		if (frameTicks >= last || Clock::now () > giveUp)
			return done ();
		runOnce (milliseconds (kFrameTick));
	}
	return true;
}

void DawPlugFrame::runOnce (milliseconds maxWait)
{
	auto wait = maxWait;
	const auto now = Clock::now ();
	for (const Timer& timer : timers)
		wait = std::min (wait, duration_cast<milliseconds> (std::max (timer.due - now, Clock::duration::zero ())));
	dispatchReadyDescriptors (wait);
	fireDueTimers ();
}

void DawPlugFrame::dispatchReadyDescriptors (milliseconds wait)
{
	std::vector<pollfd> fds;
	for (const auto& entry : eventHandlers)
		fds.push_back ({entry.fd, POLLIN, 0});
	const auto handlers = eventHandlers;
	if (poll (fds.data (), fds.size (), static_cast<int> (wait.count ())) <= 0)
		return;
	for (size_t i = 0; i < fds.size (); ++i)
		if ((fds[i].revents & POLLIN) && hasEventHandler (handlers[i].handler))
			handlers[i].handler->onFDIsSet (handlers[i].fd);
}

// A callback may register or unregister timers, so each one is looked up again before it fires.
void DawPlugFrame::fireDueTimers ()
{
	const auto due = timers;
	// Several editors refresh on timers of their own; the oldest of them paces the screen.
	auto pacer = std::find_if (due.begin (), due.end (), [] (const Timer& t) { return t.period <= kFrameTick; });
	for (const Timer& entry : due)
	{
		Timer* timer = findTimer (entry.handler);
		const auto now = Clock::now ();
		if (timer == nullptr || now < timer->due)
			continue;
		timer->due = now + milliseconds (timer->period);
		if (pacer != due.end () && pacer->handler == entry.handler)
			++frameTicks;
		entry.handler->onTimer ();
	}
}

bool DawPlugFrame::hasEventHandler (Linux::IEventHandler* handler) const
{
	return std::any_of (eventHandlers.begin (), eventHandlers.end (),
	                    [&] (const EventHandler& e) { return e.handler.get () == handler; });
}

DawPlugFrame::Timer* DawPlugFrame::findTimer (Linux::ITimerHandler* handler)
{
	auto it = std::find_if (timers.begin (), timers.end (), [&] (const Timer& t) { return t.handler.get () == handler; });
	return it == timers.end () ? nullptr : &*it;
}

tresult PLUGIN_API DawPlugFrame::resizeView (IPlugView* view, ViewRect* newSize)
{
	return view && newSize ? view->onSize (newSize) : kInvalidArgument;
}

tresult PLUGIN_API DawPlugFrame::registerEventHandler (Linux::IEventHandler* handler, Linux::FileDescriptor fd)
{
	if (handler == nullptr || hasEventHandler (handler))
		return kInvalidArgument;
	eventHandlers.push_back ({IPtr<Linux::IEventHandler> (handler), fd});
	return kResultOk;
}

tresult PLUGIN_API DawPlugFrame::unregisterEventHandler (Linux::IEventHandler* handler)
{
	auto it = std::find_if (eventHandlers.begin (), eventHandlers.end (),
	                        [&] (const EventHandler& e) { return e.handler.get () == handler; });
	if (it == eventHandlers.end ())
		return kInvalidArgument;
	eventHandlers.erase (it);
	return kResultOk;
}

tresult PLUGIN_API DawPlugFrame::registerTimer (Linux::ITimerHandler* handler, Linux::TimerInterval milliseconds)
{
	if (handler == nullptr || milliseconds == 0 || findTimer (handler))
		return kInvalidArgument;
	timers.push_back ({IPtr<Linux::ITimerHandler> (handler), milliseconds, Clock::now () + std::chrono::milliseconds (milliseconds)});
	return kResultOk;
}

tresult PLUGIN_API DawPlugFrame::unregisterTimer (Linux::ITimerHandler* handler)
{
	auto it = std::find_if (timers.begin (), timers.end (), [&] (const Timer& t) { return t.handler.get () == handler; });
	if (it == timers.end ())
		return kInvalidArgument;
	timers.erase (it);
	return kResultOk;
}
