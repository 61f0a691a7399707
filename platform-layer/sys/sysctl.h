// Stands in for the macOS <sys/sysctl.h> query sysctlbyname, which Linux lacks.
#pragma once

#include <cstddef>

/** Reads the setting called name into oldp; -1 with errno set on failure (ENOTSUP on Linux). */
int sysctlbyname (const char* name, void* oldp, size_t* oldlenp, void* newp, size_t newlen);

namespace PlatformLayer {

/** A replacement answer for sysctlbyname, so that the macOS answers can be tried on Linux. */
using SysctlByNameHandler = int (*) (const char* name, void* oldp, size_t* oldlenp, void* newp,
                                     size_t newlen);

/** Installs handler (nullptr restores the Linux answer) and returns the previous one. */
SysctlByNameHandler setSysctlByNameHandler (SysctlByNameHandler handler);

} // namespace PlatformLayer
