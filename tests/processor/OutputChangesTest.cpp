#include "tests/support/BareProcessor.h"

#include "public.sdk/source/vst/hosting/parameterchanges.h"

#include <gtest/gtest.h>

#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

struct OutputCase
{
	const char* name;
	double value;
	bool reported;
};

// A fresh processor stores 0 for the delay's slot.
const OutputCase kOutputCases[] = {
    {"Different", 0.25, true},
    {"Same", 0.0, false},
    {"NotANumber", std::numeric_limits<double>::quiet_NaN (), false},
};

class OutputChange : public testing::TestWithParam<OutputCase>
{
};

} // namespace

TEST_P (OutputChange, IsReportedOnlyWhenTheValueDiffersAndLeavesTheRecord)
{
	veltrane_test::BareProcessor processor;
	ParameterChanges changes;
	processor.addOutputParamChange (kDelayId, &changes, GetParam ().value);

	ASSERT_EQ (changes.getParameterCount (), GetParam ().reported ? 1 : 0);
	EXPECT_EQ (processor.values ().getValue (kDelayId), 0.0);
	if (!GetParam ().reported)
		return;
	IParamValueQueue* queue = changes.getParameterData (0);
	ASSERT_NE (queue, nullptr);
	EXPECT_EQ (queue->getParameterId (), kDelayId);
	ASSERT_EQ (queue->getPointCount (), 1);
	int32 offset = -1;
	ParamValue value = -1.0;
	ASSERT_EQ (queue->getPoint (0, offset, value), kResultTrue);
	EXPECT_EQ (offset, 0);
	EXPECT_EQ (value, GetParam ().value);
}

INSTANTIATE_TEST_SUITE_P (Processor, OutputChange, testing::ValuesIn (kOutputCases),
                          [] (const testing::TestParamInfo<OutputCase>& info) { return info.param.name; });

TEST (OutputChangeWithoutQueues, DoesNothing)
{
	veltrane_test::BareProcessor processor;
	processor.addOutputParamChange (kDelayId, nullptr, 0.5);
	EXPECT_EQ (processor.values ().getValue (kDelayId), 0.0);
}
