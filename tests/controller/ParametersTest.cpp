#include "tests/support/TextHelpers.h"

#include "plugin/controller/KSExpRangeParameter.h"
#include "plugin/controller/KSRangeParameter.h"

#include "pluginterfaces/base/ustring.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using veltrane_test::toAscii;
using veltrane_test::toUtf16;

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

template <typename Param>
IPtr<Param> makeParam (ParamValue min, ParamValue max, ParamValue defaultPlain, int32 precision,
                       const TChar* units = STR16 ("%"), const TChar* suffix = nullptr)
{
	auto param = owned (new Param (STR16 ("P"), 7, units, ParameterInfo::kCanAutomate, suffix, min,
	                               max, defaultPlain));
	param->setPrecision (precision);
	return param;
}

template <typename Param>
std::string textOf (const Param& param, ParamValue normalized)
{
	String128 text;
	param.toString (normalized, text);
	return toAscii (text);
}

} // namespace

TEST (KSRangeParameter, ConstructionFillsTheInfo)
{
	auto param = makeParam<KSRangeParameter> (0, 100, 25, 0);
	const ParameterInfo& info = param->getInfo ();
	EXPECT_EQ (toAscii (info.title), "P");
	EXPECT_EQ (toAscii (info.units), "%");
	EXPECT_EQ (toAscii (info.shortTitle), "");
	EXPECT_EQ (info.id, 7u);
	EXPECT_EQ (info.flags, ParameterInfo::kCanAutomate);
	EXPECT_EQ (info.stepCount, 0);
	EXPECT_EQ (info.unitId, kRootUnitId);
	EXPECT_EQ (info.defaultNormalizedValue, 0.25);
	EXPECT_EQ (param->getNormalized (), 0.25);
	EXPECT_STREQ (param->isA (), "RangeParameter");
}

struct TextCase
{
	bool exponential;
	ParamValue min, max;
	int32 precision;
	ParamValue plain;
	const char* text;
};

std::ostream& operator<< (std::ostream& os, const TextCase& c)
{
	return os << (c.exponential ? "exp " : "lin ") << c.plain << " at " << c.precision << " -> "
	          << c.text;
}

class ValueText : public testing::TestWithParam<TextCase>
{
};

TEST_P (ValueText, PrintsThePlainValueAtItsPrecisionWithoutNegativeZero)
{
	const TextCase& c = GetParam ();
	if (c.exponential)
	{
		auto param = makeParam<KSExpRangeParameter> (c.min, c.max, c.min, c.precision);
		EXPECT_EQ (textOf (*param, param->toNormalized (c.plain)), c.text);
	}
	else
	{
		auto param = makeParam<KSRangeParameter> (c.min, c.max, c.min, c.precision);
		EXPECT_EQ (textOf (*param, param->toNormalized (c.plain)), c.text);
	}
}

INSTANTIATE_TEST_SUITE_P (
    Parameters, ValueText,
    testing::Values (TextCase {false, 0, 100, 2, 12.3, "12.30"},
                     TextCase {false, 0, 100, 0, 50, "50"},
                     TextCase {false, -100, 100, 2, -0.00002, "0.00"},
                     TextCase {false, -100, 100, 2, -0.0001, "0.00"},
                     TextCase {false, -100, 100, 2, -0.004, "0.00"},
                     TextCase {false, -100, 100, 2, -0.006, "-0.01"},
                     TextCase {false, -100, 100, 0, -0.4, "0"},
                     TextCase {false, -100, 100, 0, -0.6, "-1"},
                     TextCase {false, -100, 100, 4, -0.00004, "0.0000"},
                     TextCase {false, -100, 100, 4, -0.00006, "-0.0001"},
                     TextCase {true, 20, 20000, 0, 632.4555, "632"},
                     TextCase {true, -100, 100, 2, -0.0001, "0.00"},
                     TextCase {true, -100, 100, 2, -0.006, "-0.01"}));

TEST (KSRangeParameter, NormalizedValuePrintsThroughTheLinearMapping)
{
	auto param = makeParam<KSRangeParameter> (0, 100, 0, 2);
	EXPECT_EQ (textOf (*param, 0.123), "12.30");
	EXPECT_EQ (textOf (*param, 1.0), "100.00");
}

TEST (KSRangeParameter, SuffixShowsOnlyWithoutUnits)
{
	auto withSuffix = makeParam<KSRangeParameter> (0, 100, 0, 2, STR16 (""), STR16 ("dB"));
	EXPECT_EQ (textOf (*withSuffix, 0.123), "12.30 dB");

	auto withUnits = makeParam<KSRangeParameter> (0, 100, 0, 2, STR16 ("%"), STR16 ("dB"));
	EXPECT_EQ (textOf (*withUnits, 0.123), "12.30");

	auto expSuffix = makeParam<KSExpRangeParameter> (20, 20000, 20, 0, nullptr, STR16 ("Hz"));
	EXPECT_EQ (textOf (*expSuffix, 0.0), "20 Hz");
}

TEST (KSRangeParameter, LongTextsStayWithinTheirStrings)
{
	const std::u16string longText (200, u'x');
	auto param = makeParam<KSRangeParameter> (0, 100, 0, 2, STR16 (""), longText.c_str ());
	auto named = owned (new KSRangeParameter (longText.c_str (), 1, longText.c_str (), 0, nullptr, 0, 1, 0));
	EXPECT_EQ (toAscii (named->getInfo ().title), std::string (127, 'x'));
	EXPECT_EQ (toAscii (named->getInfo ().units), std::string (127, 'x'));

	TChar text[130];
	text[128] = text[129] = u'#';
	param->toString (0.5, text);
	EXPECT_EQ (text[127], 0);
	EXPECT_EQ (toAscii (text), "50.00 " + std::string (121, 'x'));
	EXPECT_EQ (text[128], u'#');
	EXPECT_EQ (text[129], u'#');

	// A precision that would print more than 128 units.
	param->setPrecision (1000);
	param->toString (1.0, text);
	EXPECT_EQ (text[127], 0);
	EXPECT_EQ (text[128], u'#');
}

struct ParseCase
{
	const char* text;
	ParamValue normalized;
};

class RangeFromString : public testing::TestWithParam<ParseCase>
{
};

TEST_P (RangeFromString, ReadsAPlainNumberClampedIntoTheRange)
{
	auto param = makeParam<KSRangeParameter> (0, 100, 0, 0);
	const std::u16string text = toUtf16 (GetParam ().text);
	ParamValue normalized = -1;
	ASSERT_TRUE (param->fromString (text.c_str (), normalized));
	EXPECT_DOUBLE_EQ (normalized, GetParam ().normalized);
}

INSTANTIATE_TEST_SUITE_P (Parameters, RangeFromString,
                          testing::Values (ParseCase {"50", 0.5}, ParseCase {"12.5", 0.125},
                                           ParseCase {"150", 1.0}, ParseCase {"-3", 0.0},
                                           ParseCase {"100", 1.0}));

TEST (KSExpRangeParameter, MapsExponentiallyBothWays)
{
	auto param = makeParam<KSExpRangeParameter> (20, 20000, 20, 3);
	EXPECT_NEAR (param->toPlain (0.5), 632.456, 1e-3);
	EXPECT_NEAR (param->toNormalized (param->toPlain (0.5)), 0.5, 1e-12);
	EXPECT_DOUBLE_EQ (param->toPlain (0.0), 20.0);
	EXPECT_DOUBLE_EQ (param->toPlain (1.0), 20000.0);
	EXPECT_EQ (param->getInfo ().defaultNormalizedValue, 0.0);

	ParamValue normalized = -1;
	ASSERT_TRUE (param->fromString (STR16 ("632.456"), normalized));
	EXPECT_NEAR (normalized, 0.5, 1e-6);
	ASSERT_TRUE (param->fromString (STR16 ("5"), normalized));
	EXPECT_EQ (normalized, 0.0);
}

struct Bounds
{
	ParamValue min, max;
};

std::ostream& operator<< (std::ostream& os, const Bounds& b)
{
	return os << b.min << " to " << b.max;
}

class ExpBounds : public testing::TestWithParam<Bounds>
{
};

TEST_P (ExpBounds, MappingStaysFiniteAndWithinTheRange)
{
	const auto [min, max] = GetParam ();
	auto param = makeParam<KSExpRangeParameter> (min, max, min, 2);
	const ParamValue lo = std::min (min, max);
	const ParamValue hi = std::max (min, max);
	EXPECT_TRUE (std::isfinite (param->getInfo ().defaultNormalizedValue));
	for (ParamValue v : {0.0, 0.25, 0.5, 1.0, -1.0, 2.0, std::numeric_limits<double>::quiet_NaN ()})
	{
		const ParamValue plain = param->toPlain (v);
		EXPECT_TRUE (std::isfinite (plain)) << v;
		EXPECT_GE (plain, lo) << v;
		EXPECT_LE (plain, hi) << v;
	}
	for (ParamValue plain : {min, max, 0.0, -1.0, 1.0, 1e9, -1e9, std::numeric_limits<double>::quiet_NaN ()})
	{
		const ParamValue v = param->toNormalized (plain);
		EXPECT_TRUE (std::isfinite (v)) << plain;
		EXPECT_GE (v, 0.0) << plain;
		EXPECT_LE (v, 1.0) << plain;
	}
	EXPECT_FALSE (textOf (*param, 0.5).empty ());
}

INSTANTIATE_TEST_SUITE_P (Parameters, ExpBounds,
                          testing::Values (Bounds {20, 20000}, Bounds {20000, 20}, Bounds {0, 100},
                                           Bounds {-10, 10}, Bounds {-100, -1}, Bounds {5, 5},
                                           Bounds {0, 0}, Bounds {100, -1}));

TEST (KSExpRangeParameter, FallsBackToTheLinearMappingForBadBounds)
{
	auto param = makeParam<KSExpRangeParameter> (0, 100, 50, 0);
	EXPECT_DOUBLE_EQ (param->toPlain (0.25), 25.0);
	EXPECT_DOUBLE_EQ (param->toNormalized (75.0), 0.75);
	EXPECT_DOUBLE_EQ (param->getInfo ().defaultNormalizedValue, 0.5);
}

struct LimitCase
{
	bool exponential;
	ParamValue normalized;
	const char* text;
};

std::ostream& operator<< (std::ostream& os, const LimitCase& c)
{
	return os << (c.exponential ? "exp " : "lin ") << c.normalized;
}

class LimitedText : public testing::TestWithParam<LimitCase>
{
};

// A value outside 0 ... 1 prints as the nearer end of the range, one that is not a number as the
// default; the text never says "nan" or "inf".
TEST_P (LimitedText, PrintsAValueOfTheRange)
{
	const LimitCase& c = GetParam ();
	if (c.exponential)
		EXPECT_EQ (textOf (*makeParam<KSExpRangeParameter> (20, 20000, 200, 0), c.normalized), c.text);
	else
		EXPECT_EQ (textOf (*makeParam<KSRangeParameter> (-100, 100, 25, 2), c.normalized), c.text);
}

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN ();
constexpr double kInf = std::numeric_limits<double>::infinity ();

INSTANTIATE_TEST_SUITE_P (Parameters, LimitedText,
                          testing::Values (LimitCase {false, kNaN, "25.00"}, LimitCase {false, kInf, "100.00"},
                                           LimitCase {false, -kInf, "-100.00"}, LimitCase {false, 7.0, "100.00"},
                                           LimitCase {false, -1e300, "-100.00"}, LimitCase {true, kNaN, "200"},
                                           LimitCase {true, kInf, "20000"}, LimitCase {true, -3.0, "20"}));

TEST (KSRangeParameter, TextsThatGiveNoFiniteNumberAreRefused)
{
	auto linear = makeParam<KSRangeParameter> (0, 100, 0, 0);
	auto exponential = makeParam<KSExpRangeParameter> (20, 20000, 20, 0);
	for (const char* text : {"nan", "inf", "-inf", "1e400", "", "abc"})
	{
		const std::u16string utf16 = toUtf16 (text);
		ParamValue normalized = -1;
		EXPECT_FALSE (linear->fromString (utf16.c_str (), normalized)) << text;
		EXPECT_FALSE (exponential->fromString (utf16.c_str (), normalized)) << text;
		EXPECT_EQ (normalized, -1) << text;
	}
}

// A number with more digits than the text holds is printed with an exponent, so that it reads
// back as itself instead of as its first 127 digits.
TEST (KSRangeParameter, AHugeValuePrintsWithAnExponentAndReadsBack)
{
	auto param = makeParam<KSRangeParameter> (0, 1e300, 0, 2);
	const std::string text = textOf (*param, 1.0);
	EXPECT_EQ (text, "1.00e+300");
	ParamValue normalized = -1;
	ASSERT_TRUE (param->fromString (toUtf16 (text).c_str (), normalized));
	EXPECT_DOUBLE_EQ (normalized, 1.0);
}
