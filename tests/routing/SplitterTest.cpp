#include "dsp/Splitter.h"

#include "tests/support/Buffers.h"
#include "tests/support/SampleTypes.h"

#include <vector>

using namespace veltrane_test;
using KOREMU::DSPLib::kBypassParamNo;
using KOREMU::DSPLib::Splitter;

namespace {

template <typename Sample>
class SplitterTest : public ::testing::Test
{
};
TYPED_TEST_SUITE (SplitterTest, SampleTypes, SampleTypeNames);

struct FanOutCase
{
	int32 inputs;
	int32 outputs;
	std::vector<int32> sourceOfOutput;
};

const FanOutCase kFanOuts[] = {
    {1, 1, {0}},
    {1, 2, {0, 0}},
    {2, 4, {0, 1, 0, 1}},
    {2, 3, {0, 1, 0}},
    {2, 2, {0, 1}},
    {3, 2, {0, 1}}, // input 2 has no output
    {1, 4, {0, 0, 0, 0}},
};

// Input channel k carries k + 1 + i / 1000, so every channel and sample is distinct.
template <typename Sample>
void fillDistinct (Buffers<Sample>& in, int32 channels, int32 frames)
{
	for (int32 k = 0; k < channels; ++k)
		for (int32 i = 0; i < frames; ++i)
			in.at (k, i) = static_cast<Sample> (k + 1 + i / 1000.0);
}

} // namespace

TYPED_TEST (SplitterTest, EachOutputCarriesInputOutputIndexModuloInputs)
{
	using Sample = TypeParam;
	const int32 frames = 32;
	for (const auto& c : kFanOuts)
	{
		SCOPED_TRACE (testing::Message () << c.inputs << " -> " << c.outputs);
		Splitter splitter (1, c.inputs, c.outputs);
		prepare<Sample> (splitter);
		Buffers<Sample> in (c.inputs, frames), out (c.outputs, frames, -9.0);
		fillDistinct (in, c.inputs, frames);
		ASSERT_EQ (process (splitter, in.get (), out.get (), frames), 0);
		for (int32 o = 0; o < c.outputs; ++o)
			EXPECT_EQ (out.channel (o), in.channel (c.sourceOfOutput[static_cast<size_t> (o)])) << "output " << o;
	}
}

// With no more inputs than outputs the fan-out is the bypass copy, so bypassing changes nothing,
// neither while the crossfade runs nor after it.
TYPED_TEST (SplitterTest, BypassAndItsCrossfadeGiveTheSameFanOut)
{
	using Sample = TypeParam;
	const int32 frames = 512;
	for (const auto& c : kFanOuts)
	{
		if (c.inputs > c.outputs)
			continue;
		SCOPED_TRACE (testing::Message () << c.inputs << " -> " << c.outputs);
		Splitter splitter (1, c.inputs, c.outputs);
		prepare<Sample> (splitter);
		splitter.setParameter (kBypassParamNo, 0, true, false, 1.0);
		Buffers<Sample> in (c.inputs, frames);
		fillDistinct (in, c.inputs, frames);
		for (int32 call = 0; call < 24; ++call) // 24 x 512 samples outlast the 250 ms fade
		{
			Buffers<Sample> out (c.outputs, frames, -9.0);
			process (splitter, in.get (), out.get (), frames);
			for (int32 o = 0; o < c.outputs; ++o)
				ASSERT_EQ (out.channel (o), in.channel (c.sourceOfOutput[static_cast<size_t> (o)]))
				    << "call " << call << " output " << o;
		}
		// Back from the bypass: the same fan-out again through the fade-in and after it.
		splitter.setParameter (kBypassParamNo, 0, true, false, 0.0);
		for (int32 call = 0; call < 24; ++call)
		{
			Buffers<Sample> out (c.outputs, frames, -9.0);
			process (splitter, in.get (), out.get (), frames);
			for (int32 o = 0; o < c.outputs; ++o)
				ASSERT_EQ (out.channel (o), in.channel (c.sourceOfOutput[static_cast<size_t> (o)]))
				    << "unbypassed, call " << call << " output " << o;
		}
	}
}
