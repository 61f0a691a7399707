// Two controllers read typed value texts on two threads at once, as two plug-in instances of a
// host that parses on worker threads do. Run under ThreadSanitizer, a reader with shared state fails.
#include "plugin/controller/PlugController.h"
#include "plugin/processor/PlugParamIds.h"

#include <gtest/gtest.h>

#include <string>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

struct Reading
{
	ParamID tag;
	std::u16string text;
	ParamValue normalized;
};

// How many readings came out wrong.
int readMany (IEditController& controller, int rounds)
{
	const std::vector<Reading> readings {{kMixId, u"50", 0.5}, {kDelayId, u"12.5", 0.125},
	                                     {kShiftId, u"1e1 %", 0.1}, {kBypassId, u"1", 1.0}};
	int wrong = 0;
	for (int round = 0; round < rounds; ++round)
	{
		for (const Reading& reading : readings)
		{
			std::u16string text = reading.text;
			ParamValue value = -1.0;
			if (controller.getParamValueByString (reading.tag, text.data (), value) != kResultTrue ||
			    value != reading.normalized)
				++wrong;
		}
	}
	return wrong;
}

TEST (ValueTextsOnTwoThreads, ReadAtOnceWithoutSharedState)
{
	IPtr<PlugController> first = Steinberg::owned (new PlugController);
	IPtr<PlugController> second = Steinberg::owned (new PlugController);
	ASSERT_EQ (first->initialize (nullptr), kResultOk);
	ASSERT_EQ (second->initialize (nullptr), kResultOk);

	int wrongFirst = 0;
	int wrongSecond = 0;
	std::thread worker ([&] { wrongSecond = readMany (*second, 500); });
	wrongFirst = readMany (*first, 500);
	worker.join ();
	EXPECT_EQ (wrongFirst, 0);
	EXPECT_EQ (wrongSecond, 0);

	first->terminate ();
	second->terminate ();
}

} // namespace
