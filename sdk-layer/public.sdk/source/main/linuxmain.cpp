// Stands in for the VST3 SDK's Linux module entry (public.sdk/source/main/linuxmain.cpp), missing from the Debian SDK.
#include "pluginterfaces/base/fplatform.h"
#include "public.sdk/source/common/guardedcall.h"

#include <mutex>

namespace {

std::mutex entryLock;
int entryCount = 0;

} // namespace

extern "C" {

/** Called by the host after loading the module; nested calls are counted. */
SMTG_EXPORT_SYMBOL bool ModuleEntry (void* /*sharedLibraryHandle*/)
{
	return Steinberg::guardedCall (false, [] {
		std::lock_guard<std::mutex> guard (entryLock);
		++entryCount;
		return true;
	});
}

/** Called by the host before unloading the module; false without a matching ModuleEntry. */
SMTG_EXPORT_SYMBOL bool ModuleExit ()
{
	return Steinberg::guardedCall (false, [] {
		std::lock_guard<std::mutex> guard (entryLock);
		if (entryCount == 0)
			return false;
		--entryCount;
		return true;
	});
}

} // extern "C"
