#include "plugin/controller/KSExpRangeParameter.h"

#include "plugin/controller/ParamValueText.h"

#include <algorithm>
#include <cmath>

namespace Steinberg {
namespace Vst {

namespace {

/** Clamps into lo..hi (in either order); NaN becomes first. */
ParamValue clampInto (ParamValue value, ParamValue first, ParamValue second)
{
	if (std::isnan (value))
		return first;
	return std::clamp (value, std::min (first, second), std::max (first, second));
}

} // namespace

KSExpRangeParameter::KSExpRangeParameter (const TChar* title, ParamID tag, const TChar* units,
                                          int32 flags, const TChar* suffix, ParamValue minPlain,
                                          ParamValue maxPlain, ParamValue defaultValuePlain)
{
	setMin (minPlain);
	setMax (maxPlain);
	describeRangeParameter (info, title, tag, units, flags);
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultValuePlain);
	if (suffix)
		copyText (suffix, unitSuffix);
	showUnitSuffix = info.units[0] == 0 && unitSuffix[0] != 0;
}

bool KSExpRangeParameter::mapsExponentially () const
{
	const ParamValue min = getMin ();
	const ParamValue max = getMax ();
	return min > 0 && max > 0 && min != max && std::isfinite (min) && std::isfinite (max);
}

ParamValue KSExpRangeParameter::toPlain (ParamValue normalized) const
{
	const ParamValue min = getMin ();
	const ParamValue max = getMax ();
	const ParamValue v = limitedNormalized (normalized, info.defaultNormalizedValue);
	if (mapsExponentially ())
		return clampInto (min * std::pow (max / min, v), min, max);
	return min + (max - min) * v;
}

ParamValue KSExpRangeParameter::toNormalized (ParamValue plain) const
{
	const ParamValue min = getMin ();
	const ParamValue max = getMax ();
	if (std::isnan (plain))
		return info.defaultNormalizedValue;
	if (mapsExponentially ())
		return clampInto (std::log (clampInto (plain, min, max) / min) / std::log (max / min), 0.0, 1.0);
	if (min == max || !std::isfinite (max - min))
		return 0.0;
	return clampInto ((plain - min) / (max - min), 0.0, 1.0);
}

void KSExpRangeParameter::toString (ParamValue normalized, String128 string) const
{
	printValueText (toPlain (normalized), precision, showUnitSuffix ? unitSuffix : nullptr, string);
}

bool KSExpRangeParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	return readPlainText (*this, string, showUnitSuffix ? unitSuffix : info.units, normalized);
}

} // namespace Vst
} // namespace Steinberg
