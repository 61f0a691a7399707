#include "plugin/controller/KSRangeParameter.h"

#include "plugin/controller/ParamValueText.h"

#include <cmath>

namespace Steinberg {
namespace Vst {

KSRangeParameter::KSRangeParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
                                    const TChar* suffix, ParamValue minPlain, ParamValue maxPlain,
                                    ParamValue defaultValuePlain)
{
	setMin (minPlain);
	setMax (maxPlain);
	describeRangeParameter (info, title, tag, units, flags);
	info.defaultNormalizedValue = valueNormalized = toNormalized (defaultValuePlain);
	if (suffix)
		copyText (suffix, unitSuffix);
	showUnitSuffix = info.units[0] == 0 && unitSuffix[0] != 0;
}

void KSRangeParameter::toString (ParamValue normalized, String128 string) const
{
	printValueText (toPlain (normalized), precision, showUnitSuffix ? unitSuffix : nullptr, string);
}

bool KSRangeParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	return readPlainText (*this, string, showUnitSuffix ? unitSuffix : info.units, normalized);
}

ParamValue KSRangeParameter::toPlain (ParamValue normalized) const
{
	return RangeParameter::toPlain (limitedNormalized (normalized, info.defaultNormalizedValue));
}

ParamValue KSRangeParameter::toNormalized (ParamValue plain) const
{
	const ParamValue fallback = info.defaultNormalizedValue;
	return std::isnan (plain) ? fallback : limitedNormalized (RangeParameter::toNormalized (plain), fallback);
}

} // namespace Vst
} // namespace Steinberg
