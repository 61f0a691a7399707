#include "plugin/controller/ParamValueText.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivstunits.h"

#include <algorithm>
#include <charconv>
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

bool readValueText (const TChar* text, const TChar* unit, ParamValue& value)
{
	if (!text)
		return false;
	int32 length = 0;
	while (length < kTextUnits && text[length] != 0)
		++length;
	// No value text the parameters print is this long.
	if (length == kTextUnits)
		return false;

	// The number's ASCII form for std::from_chars, which takes no sign '+'.
	char ascii[kTextUnits];
	int32 used = 0;
	int32 at = 0;
	const auto peek = [&] { return at < length ? text[at] : TChar (0); };
	const auto take = [&] (TChar unit16) {
		if (peek () != unit16)
			return false;
		++at;
		return true;
	};
	const auto skipBlanks = [&] {
		while (peek () == u' ' || peek () == u'\t')
			++at;
	};
	const auto copySign = [&] {
		if (take (u'-'))
			ascii[used++] = '-';
		else
			take (u'+');
	};
	const auto copyDigits = [&] {
		int32 digits = 0;
		for (; peek () >= u'0' && peek () <= u'9'; ++digits)
			ascii[used++] = static_cast<char> (text[at++]);
		return digits;
	};

	skipBlanks ();
	copySign ();
	int32 digits = copyDigits ();
	if (take (u'.'))
	{
		ascii[used++] = '.';
		digits += copyDigits ();
	}
	if (digits == 0)
		return false;
	if (take (u'e') || take (u'E'))
	{
		ascii[used++] = 'e';
		copySign ();
		if (copyDigits () == 0)
			return false;
	}
	skipBlanks ();
	// The unit, when the text goes on with it.
	int32 matched = 0;
	while (unit && unit[matched] != 0 && at + matched < length && text[at + matched] == unit[matched])
		++matched;
	if (unit && unit[matched] == 0)
		at += matched;
	skipBlanks ();

	double parsed = 0.0;
	const auto [end, error] = std::from_chars (ascii, ascii + used, parsed);
	if (at != length || error != std::errc () || end != ascii + used || !std::isfinite (parsed))
		return false;
	value = parsed;
	return true;
}

bool readPlainText (const Parameter& parameter, const TChar* text, const TChar* unit, ParamValue& normalized)
{
	ParamValue plain = 0.0;
	if (!readValueText (text, unit, plain))
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
