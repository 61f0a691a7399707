// Value texts shared by the controller's range parameters.
#pragma once

#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

/** Prints plain with "%.*lf" at precision into the 128-unit text, never as a negative zero, then
    appends a blank and suffix when suffix is given; the text always keeps its terminator. */
void printValueText (ParamValue plain, int32 precision, const TChar* suffix, String128 text);

/** Whether text reads, the way the parameters read their value texts, as a finite number. */
bool readsAsFiniteNumber (const TChar* text);

/** Copies source into a 128-unit text, cut to 127 units and terminated. */
void copyText (const TChar* source, String128 text);

/** Fills what the controller's range parameters share of their information: title and units
    (when given), flags, tag, a continuous range and the root unit. */
void describeRangeParameter (ParameterInfo& info, const TChar* title, ParamID tag, const TChar* units,
                             int32 flags);

} // namespace Vst
} // namespace Steinberg
