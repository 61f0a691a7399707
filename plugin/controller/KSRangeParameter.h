// A linear range parameter whose value text can carry a unit suffix.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

/** Maps plain = min + (max - min) * normalized. Both directions clamp to the range, and a value
    that is not a number stands for the default, so texts and conversions always name a value the
    parameter can take. When the units are empty, the value text ends in a blank and unitSuffix
    (for hosts that do not show units). */
class KSRangeParameter : public RangeParameter
{
public:
	KSRangeParameter (const TChar* title, ParamID tag, const TChar* units, int32 flags,
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
};

} // namespace Vst
} // namespace Steinberg
