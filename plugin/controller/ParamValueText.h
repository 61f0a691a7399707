// Value texts shared by the controller's range parameters.
#pragma once

#include "public.sdk/source/vst/vstparameters.h"

namespace Steinberg {
namespace Vst {

/** Prints plain with "%.*lf" at precision into the 128-unit text, never as a negative zero, then
    appends a blank and suffix when suffix is given; the text always keeps its terminator. A number
    too long for the text is printed with an exponent, one that is not finite not at all. */
void printValueText (ParamValue plain, int32 precision, const TChar* suffix, String128 text);

/** The one reader of typed and printed value texts: blanks, a sign, digits with at most one point,
    an exponent, then blanks, unit (when given) and blanks. It reads the UTF-16 units itself, at
    most 128 of them, so it neither throws nor shares state between threads. False, with value
    untouched, for anything else: an empty, overlong or non-numeric text, a lone surrogate, a
    number beyond the range of a double. */
bool readValueText (const TChar* text, const TChar* unit, ParamValue& value);

/** Reads text, optionally followed by unit, as a plain value and maps it to normalized with the
    parameter's own mapping. */
bool readPlainText (const Parameter& parameter, const TChar* text, const TChar* unit, ParamValue& normalized);

/** A normalized value limited to 0 ... 1; one that is not a number becomes fallback. */
ParamValue limitedNormalized (ParamValue normalized, ParamValue fallback);

/** Copies source into a 128-unit text, cut to 127 units and terminated. */
void copyText (const TChar* source, String128 text);

/** Fills what the controller's range parameters share of their information: title and units
    (when given), flags, tag, a continuous range and the root unit. */
void describeRangeParameter (ParameterInfo& info, const TChar* title, ParamID tag, const TChar* units,
                             int32 flags);

} // namespace Vst
} // namespace Steinberg
