#include "tests/support/TextHelpers.h"

#include "plugin/controller/PlugController.h"
#include "plugin/processor/PlugParamIds.h"
#include "plugin/processor/PlugParamState.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <tuple>
#include <vector>

using veltrane_test::toAscii;
using veltrane_test::toUtf16;

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// The stored chunk hosts keep: an int64 header, 14 float64 values and an int32 bypass flag.
constexpr int32 kChunkSize = 124;
const ParamID kAllTags[] = {kMixId,   kCentreId,      kDelayId, kColorId,       kDecorrBypassId,
                            kShiftId, kShiftBypassId, kDriveId, kDriveBypassId, kBypassId};

class PlugControllerTest : public testing::Test
{
protected:
	void SetUp () override { ASSERT_EQ (controller->initialize (&host), kResultOk); }
	void TearDown () override { controller->terminate (); }

	tresult loadChunk (std::vector<uint8_t> bytes)
	{
		MemoryStream stream (bytes.data (), static_cast<TSize> (bytes.size ()));
		return controller->setComponentState (&stream);
	}

	tresult loadRecord (const PlugParamState& record)
	{
		MemoryStream stream;
		EXPECT_EQ (record.writeState (&stream), kResultOk);
		stream.seek (0, IBStream::kIBSeekSet, nullptr);
		return controller->setComponentState (&stream);
	}

	std::vector<ParamValue> currentValues ()
	{
		std::vector<ParamValue> values;
		for (ParamID tag : kAllTags)
			values.push_back (controller->getParamNormalized (tag));
		return values;
	}

	std::string textOf (ParamID tag, ParamValue normalized)
	{
		String128 text;
		EXPECT_EQ (controller->getParamStringByValue (tag, normalized, text), kResultTrue);
		return toAscii (text);
	}

	// The SDK's host application is not reference counted: it lives as long as the fixture.
	HostApplication host;
	IPtr<PlugController> controller = Steinberg::owned (new PlugController);
};

std::vector<uint8_t> chunkWith (int32 slot, double value, int32 bypass)
{
	std::vector<uint8_t> bytes (kChunkSize, 0);
	std::memcpy (&bytes[8 + 8 * static_cast<size_t> (slot)], &value, sizeof value);
	std::memcpy (&bytes[8 + 8 * kNumParamSlots], &bypass, sizeof bypass);
	return bytes;
}

struct ListEntry
{
	const char* title;
	ParamID tag;
	const char* units;
	int32 stepCount;
	ParamValue defaultNormalized;
	int32 flags;
	const char* defaultText;
};

const ListEntry kList[] = {
    {"Mix", kMixId, "%", 0, 0.5, 1, "50"},
    {"Centre", kCentreId, "%", 0, 0.0, 1, "0"},
    {"Delay", kDelayId, "%", 0, 0.5, 1, "50"},
    {"Color", kColorId, "%", 0, 0.0, 1, "0"},
    {"Decorr Bypass", kDecorrBypassId, "", 1, 0.0, 1, "Off"},
    {"Shift", kShiftId, "%", 0, 0.1, 1, "10"},
    {"Shift Bypass", kShiftBypassId, "", 1, 0.0, 1, "Off"},
    {"Drive", kDriveId, "%", 0, 0.0, 1, "0"},
    {"Drive Bypass", kDriveBypassId, "", 1, 1.0, 1, "On"},
    {"Bypass", kBypassId, "", 1, 0.0, 0x10001, "Off"},
};

class ParameterList : public PlugControllerTest, public testing::WithParamInterface<int32>
{
};

} // namespace

TEST_P (ParameterList, EntryHasItsInfoAndDefault)
{
	const int32 index = GetParam ();
	const ListEntry& expected = kList[index];
	ParameterInfo info {};
	ASSERT_EQ (controller->getParameterInfo (index, info), kResultTrue);
	EXPECT_EQ (toAscii (info.title), expected.title);
	EXPECT_EQ (info.id, expected.tag);
	EXPECT_EQ (toAscii (info.units), expected.units);
	EXPECT_EQ (toAscii (info.shortTitle), "");
	EXPECT_EQ (info.stepCount, expected.stepCount);
	EXPECT_DOUBLE_EQ (info.defaultNormalizedValue, expected.defaultNormalized);
	EXPECT_EQ (info.flags, expected.flags);
	EXPECT_EQ (info.unitId, kRootUnitId);
	EXPECT_DOUBLE_EQ (controller->getParamNormalized (expected.tag), expected.defaultNormalized);
	EXPECT_EQ (textOf (expected.tag, expected.defaultNormalized), expected.defaultText);
}

INSTANTIATE_TEST_SUITE_P (PlugController, ParameterList, testing::Range (0, 10));

TEST_F (PlugControllerTest, HasTenParametersAndNoneBeyond)
{
	EXPECT_EQ (controller->getParameterCount (), 10);
	ParameterInfo info {};
	EXPECT_EQ (controller->getParameterInfo (10, info), kResultFalse);
	EXPECT_EQ (controller->getParameterInfo (-1, info), kResultFalse);
	for (ParamID tag = 9; tag < 14; ++tag)
		EXPECT_EQ (controller->getParameterObject (tag), nullptr) << tag;
}

struct TextWay
{
	ParamID tag;
	ParamValue normalized;
	const char* text;
};

std::ostream& operator<< (std::ostream& os, const TextWay& t)
{
	return os << t.tag << " " << t.normalized << " " << t.text;
}

class ValueTexts : public PlugControllerTest, public testing::WithParamInterface<TextWay>
{
};

TEST_P (ValueTexts, ConvertBothWays)
{
	const auto [tag, normalized, text] = GetParam ();
	EXPECT_EQ (textOf (tag, normalized), text);
	std::u16string utf16 = toUtf16 (text);
	ParamValue parsed = -1;
	ASSERT_EQ (controller->getParamValueByString (tag, utf16.data (), parsed), kResultTrue);
	EXPECT_DOUBLE_EQ (parsed, normalized);
}

INSTANTIATE_TEST_SUITE_P (PlugController, ValueTexts,
                          testing::Values (TextWay {kMixId, 0.5, "50"}, TextWay {kShiftId, 0.1, "10"},
                                           TextWay {kDelayId, 1.0, "100"}, TextWay {kDriveId, 0.0, "0"},
                                           TextWay {kCentreId, 0.37, "37"},
                                           TextWay {kColorId, 0.99, "99"}));

struct TypedText
{
	ParamID tag;
	const char* text;
	tresult result;
	ParamValue normalized;
};

std::ostream& operator<< (std::ostream& os, const TypedText& t)
{
	return os << t.tag << " \"" << t.text << "\"";
}

class TypedTexts : public PlugControllerTest, public testing::WithParamInterface<TypedText>
{
};

// What a user types into a host's value field: a text that gives no finite value is refused and
// leaves the answer alone; a number outside the range lands at its nearer end.
TEST_P (TypedTexts, AreRefusedOrLimitedToTheRange)
{
	const TypedText c = GetParam ();
	std::u16string utf16 = toUtf16 (c.text);
	ParamValue parsed = -1;
	EXPECT_EQ (controller->getParamValueByString (c.tag, utf16.data (), parsed), c.result);
	EXPECT_EQ (parsed, c.result == kResultTrue ? c.normalized : -1);
}

INSTANTIATE_TEST_SUITE_P (
    PlugController, TypedTexts,
    testing::Values (TypedText {kMixId, "nan", kResultFalse, 0}, TypedText {kMixId, "inf", kResultFalse, 0},
                     TypedText {kMixId, "-inf", kResultFalse, 0}, TypedText {kMixId, "1e400", kResultFalse, 0},
                     TypedText {kMixId, "garbage", kResultFalse, 0}, TypedText {kMixId, "", kResultFalse, 0},
                     TypedText {kBypassId, "nan", kResultFalse, 0}, TypedText {kMixId, "150", kResultTrue, 1.0},
                     TypedText {kDelayId, "-20", kResultTrue, 0.0}, TypedText {kBypassId, "50", kResultTrue, 1.0},
                     TypedText {kShiftBypassId, "-3", kResultTrue, 0.0},
                     TypedText {kDriveBypassId, "0.25", kResultTrue, 0.25}, TypedText {kMixId, "50 %", kResultTrue, 0.5},
                     TypedText {kMixId, "50 dB", kResultFalse, 0}, TypedText {kMixId, "5x", kResultFalse, 0}));

// Every parameter's text at the ends of its range, beyond them and at values that are not finite:
// out-of-range values print as the nearer end, NaN as the default. Each text reads back.
enum class Shown
{
	Low,
	High,
	Default,
};

struct TextAt
{
	ParamValue normalized;
	Shown shown;
};

const TextAt kTextValues[] = {
    {0.0, Shown::Low},
    {1.0, Shown::High},
    {-1.0, Shown::Low},
    {1.5, Shown::High},
    {1e300, Shown::High},
    {-1e300, Shown::Low},
    {std::numeric_limits<double>::quiet_NaN (), Shown::Default},
    {std::numeric_limits<double>::infinity (), Shown::High},
    {-std::numeric_limits<double>::infinity (), Shown::Low},
};

std::ostream& operator<< (std::ostream& os, const TextAt& t)
{
	return os << t.normalized;
}

namespace {

std::ostream& operator<< (std::ostream& os, const ListEntry& e)
{
	return os << e.title;
}

} // namespace

class TextTable : public PlugControllerTest, public testing::WithParamInterface<std::tuple<ListEntry, TextAt>>
{
};

TEST_P (TextTable, ShowsAValueOfTheRangeAndReadsItBack)
{
	const auto& [entry, at] = GetParam ();
	const bool isSwitch = entry.stepCount == 1;
	const std::string expected = at.shown == Shown::Default ? entry.defaultText
	                             : at.shown == Shown::High  ? (isSwitch ? "On" : "100")
	                                                        : (isSwitch ? "Off" : "0");
	const ParamValue meant = at.shown == Shown::Default ? entry.defaultNormalized : at.shown == Shown::High ? 1.0 : 0.0;
	const std::string text = textOf (entry.tag, at.normalized);
	EXPECT_EQ (text, expected) << entry.title << " at " << at.normalized;

	std::u16string utf16 = toUtf16 (text);
	ParamValue parsed = -1;
	ASSERT_EQ (controller->getParamValueByString (entry.tag, utf16.data (), parsed), kResultTrue)
	    << entry.title << " \"" << text << "\"";
	EXPECT_EQ (parsed, meant) << entry.title << " \"" << text << "\"";
}

INSTANTIATE_TEST_SUITE_P (PlugController, TextTable, testing::Combine (testing::ValuesIn (kList), testing::ValuesIn (kTextValues)));

TEST_F (PlugControllerTest, PlainAndNormalizedConversionsStayInTheRange)
{
	const ParamValue kNaN = std::numeric_limits<double>::quiet_NaN ();
	for (const ListEntry& entry : kList)
	{
		const ParamValue top = entry.stepCount == 1 ? 1.0 : 100.0;
		EXPECT_EQ (controller->plainParamToNormalized (entry.tag, -1000.0), 0.0) << entry.title;
		EXPECT_EQ (controller->plainParamToNormalized (entry.tag, 1e9), 1.0) << entry.title;
		EXPECT_EQ (controller->plainParamToNormalized (entry.tag, kNaN), entry.defaultNormalized) << entry.title;
		EXPECT_EQ (controller->normalizedParamToPlain (entry.tag, 1.5), top) << entry.title;
		EXPECT_EQ (controller->normalizedParamToPlain (entry.tag, -1.0), 0.0) << entry.title;
		EXPECT_EQ (controller->normalizedParamToPlain (entry.tag, kNaN), entry.defaultNormalized * top) << entry.title;
	}
}

TEST_F (PlugControllerTest, ANormalizedValueThatIsNotANumberIsNotStored)
{
	ASSERT_EQ (controller->setParamNormalized (kDelayId, 0.25), kResultTrue);
	EXPECT_EQ (controller->setParamNormalized (kDelayId, std::nan ("")), kResultFalse);
	EXPECT_EQ (controller->getParamNormalized (kDelayId), 0.25);
	EXPECT_EQ (textOf (kDelayId, controller->getParamNormalized (kDelayId)), "25");
}

TEST_F (PlugControllerTest, SwitchTextsAndUnparsableTexts)
{
	EXPECT_EQ (textOf (kBypassId, 0.5), "Off");
	EXPECT_EQ (textOf (kBypassId, 0.51), "On");
	EXPECT_EQ (textOf (kMixId, 0.004), "0");
	String128 text;
	EXPECT_EQ (controller->getParamStringByValue (20, 0.5, text), kResultFalse);
}

TEST_F (PlugControllerTest, SecondInitializeAnswersTheFailureAndKeepsOneList)
{
	EXPECT_EQ (controller->initialize (&host), kResultFalse);
	EXPECT_EQ (controller->getParameterCount (), 10);

	ASSERT_EQ (controller->terminate (), kResultOk);
	EXPECT_EQ (controller->getParameterCount (), 0);
	ASSERT_EQ (controller->initialize (&host), kResultOk);
	EXPECT_EQ (controller->getParameterCount (), 10);
}

TEST (PlugControllerWithoutHost, InitializingTwiceWithoutAContextKeepsOneList)
{
	IPtr<PlugController> controller = Steinberg::owned (new PlugController);
	ASSERT_EQ (controller->initialize (nullptr), kResultOk);
	controller->initialize (nullptr);
	EXPECT_EQ (controller->getParameterCount (), 10);
	controller->terminate ();
}

TEST (PlugControllerWithoutHost, StateBeforeInitializeIsReadAndSetsNothing)
{
	IPtr<PlugController> controller = Steinberg::owned (new PlugController);
	std::vector<uint8_t> bytes = chunkWith (kDelayId, 0.25, 1);
	MemoryStream stream (bytes.data (), static_cast<TSize> (bytes.size ()));
	EXPECT_EQ (controller->setComponentState (&stream), kResultOk);
	EXPECT_EQ (controller->getParameterCount (), 0);
}

TEST_F (PlugControllerTest, ChunkSetsTheParametersAndIgnoresSpareSlots)
{
	std::vector<uint8_t> bytes = chunkWith (kDelayId, 0.25, 1);
	for (int32 slot = 9; slot < kNumParamSlots; ++slot)
		std::memcpy (&bytes[8 + 8 * static_cast<size_t> (slot)], "\x01\x02\x03\x04\x05\x06\x07\x08", 8);
	ASSERT_EQ (loadChunk (bytes), kResultOk);
	EXPECT_EQ (controller->getParamNormalized (kDelayId), 0.25);
	EXPECT_EQ (controller->getParamNormalized (kBypassId), 1.0);
	EXPECT_EQ (controller->getParamNormalized (kMixId), 0.0);
	EXPECT_EQ (controller->getParameterCount (), 10);
}

TEST_F (PlugControllerTest, MirrorsARecordWrittenByTheProcessorsCodec)
{
	PlugParamState record (kNumParamSlots);
	for (int32 i = 0; i < 9; ++i)
		record.setValue (i, (i + 1) / 10.0);
	record.setBypass (true);
	ASSERT_EQ (loadRecord (record), kResultOk);
	for (int32 i = 0; i < 9; ++i)
		EXPECT_DOUBLE_EQ (controller->getParamNormalized (static_cast<ParamID> (i)), (i + 1) / 10.0)
		    << "tag " << i;
	EXPECT_EQ (controller->getParamNormalized (kBypassId), 1.0);

	record.setBypass (false);
	ASSERT_EQ (loadRecord (record), kResultOk);
	EXPECT_EQ (controller->getParamNormalized (kBypassId), 0.0);
}

class ShortState : public PlugControllerTest, public testing::WithParamInterface<size_t>
{
};

TEST_P (ShortState, IsRefusedAndChangesNoParameter)
{
	std::vector<uint8_t> bytes = chunkWith (kMixId, 0.9, 1);
	bytes.resize (GetParam ());
	const std::vector<ParamValue> before = currentValues ();
	EXPECT_EQ (loadChunk (bytes), kResultFalse);
	EXPECT_EQ (currentValues (), before);
}

INSTANTIATE_TEST_SUITE_P (PlugController, ShortState, testing::Values (0u, 12u, 60u, 120u, 123u));

TEST_F (PlugControllerTest, NullStateIsRefused)
{
	EXPECT_EQ (controller->setComponentState (nullptr), kResultFalse);
	EXPECT_EQ (controller->getParamNormalized (kMixId), 0.5);
}

struct IncomingCase
{
	double incoming;
	double expected; // for "Mix", currently at its default 0.5
};

std::ostream& operator<< (std::ostream& os, const IncomingCase& c)
{
	return os << c.incoming;
}

class IncomingMix : public PlugControllerTest, public testing::WithParamInterface<IncomingCase>
{
};

TEST_P (IncomingMix, NonFiniteKeepsTheCurrentValueAndFiniteIsClamped)
{
	ASSERT_EQ (loadChunk (chunkWith (kMixId, GetParam ().incoming, 0)), kResultOk);
	EXPECT_EQ (controller->getParamNormalized (kMixId), GetParam ().expected);
	EXPECT_EQ (controller->getParamNormalized (kShiftId), 0.0);
}

INSTANTIATE_TEST_SUITE_P (
    PlugController, IncomingMix,
    testing::Values (IncomingCase {std::numeric_limits<double>::quiet_NaN (), 0.5},
                     IncomingCase {std::numeric_limits<double>::infinity (), 0.5},
                     IncomingCase {-std::numeric_limits<double>::infinity (), 0.5},
                     IncomingCase {1.5, 1.0}, IncomingCase {-2.0, 0.0}, IncomingCase {0.3, 0.3}));

TEST (PlugControllerFactoryEntry, CreateInstanceAnswersAnEditController)
{
	FUnknown* unknown = PlugController::createInstance (nullptr);
	ASSERT_NE (unknown, nullptr);
	IEditController* editController = nullptr;
	ASSERT_EQ (unknown->queryInterface (IEditController::iid, reinterpret_cast<void**> (&editController)),
	           kResultOk);
	editController->release ();
	EXPECT_EQ (unknown->release (), 0u);
}
