#include "dsp/DSPParameter.h"

#include "dsp/ParameterLink.h"

#include <algorithm>
#include <cfloat>
#include <cmath>

namespace KOREMU {
namespace DSPLib {

namespace {
// A glide this close to its target (relative, with a floor for a zero target) takes the
// target, so the smoother state never decays into subnormal numbers.
constexpr double kSettleTolerance = 1e-12;
constexpr double kSettleFloor = 1e-12;
}

DSPParameter::DSPParameter (uint32 key, const char16* newName, int32 flags, double defaultValue)
: key (key)
, value (defaultValue)
, baseValue (defaultValue)
, flags (flags)
, minimum (-DBL_MAX)
, maximum (DBL_MAX)
{
	if (newName)
	{
		for (int32 i = 0; i < kMaxNameLength && newName[i] != 0; ++i)
			name[i] = newName[i];
	}
}

DSPParameter::~DSPParameter () = default;

void DSPParameter::setRange (double newMinimum, double newMaximum)
{
	minimum = newMinimum;
	maximum = newMaximum;
	value = clamp (value);
	baseValue = clamp (baseValue);
}

int32 DSPParameter::prepareSmoothing ()
{
	if (!isSmoothed ())
		return 0;
	const double x = std::exp (-2.2 / (smoothingTimeMs * 0.001 * sampleRate));
	coefficientA = 1.0 - x;
	coefficientX = x;
	settledStaysPut = x >= 0.0 && x <= 1.0;
	smootherState = std::isnan (value) ? 0.0 : value;
	smootherPrepared = true;
	return 0;
}

void DSPParameter::settleOnTarget ()
{
	const double tolerance = kSettleTolerance * std::max (std::fabs (value), kSettleFloor);
	if (std::fabs (smootherState - value) <= tolerance)
		smootherState = value;
}

double DSPParameter::glide ()
{
	smootherState = value * coefficientA + smootherState * coefficientX;
	settleOnTarget ();
	return smootherState;
}

void DSPParameter::setLink (std::unique_ptr<ParameterLink> newLink)
{
	link = std::move (newLink);
}

} // namespace DSPLib
} // namespace KOREMU
