// UTF-16 helpers for tests whose texts are ASCII.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

#include <string>

namespace veltrane_test {

inline std::string toAscii (const Steinberg::Vst::TChar* text, int units = 128)
{
	std::string result;
	for (int i = 0; i < units && text[i] != 0; ++i)
		result.push_back (static_cast<char> (text[i]));
	return result;
}

inline std::u16string toUtf16 (const std::string& text)
{
	return std::u16string (text.begin (), text.end ());
}

} // namespace veltrane_test
