#include "vstgui/lib/cvstguitimer.h"

#include <algorithm>
#include <utility>
#include <vector>

namespace VSTGUI {

namespace {

struct RunningTimer
{
	CVSTGUITimer* timer;
	uint64_t serial;
	bool operator== (const RunningTimer& o) const { return timer == o.timer && serial == o.serial; }
};

std::vector<RunningTimer>& runningTimers ()
{
	static std::vector<RunningTimer> timers;
	return timers;
}

uint64_t nextSerial ()
{
	static uint64_t serial = 0;
	return ++serial;
}

bool isStillRunning (const RunningTimer& entry)
{
	const auto& timers = runningTimers ();
	return std::find (timers.begin (), timers.end (), entry) != timers.end ();
}

} // namespace

CVSTGUITimer::CVSTGUITimer (CallbackFunc callback, uint32_t fireTime, bool doStart)
: callback (std::move (callback)), fireTime (fireTime), serial (nextSerial ())
{
	if (doStart)
		start ();
}

CVSTGUITimer::~CVSTGUITimer () noexcept
{
	stop ();
}

bool CVSTGUITimer::start ()
{
	if (running || fireTime == 0)
		return false;
	running = true;
	elapsed = 0;
	runningTimers ().push_back ({this, serial});
	return true;
}

bool CVSTGUITimer::stop ()
{
	if (!running)
		return false;
	running = false;
	auto& timers = runningTimers ();
	timers.erase (std::remove (timers.begin (), timers.end (), RunningTimer {this, serial}), timers.end ());
	return true;
}

bool CVSTGUITimer::setFireTime (uint32_t newFireTime)
{
	if (newFireTime == 0)
		return false;
	fireTime = newFireTime;
	if (running)
	{
		stop ();
		start ();
	}
	return true;
}

void CVSTGUITimer::fire ()
{
	auto self = shared (this);
	if (callback)
		callback (this);
}

// Callbacks may start, stop or destroy timers, so each entry is checked again before it is touched;
// a destroyed timer has left the running list.
void CVSTGUITimer::advanceClock (uint32_t milliseconds)
{
	const auto due = runningTimers ();
	for (const auto& entry : due)
	{
		if (!isStillRunning (entry))
			continue;
		entry.timer->elapsed += milliseconds;
		while (isStillRunning (entry) && entry.timer->elapsed >= entry.timer->fireTime)
		{
			entry.timer->elapsed -= entry.timer->fireTime;
			entry.timer->fire ();
		}
	}
}

} // namespace VSTGUI
