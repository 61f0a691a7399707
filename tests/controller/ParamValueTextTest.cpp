// The controller's one reader of value texts: what the parameters print and what users type reads
// back; everything else is refused and leaves the value alone.
#include "plugin/controller/ParamValueText.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

struct TextCase
{
	std::u16string text;
	std::u16string unit;
	bool reads;
	double value;
};

std::ostream& operator<< (std::ostream& os, const TextCase& c)
{
	os << "\"";
	for (char16_t unit : c.text)
		os << (unit >= 0x20 && unit < 0x7F ? std::string (1, static_cast<char> (unit)) : "\\u" + std::to_string (unit));
	return os << "\"";
}

class ValueTextReader : public testing::TestWithParam<TextCase>
{
};

TEST_P (ValueTextReader, ReadsNumbersWithTheirUnitAndRefusesTheRest)
{
	const TextCase c = GetParam ();
	double value = -7.0;
	EXPECT_EQ (readValueText (c.text.c_str (), c.unit.c_str (), value), c.reads);
	EXPECT_EQ (value, c.reads ? c.value : -7.0);
}

INSTANTIATE_TEST_SUITE_P (
    Accepted, ValueTextReader,
    testing::Values (TextCase {u"50", u"", true, 50}, TextCase {u" 50 ", u"", true, 50},
                     TextCase {u"\t7\t", u"", true, 7}, TextCase {u"+5", u"", true, 5},
                     TextCase {u"-5", u"", true, -5}, TextCase {u"-0", u"", true, -0.0},
                     TextCase {u"12.30", u"", true, 12.3}, TextCase {u".5", u"", true, 0.5},
                     TextCase {u"5.", u"", true, 5}, TextCase {u"1e3", u"", true, 1000},
                     TextCase {u"1E-3", u"", true, 0.001}, TextCase {u"2.5e+2", u"", true, 250},
                     TextCase {u"50%", u"%", true, 50}, TextCase {u"50 %", u"%", true, 50},
                     TextCase {u"12.30 dB", u"dB", true, 12.3}, TextCase {u"50", u"%", true, 50},
                     TextCase {std::u16string (127, u'1'), u"", true, 1.1111111111111111e126}));

INSTANTIATE_TEST_SUITE_P (
    Refused, ValueTextReader,
    testing::Values (TextCase {u"", u"", false, 0}, TextCase {u"   ", u"", false, 0},
                     TextCase {u"%", u"%", false, 0}, TextCase {u"%50", u"%", false, 0},
                     TextCase {u"50 dB", u"%", false, 0}, TextCase {u"50 % %", u"%", false, 0},
                     TextCase {u"5 5", u"", false, 0}, TextCase {u"1e", u"", false, 0},
                     TextCase {u"e1", u"", false, 0}, TextCase {u".", u"", false, 0},
                     TextCase {u"-", u"", false, 0}, TextCase {u"+-1", u"", false, 0},
                     TextCase {u"1.2.3", u"", false, 0}, TextCase {u"1,5", u"", false, 0},
                     TextCase {u"0x10", u"", false, 0}, TextCase {u"nan", u"", false, 0},
                     TextCase {u"inf", u"", false, 0}, TextCase {u"1e400", u"", false, 0},
                     TextCase {u"\xDC00" u"50", u"", false, 0}, TextCase {u"50\xD800", u"", false, 0},
                     TextCase {u"5\xDBFF\xDFFF", u"", false, 0}, TextCase {u"\xFF15\xFF10", u"", false, 0},
                     TextCase {std::u16string (128, u'1'), u"", false, 0}));

TEST (ValueTextReader, NoTextOrNoUnitIsNoNumberOrNoSuffix)
{
	double value = -7.0;
	EXPECT_FALSE (readValueText (nullptr, nullptr, value));
	EXPECT_TRUE (readValueText (u"3", nullptr, value));
	EXPECT_EQ (value, 3.0);
}

} // namespace
