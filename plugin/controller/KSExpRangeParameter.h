// A range parameter mapped exponentially, for frequencies and times; value text as KSRangeParameter.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

/** Maps plain = min * (max / min)^normalized. Bounds that allow no such mapping (not both above 0,
    or equal) fall back to the linear one, so the mapping never yields NaN or infinity. Both
    directions clamp to the range, and a value that is not a number stands for the default. */
class KSExpRangeParameter : public RangeParameter
{
public:
	KSExpRangeParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
	                     const TChar* unitSuffix, ParamValue minPlain, ParamValue maxPlain,
	                     ParamValue defaultValuePlain);

	void toString (ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
	/** A text that gives a finite number, as a plain value, optionally with the units or the shown
	    suffix after it. */
	bool fromString (const TChar* string, ParamValue& valueNormalized) const SMTG_OVERRIDE;
	ParamValue toPlain (ParamValue valueNormalized) const SMTG_OVERRIDE;
	ParamValue toNormalized (ParamValue plainValue) const SMTG_OVERRIDE;

protected:
	String128 unitSuffix {};
	bool showUnitSuffix = false;

private:
	bool mapsExponentially () const;
};

} // namespace Vst
} // namespace Steinberg
