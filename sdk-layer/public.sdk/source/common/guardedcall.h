// Not an SDK file: the one guard that keeps exceptions from crossing a VST3 interface into the host,
// for the stand-ins and the plug-in alike.
#pragma once

#include <type_traits>

namespace Steinberg {

/** work (), or failure when it throws: a host that called through an interface must never see an
    exception (a failed allocation, a library's conversion error). */
template <typename Work>
std::invoke_result_t<Work&> guardedCall (std::invoke_result_t<Work&> failure, Work&& work) noexcept
{
	try
	{
		return work ();
	}
	catch (...)
	{
		return failure;
	}
}

/** work (), for a call that has no result to fail with: what it throws ends here. */
template <typename Work>
void guardedCall (Work&& work) noexcept
{
	try
	{
		work ();
	}
	catch (...)
	{
	}
}

} // namespace Steinberg
