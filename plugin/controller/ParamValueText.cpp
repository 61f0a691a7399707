#include "plugin/controller/ParamValueText.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

namespace Steinberg {
namespace Vst {

namespace {

constexpr int32 kTextUnits = 128;
// More digits than a double carries; keeps every printed text within the 128 units.
constexpr int32 kMaxPrecision = 40;

bool printsAsZero (const char* digits)
{
	return std::strspn (digits, "0.") == std::strlen (digits);
}

} // namespace

void printValueText (ParamValue plain, int32 precision, const TChar* suffix, String128 text)
{
	text[0] = 0;
	if (!std::isfinite (plain))
		return;
	char buffer[kTextUnits];
	const int32 digits = std::clamp (precision, 0, kMaxPrecision);
	int length = std::snprintf (buffer, sizeof buffer, "%.*lf", digits, plain);
	// Cut digits would read back as another number.
	if (length >= static_cast<int> (sizeof buffer))
		length = std::snprintf (buffer, sizeof buffer, "%.*le", digits, plain);
	if (length <= 0)
		return;
	// Judged on the printed digits, so a value that rounds to zero never shows a minus sign.
	const char* printed = (buffer[0] == '-' && printsAsZero (buffer + 1)) ? buffer + 1 : buffer;
	UString wrapper (text, kTextUnits);
	wrapper.fromAscii (printed);
	if (suffix && suffix[0] != 0)
	{
		wrapper.append (STR16 (" "));
		wrapper.append (suffix);
	}
}

bool readFiniteNumber (const TChar* text, ParamValue& value)
{
	if (!text)
		return false;
	double read = 0.0;
	if (!UString (const_cast<TChar*> (text), tstrlen (text)).scanFloat (read) || !std::isfinite (read))
		return false;
	value = read;
	return true;
}

bool readPlainText (const Parameter& parameter, const TChar* text, ParamValue& normalized)
{
	ParamValue plain = 0.0;
	if (!readFiniteNumber (text, plain))
		return false;
	normalized = parameter.toNormalized (plain);
	return true;
}

ParamValue limitedNormalized (ParamValue normalized, ParamValue fallback)
{
	if (std::isnan (normalized))
		return fallback;
	return std::clamp (normalized, 0.0, 1.0);
}

void copyText (const TChar* source, String128 text)
{
	UString (text, kTextUnits).assign (source);
}

void describeRangeParameter (ParameterInfo& info, const TChar* title, ParamID tag, const TChar* units,
                             int32 flags)
{
	if (title)
		copyText (title, info.title);
	if (units)
		copyText (units, info.units);
	info.flags = flags;
	info.id = tag;
	info.stepCount = 0;
	info.unitId = kRootUnitId;
}

} // namespace Vst
} // namespace Steinberg
