#include "TestBlocks.h"

#include "dsp/Controller.h"
#include "dsp/Convolver.h"
#include "dsp/DSPAlgo.h"
#include "dsp/Delay.h"
#include "dsp/Gain.h"
#include "dsp/Generator.h"
#include "dsp/HShifterConvCont.h"
#include "dsp/HighPassLR.h"
#include "dsp/LorenzLFO.h"
#include "dsp/LorenzOSC.h"
#include "dsp/MidSideStatic.h"
#include "dsp/Mixer.h"
#include "dsp/PhaseInverter.h"
#include "dsp/Renderer.h"
#include "dsp/SmplDelay.h"
#include "dsp/Splitter.h"
#include "dsp/Triode.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <ostream>
#include <stdexcept>
#include <vector>

using namespace KOREMU::DSPLib;
using namespace KOREMU::DSPLib::Testing;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN ();

IPtr<ScaleBlock> makeScale (int32 inputs = 1, int32 outputs = 1, double rate = 44100.0)
{
	auto block = owned (new ScaleBlock (1, inputs, outputs));
	block->setSampleRate (rate);
	block->setup ();
	return block;
}
} // namespace

struct KeyCase
{
	int32 inputs;
	int32 outputs;
	uint32 bypassKey;
	uint32 mixKey;
};

class ReservedKeys : public ::testing::TestWithParam<KeyCase>
{
};

TEST_P (ReservedKeys, BypassAndMixSitAtTheirKeys)
{
	const KeyCase c = GetParam ();
	DSPFunction block (1, c.inputs, c.outputs);
	EXPECT_EQ (block.getParameterKey (kBypassParamNo, 0), c.bypassKey);
	EXPECT_EQ (block.getParameterKey (kMixParamNo, 0), c.mixKey);
	ASSERT_NE (block.findParameter (kBypassParamNo), nullptr);
	ASSERT_NE (block.findParameter (kMixParamNo), nullptr);
	EXPECT_EQ (block.findParameter (kBypassParamNo)->getKey (), c.bypassKey);
	EXPECT_EQ (block.findParameter (kMixParamNo)->getKey (), c.mixKey);
}

INSTANTIATE_TEST_SUITE_P (Counts, ReservedKeys,
                          ::testing::Values (KeyCase {2, 2, 4000000u, 4000004u}, KeyCase {1, 1, 1000000u, 1000001u},
                                             KeyCase {0, 1, 1000000u, 1000001u},
                                             KeyCase {66, 65, 4290000000u, 4290004290u}));

TEST (DSPFunction, ClassIdentityIsDSPFunctionForEveryBlock)
{
	const IPtr<DSPFunction> blocks[] = {
	    owned (new ScaleBlock (1, 1, 1)),         owned (new DSPAlgo (1, 1, 1)),
	    owned (new Convolver (1, 1)),             owned (new Delay (1, 1, 100)),
	    owned (new SmplDelay (1, 1, 10)),         owned (new Gain (1, 1)),
	    owned (new HShifterConvCont (1, 1)),      owned (new HighPassLR (1, 1)),
	    owned (new LorenzOSC (1, 3)),             owned (new LorenzLFO (1)),
	    owned (new MidSideStatic (1)),            owned (new Mixer (1, 2, 1)),
	    owned (new PhaseInverter (1, 2)),         owned (new Splitter (1, 1, 2)),
	    owned (new Triode (1, 1)),                owned (new Renderer (1, 1)),
	    owned (new Controller (1)),               owned (new Generator (1, 1)),
	};
	for (const auto& block : blocks)
	{
		EXPECT_STREQ (block->isA (), "DSPFunction");
		EXPECT_TRUE (block->isTypeOf ("FObject", true));
	}
}

TEST (DSPFunction, RefusesMoreChannelPairsThanKeysAllow)
{
	EXPECT_NO_THROW (DSPFunction (1, 66, 65));
	EXPECT_THROW (DSPFunction (1, 66, 66), std::length_error);
	EXPECT_THROW (DSPFunction (1, -1, 2), std::invalid_argument);
}

TEST (DSPFunction, AddParameterInstancesFollowFlags)
{
	DSPFunction block (1, 2, 2);
	block.addParameter (3, u"PerInput", DSPParameter::kPerInput, 0.0);
	block.addParameter (5, u"PerPair", DSPParameter::kPerPair, 0.0);
	for (int32 sub = 0; sub < 2; ++sub)
	{
		ASSERT_NE (block.findParameter (3, sub), nullptr) << sub;
		EXPECT_EQ (block.findParameter (3, sub)->getKey (), static_cast<uint32> (12 + sub));
	}
	EXPECT_EQ (block.findParameter (3, 2), nullptr) << "one instance per input";
	for (int32 sub = 0; sub < 4; ++sub)
	{
		ASSERT_NE (block.findParameter (5, sub), nullptr) << sub;
		EXPECT_EQ (block.findParameter (5, sub)->getKey (), static_cast<uint32> (20 + sub));
	}
	EXPECT_EQ (block.findParameter (5, 4), nullptr) << "one instance per pair";

	Controller controller (2);
	controller.addParameter (3, u"PerInput", DSPParameter::kPerInput, 0.0);
	EXPECT_EQ (controller.findParameter (3, 0), nullptr) << "no input, no instance";
	EXPECT_NE (controller.findParameter (kMixParamNo), nullptr);
	EXPECT_NE (controller.findParameter (kBypassParamNo), nullptr);
}

struct SubIndexCase
{
	int32 paramNo;
	int32 sub;
};

void PrintTo (const SubIndexCase& c, std::ostream* os)
{
	*os << "parameter " << c.paramNo << " sub " << c.sub;
}

class SubIndexOutsideThePairs : public ::testing::TestWithParam<SubIndexCase>
{
};

// On a 2-in, 2-out block each parameter number owns four keys; the cases would land on a neighbour's.
TEST_P (SubIndexOutsideThePairs, NeverReachesANeighbour)
{
	const SubIndexCase c = GetParam ();
	DSPFunction block (1, 2, 2);
	block.setup ();
	block.addParameter (0, u"A", DSPParameter::kPerPair, 0.25);
	block.addParameter (1, u"B", DSPParameter::kPerPair, 0.25);
	std::vector<DSPParameter*> all {block.findParameter (kMixParamNo), block.findParameter (kBypassParamNo)};
	for (int32 paramNo : {0, 1})
		for (int32 sub = 0; sub < 4; ++sub)
			all.push_back (block.findParameter (paramNo, sub));
	std::vector<double> before;
	for (DSPParameter* p : all)
	{
		ASSERT_NE (p, nullptr);
		before.push_back (p->getPlainValue ());
	}
	block.setParameter (c.paramNo, c.sub, true, false, 0.5);
	for (size_t i = 0; i < all.size (); ++i)
		EXPECT_EQ (all[i]->getPlainValue (), before[i]) << "key " << all[i]->getKey ();
	// Neither a bypass crossfade nor the mix stage touches what the block wrote.
	Buffers<double> in (2, 64, 1.0), out (2, 64, 5.0);
	block.process64 (in.get (), out.get (), 64);
	for (int32 ch = 0; ch < 2; ++ch)
		for (int32 i = 0; i < 64; ++i)
			ASSERT_EQ (out.at (ch, i), 5.0) << ch << " " << i;
	EXPECT_EQ (block.getParameter (c.paramNo, c.sub), 0.0);
	block.setParameter (0, 3, true, false, 0.75);
	EXPECT_EQ (block.getParameter (0, 3), 0.75);
}

INSTANTIATE_TEST_SUITE_P (Subs, SubIndexOutsideThePairs,
                          ::testing::Values (SubIndexCase {0, 4}, SubIndexCase {1, -1},
                                             SubIndexCase {kBypassParamNo, 4}, SubIndexCase {kMixParamNo, -4}));

TEST (DSPFunction, GetOfAMissingInstanceAnswersZero)
{
	DSPFunction block (1, 1, 1);
	block.setup ();
	EXPECT_EQ (block.getParameter (77, 0), 0.0);
	block.setParameter (77, 0, true, false, 1.0);
	Buffers<double> in (1, 64, 1.0), out (1, 64, 5.0);
	block.process64 (in.get (), out.get (), 64);
	for (int32 i = 0; i < 64; ++i)
		ASSERT_EQ (out.at (0, i), 5.0) << i;
}

TEST (DSPFunction, GroupedSetReachesEveryMember)
{
	DSPFunction block (1, 2, 2);
	block.addParameter (0, u"G", DSPParameter::kPerInput | DSPParameter::kGrouped, 0.0, 0.0, 1.0);
	block.setParameterGroup (0, 0, 3);
	block.setParameterGroup (0, 1, 3);
	block.setParameter (0, 1, true, false, 0.4);
	EXPECT_EQ (block.getParameter (0, 0), 0.4);
	EXPECT_EQ (block.getParameter (0, 1), 0.4);
}

TEST (DSPFunction, GroupMembersKeepTheirOwnRangeAndFlags)
{
	DSPFunction block (1, 1, 1);
	struct Member
	{
		int32 flags;
		double maximum;
		int32 group;
		double expected;
	};
	const Member members[] = {
	    {DSPParameter::kGrouped, 1.0, 3, 0.8},
	    {DSPParameter::kGrouped, 0.5, 3, 0.5},
	    {DSPParameter::kGrouped | DSPParameter::kIgnoreUnforced, 1.0, 3, 0.0},
	    {DSPParameter::kGrouped, 1.0, 4, 0.0},
	    {0, 1.0, 3, 0.0},
	};
	for (int32 n = 0; n < 5; ++n)
	{
		block.addParameter (n, u"G", members[n].flags, 0.0, 0.0, members[n].maximum);
		block.setParameterGroup (n, members[n].group);
	}
	block.setParameter (0, true, false, 0.8);
	for (int32 n = 0; n < 5; ++n)
		EXPECT_EQ (block.getParameter (n), members[n].expected) << n;
}

// The crossfade takes 250 ms at the rate of the last setup: halfway through it the output (the
// doubled input faded towards the input) is 1.5, and it starts from the processed signal.
TEST (DSPFunction, SetupComputesTheFadeStepForTheRate)
{
	for (const double rate : {48000.0, 96000.0})
	{
		auto block = makeScale (1, 1, 44100.0);
		block->setSampleRate (rate);
		block->setup ();
		block->setParameter (kBypassParamNo, true, false, 1.0);
		const auto half = static_cast<int32> (rate / 8.0);
		Buffers<double> in (1, half, 1.0), out (1, half);
		block->process64 (in.get (), out.get (), half);
		EXPECT_NEAR (out.at (0, 0), 2.0, 2e-4) << rate;
		EXPECT_NEAR (out.at (0, half - 1), 1.5, 2e-4) << rate;
	}
}

TEST (DSPFunctionBypass, FadeOutRunsFromProcessedToDryThenResets)
{
	auto block = makeScale ();
	block->setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> in (1, 11000, 1.0), out (1, 11000);
	block->process64 (in.get (), out.get (), 11000);
	EXPECT_DOUBLE_EQ (out.at (0, 0), 2.0);
	EXPECT_NEAR (out.at (0, 5512), 1.5, 1e-3);
	EXPECT_NEAR (out.at (0, 10999), 1.0, 3e-3);
	EXPECT_EQ (block->resets, 0);
	Buffers<double> in2 (1, 64, 1.0), out2 (1, 64, 9.0);
	block->process64 (in2.get (), out2.get (), 64);
	EXPECT_EQ (block->resets, 1);
	EXPECT_EQ (out2.at (0, 63), 1.0);
	Buffers<double> out3 (1, 4, 9.0);
	block->process64 (in2.get (), out3.get (), 4);
	for (int i = 0; i < 4; ++i)
		EXPECT_EQ (out3.at (0, i), 1.0);
}

TEST (DSPFunctionBypass, SecondBypassOnABypassedBlockResetsAtOnce)
{
	auto block = makeScale ();
	block->setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> in (1, 12000, 1.0), out (1, 12000);
	block->process64 (in.get (), out.get (), 12000);
	const int resetsBefore = block->resets;
	block->setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> in2 (1, 8, 1.0), out2 (1, 8);
	block->process64 (in2.get (), out2.get (), 8);
	EXPECT_EQ (block->resets, resetsBefore + 1);
	EXPECT_EQ (out2.at (0, 0), 1.0);
}

TEST (DSPFunctionBypass, UnbypassOfAnActiveBlockEndsAtOnce)
{
	auto block = makeScale ();
	block->setParameter (kBypassParamNo, true, false, 0.0);
	Buffers<double> in (1, 4, 1.0), out (1, 4), later (1, 4);
	block->process64 (in.get (), out.get (), 4);
	block->process64 (in.get (), later.get (), 4);
	for (int32 i = 0; i < 4; ++i)
	{
		EXPECT_EQ (out.at (0, i), 2.0) << i;
		EXPECT_EQ (later.at (0, i), 2.0) << i;
	}
}

TEST (DSPFunctionBypass, AReversedFadeContinuesFromItsGain)
{
	auto block = makeScale ();
	block->setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> in (1, 5513, 1.0), out (1, 5513);
	block->process64 (in.get (), out.get (), 5513);
	EXPECT_NEAR (out.at (0, 5512), 1.5, 1e-3);
	block->setParameter (kBypassParamNo, true, false, 0.0);
	Buffers<double> out2 (1, 4);
	block->process64 (in.get (), out2.get (), 4);
	EXPECT_NEAR (out2.at (0, 0), 1.5, 1e-3);
	EXPECT_GT (out2.at (0, 3), out2.at (0, 0));
	// It fades on towards the processed signal and reaches it.
	Buffers<double> rest (1, 5513);
	block->process64 (in.get (), rest.get (), 5513);
	EXPECT_GT (rest.at (0, 2000), out2.at (0, 3));
	EXPECT_EQ (rest.at (0, 5512), 2.0);
}

TEST (DSPFunctionBypass, NaNCountsAsNotBypassed)
{
	auto block = makeScale ();
	block->setParameter (kBypassParamNo, true, false, kNaN);
	Buffers<double> in (1, 64, 1.0), out (1, 64);
	block->process64 (in.get (), out.get (), 64);
	for (int32 i = 0; i < 64; ++i)
		EXPECT_EQ (out.at (0, i), 2.0) << i;
}

TEST (DSPFunctionBypass, MoreInputsThanOutputsLeavesOutputsAlone)
{
	DSPFunction block (1, 3, 2);
	block.setup ();
	block.setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> in (3, 4, 1.0), out (2, 4, 5.0);
	block.process64 (in.get (), out.get (), 4);
	EXPECT_EQ (out.at (0, 0), 5.0);
	EXPECT_EQ (out.at (1, 3), 5.0);
}

TEST (DSPFunctionBypass, GeneratorAndControllerGoSilentAtOnceRendererUntouched)
{
	ConstantGenerator generator (1, 2, 3.0);
	generator.setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> out (2, 4, 7.0);
	generator.process64 (nullptr, out.get (), 4);
	for (int32 ch = 0; ch < 2; ++ch)
		for (int32 i = 0; i < 4; ++i)
			EXPECT_EQ (out.at (ch, i), 0.0) << "no crossfade from the generated signal";

	RampController controller (2, 1.0, 1.0);
	controller.setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> cout (1, 4, 7.0);
	controller.process64 (nullptr, cout.get (), 4);
	EXPECT_EQ (cout.at (0, 2), 0.0);

	Renderer renderer (3, 1);
	renderer.setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> rin (1, 4, 1.0), rout (1, 4, 7.0);
	renderer.process64 (rin.get (), rout.get (), 4);
	EXPECT_EQ (rout.at (0, 0), 7.0);
}

struct MixCase
{
	double mix;
	double expected;
	double stored;
};

class MixStage : public ::testing::TestWithParam<MixCase>
{
};

TEST_P (MixStage, BlendsProcessedAndDry)
{
	const MixCase c = GetParam ();
	auto block = makeScale ();
	block->setParameter (kMixParamNo, true, false, c.mix);
	EXPECT_THAT (block->findParameter (kMixParamNo)->getPlainValue (), ::testing::NanSensitiveDoubleEq (c.stored));
	Buffers<double> in (1, 4, 1.0), out (1, 4);
	block->process64 (in.get (), out.get (), 4);
	EXPECT_DOUBLE_EQ (out.at (0, 2), c.expected);
}

INSTANTIATE_TEST_SUITE_P (Values, MixStage,
                          ::testing::Values (MixCase {0.5, 1.5, 0.5}, MixCase {1.5, 2.0, 1.0}, MixCase {-1.0, 1.0, 0.0},
                                             MixCase {1.0, 2.0, 1.0}, MixCase {kNaN, 2.0, kNaN}));

TEST (DSPFunction, ClearAfterResetZeroesOutputsBeforeTheCopy)
{
	DSPFunction block (1, 1, 2);
	block.setup ();
	block.reset ();
	Buffers<double> in (1, 4, 1.0), out (2, 4, 9.0);
	block.process64 (in.get (), out.get (), 4);
	EXPECT_EQ (out.at (1, 0), 0.0);
}

TEST (DSPFunction, BypassCopyFansOutAndUsesTheCallWidth)
{
	DSPFunction block (1, 1, 3);
	block.setSampleSize (0);
	block.setup ();
	block.setParameter (kBypassParamNo, true, false, 1.0);
	Buffers<double> in (1, 16, 0.25), out (3, 16, 9.0);
	block.process64 (in.get (), out.get (), 16);
	for (int o = 0; o < 3; ++o)
		EXPECT_EQ (out.at (o, 15), 0.25) << o;
}

TEST (DSPFunction, CallsLongerThanTheBlockSizeRunInPieces)
{
	auto block = owned (new ScaleBlock (1, 1, 1));
	block->setBlockSize (64);
	block->setup ();
	Buffers<float> in (1, 200), out (1, 200);
	for (int i = 0; i < 200; ++i)
		in.at (0, i) = static_cast<float> (i);
	block->process32 (in.get (), out.get (), 200);
	EXPECT_EQ (block->largestCall, 64);
	EXPECT_EQ (block->calls, 4);
	for (int i = 0; i < 200; ++i)
		EXPECT_EQ (out.at (0, i), 2.0f * i) << i;
}
