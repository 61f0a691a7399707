#include "vstgui/lib/cvstguitimer.h"

#include "vstgui/lib/platform/linux/runloop.h"

#include <utility>

namespace VSTGUI {

CVSTGUITimer::CVSTGUITimer (CallbackFunc callback, uint32_t fireTime, bool doStart)
: callback (std::move (callback)), fireTime (fireTime)
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
	X11::RunLoop::startTimer (this, fireTime);
	return true;
}

bool CVSTGUITimer::stop ()
{
	if (!running)
		return false;
	running = false;
	X11::RunLoop::stopTimer (this);
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

} // namespace VSTGUI
