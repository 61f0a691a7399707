#include "plugin/controller/KSSwitchParameter.h"

#include "plugin/controller/ParamValueText.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstunits.h"

namespace Steinberg {
namespace Vst {

KSSwitchParameter::KSSwitchParameter (const TChar* title, ParamID tag, ParamValue defaultNormalized, int32 flags)
: Parameter (title, tag, nullptr, defaultNormalized, 1, flags, kRootUnitId, nullptr)
{
}

ParamValue KSSwitchParameter::limited (ParamValue value) const
{
	return limitedNormalized (value, info.defaultNormalizedValue);
}

void KSSwitchParameter::toString (ParamValue normalized, String128 string) const
{
	Parameter::toString (limited (normalized), string);
}

// The texts of both states first, as toString prints them.
bool KSSwitchParameter::fromString (const TChar* string, ParamValue& normalized) const
{
	if (!string)
		return false;
	for (ParamValue state : {0.0, 1.0})
	{
		String128 text;
		toString (state, text);
		if (strcmp16 (string, text) == 0)
		{
			normalized = state;
			return true;
		}
	}
	ParamValue number = 0.0;
	if (!readValueText (string, nullptr, number))
		return false;
	normalized = limited (number);
	return true;
}

ParamValue KSSwitchParameter::toPlain (ParamValue normalized) const
{
	return limited (normalized);
}

ParamValue KSSwitchParameter::toNormalized (ParamValue plain) const
{
	return limited (plain);
}

} // namespace Vst
} // namespace Steinberg
