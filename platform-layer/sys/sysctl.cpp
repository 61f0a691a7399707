#include "sys/sysctl.h"

#include <cerrno>

namespace {

PlatformLayer::SysctlByNameHandler installedHandler = nullptr;

} // namespace

int sysctlbyname (const char* name, void* oldp, size_t* oldlenp, void* newp, size_t newlen)
{
	if (installedHandler)
		return installedHandler (name, oldp, oldlenp, newp, newlen);
	// Linux has no such query at all. ENOENT would claim a Mac that merely lacks the setting,
	// and the about box would name a macOS platform on Linux.
	errno = ENOTSUP;
	return -1;
}

namespace PlatformLayer {

SysctlByNameHandler setSysctlByNameHandler (SysctlByNameHandler handler)
{
	SysctlByNameHandler previous = installedHandler;
	installedHandler = handler;
	return previous;
}

} // namespace PlatformLayer
