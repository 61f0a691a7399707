#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <cmath>

namespace KOREMU {
namespace DSPLib {

// Float-to-integer conversions for sample counts and delays. A value that is not a finite
// number keeps the caller's last valid result, and every result lies within [lowest, highest],
// so no conversion is ever undefined.
inline Steinberg::int32 framesFromValue (double value, Steinberg::int32 lastValid, Steinberg::int32 lowest,
                                         Steinberg::int32 highest)
{
	if (!std::isfinite (value))
		return lastValid < lowest ? lowest : (lastValid > highest ? highest : lastValid);
	const double t = std::trunc (value);
	if (t <= static_cast<double> (lowest))
		return lowest;
	if (t >= static_cast<double> (highest))
		return highest;
	return static_cast<Steinberg::int32> (t);
}

// A parameter value that is not a finite number keeps the last valid one.
inline double finiteOr (double value, double lastValid)
{
	return std::isfinite (value) ? value : lastValid;
}

} // namespace DSPLib
} // namespace KOREMU
