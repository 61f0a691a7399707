// How a parameter's normalized value (0 to 1) becomes the value of one block parameter.
#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

/** `from` is the value at 0 and `to` the value at 1, for every shape but the two quarter waves,
    which always run between 0 and 1. */
struct ParamCurve
{
	enum Shape : int32
	{
		/** Always `from`. */
		kConstant,
		/** Equal steps of the value add equal amounts. */
		kLinear,
		/** Equal steps of the value multiply by equal factors; `from` and `to` share their sign. */
		kExponential,
		/** cos (v pi / 2), 1 down to 0; with kQuarterSine an equal-power blend. */
		kQuarterCosine,
		/** sin (v pi / 2), 0 up to 1. */
		kQuarterSine,
		/** 1 above one half, else 0. */
		kSwitch,
	};

	Shape shape {kConstant};
	double from {0.0};
	double to {0.0};

	static constexpr ParamCurve constant (double value) { return {kConstant, value, value}; }
	static constexpr ParamCurve linear (double from, double to) { return {kLinear, from, to}; }
	static constexpr ParamCurve exponential (double from, double to) { return {kExponential, from, to}; }
	static constexpr ParamCurve quarterCosine () { return {kQuarterCosine, 1.0, 0.0}; }
	static constexpr ParamCurve quarterSine () { return {kQuarterSine, 0.0, 1.0}; }
	static constexpr ParamCurve switchAboveHalf () { return {kSwitch, 0.0, 1.0}; }

	/** The block parameter's value for normalized value v. */
	double at (double v) const;
	/** The largest value the curve reaches for v from 0 to 1: every shape is monotonic. */
	constexpr double highest () const { return std::max (from, to); }
};

} // namespace Vst
} // namespace Steinberg
