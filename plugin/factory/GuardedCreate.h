// Wraps a class's create function so that no exception crosses the factory's C interface.
#pragma once

#include "pluginterfaces/base/funknown.h"
#include "public.sdk/source/common/guardedcall.h"

namespace Steinberg {
namespace Vst {

/** Create (context), or null when it throws (a failed allocation, for instance). */
template <FUnknown* (*Create) (void*)>
FUnknown* guardedCreate (void* context) noexcept
{
	return guardedCall (nullptr, [context] { return Create (context); });
}

} // namespace Vst
} // namespace Steinberg
