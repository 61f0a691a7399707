// Value texts shared by the controller's range parameters.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

/** Prints plain with "%.*lf" at precision into the 128-unit text, never as a negative zero, then
    appends a blank and suffix when suffix is given; the text always keeps its terminator. */
void printValueText (ParamValue plain, int32 precision, const TChar* suffix, String128 text);

/** Copies source into a 128-unit text, cut to 127 units and terminated. */
void copyText (const TChar* source, String128 text);

} // namespace Vst
} // namespace Steinberg
