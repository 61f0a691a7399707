#include "plugin/processor/ParamCurve.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {

constexpr double kHalfPi = 1.5707963267948966;

} // namespace

double ParamCurve::at (double v) const
{
	switch (shape)
	{
		case kLinear:
			return v * (to - from) + from;
		case kExponential:
			return from * std::exp2 (v * std::log2 (to / from));
		case kQuarterCosine:
			return std::cos (v * kHalfPi);
		case kQuarterSine:
			return std::sin (v * kHalfPi);
		case kSwitch:
			return v > 0.5 ? 1.0 : 0.0;
		case kConstant:
		default:
			return from;
	}
}

} // namespace Vst
} // namespace Steinberg
