#include "dsp/Gain.h"
#include "dsp/Mixer.h"
#include "dsp/PhaseInverter.h"

#include "tests/support/Buffers.h"
#include "tests/support/SampleTypes.h"

#include <functional>

using namespace veltrane_test;
using namespace KOREMU::DSPLib;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {

template <typename Sample>
class BypassedBlocksTest : public ::testing::Test
{
};
TYPED_TEST_SUITE (BypassedBlocksTest, SampleTypes, SampleTypeNames);

struct BypassCase
{
	const char* name;
	std::function<DSPFunction* ()> make; // a 2-channel block that changes its input
};

const BypassCase kBypassCases[] = {
    {"Gain", [] {
	     auto* g = new Gain (1, 2);
	     g->setParameter (Gain::kGainParamNo, 0, true, false, -6.0);
	     g->setParameter (Gain::kGainParamNo, 1, true, false, 12.0);
	     return g;
     }},
    {"PhaseInverter", [] {
	     auto* p = new PhaseInverter (1, 2);
	     p->setParameter (PhaseInverter::kInversionParamNo, 0, true, false, 1.0);
	     p->setParameter (PhaseInverter::kInversionParamNo, 1, true, false, 1.0);
	     return p;
     }},
    {"Mixer", [] { return new Mixer (1, 2, 2); }},
};

} // namespace

// After the 250 ms crossfade the block passes its inputs unchanged; while it runs the output
// moves from processed to dry; un-bypassing fades the processing back in.
TYPED_TEST (BypassedBlocksTest, BypassFadesToTheDryInputAndBack)
{
	using Sample = TypeParam;
	constexpr int32 frames = 512;
	for (const auto& c : kBypassCases)
	{
		SCOPED_TRACE (c.name);
		IPtr<DSPFunction> block = owned (c.make ());
		prepare<Sample> (*block);
		Buffers<Sample> in (2, frames), processed (2, frames), out (2, frames);
		in.fill (0, 0.5);
		in.fill (1, -0.25);
		process (*block, in.get (), processed.get (), frames);
		ASSERT_NE (processed.channel (0), in.channel (0));

		block->setParameter (kBypassParamNo, 0, true, false, 1.0);
		process (*block, in.get (), out.get (), frames);
		EXPECT_NE (out.at (0, frames - 1), in.at (0, frames - 1)) << "still fading";
		for (int32 call = 1; call < 24; ++call)
			process (*block, in.get (), out.get (), frames);
		// The fade is over: call after call passes the input.
		for (int32 call = 0; call < 2; ++call)
		{
			process (*block, in.get (), out.get (), frames);
			EXPECT_EQ (out.channel (0), in.channel (0));
			EXPECT_EQ (out.channel (1), in.channel (1));
		}

		block->setParameter (kBypassParamNo, 0, true, false, 0.0);
		for (int32 call = 0; call < 24; ++call)
			process (*block, in.get (), out.get (), frames);
		for (int32 ch = 0; ch < 2; ++ch)
			EXPECT_NEAR (out.at (ch, frames - 1), processed.at (ch, frames - 1), storedTolerance<Sample> (1.0) * 8);
	}
}
