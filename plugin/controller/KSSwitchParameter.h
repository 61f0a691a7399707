// An on/off parameter whose texts read back.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

/** A one-step parameter of the root unit, shown as "On" above 0.5 and "Off" otherwise. It reads
    those texts back, and a number as a normalized value; conversions clamp to 0 ... 1, and a value
    that is not a number stands for the default. */
class KSSwitchParameter : public Parameter
{
public:
	KSSwitchParameter (const TChar* title, ParamID tag, ParamValue defaultNormalized, int32 flags);

	void toString (ParamValue valueNormalized, String128 string) const SMTG_OVERRIDE;
	bool fromString (const TChar* string, ParamValue& valueNormalized) const SMTG_OVERRIDE;
	ParamValue toPlain (ParamValue valueNormalized) const SMTG_OVERRIDE;
	ParamValue toNormalized (ParamValue plainValue) const SMTG_OVERRIDE;

private:
	ParamValue limited (ParamValue value) const;
};

} // namespace Vst
} // namespace Steinberg
