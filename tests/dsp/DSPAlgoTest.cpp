#include "TestBlocks.h"

#include "dsp/DSPAlgo.h"

#include <gtest/gtest.h>

using namespace KOREMU::DSPLib;
using namespace KOREMU::DSPLib::Testing;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {
IPtr<DSPAlgo> makeAlgo (int32 inputs, int32 outputs, int32 topology = kSeriesTopology, int32 id = 100)
{
	return owned (new DSPAlgo (id, inputs, outputs, topology));
}

void configure (DSPAlgo& algo, int32 blockSize = 16, int32 sampleSize = 1)
{
	algo.setSampleRate (44100.0);
	algo.setBlockSize (blockSize);
	algo.setSampleSize (sampleSize);
	ASSERT_EQ (algo.setup (), 0);
}

ScaleBlock* addScale (DSPAlgo& algo, int32 id, int32 inputs, int32 outputs, double factor = 2.0, double offset = 0.0)
{
	return static_cast<ScaleBlock*> (algo.addFunction (new ScaleBlock (id, inputs, outputs, factor, offset)));
}
} // namespace

TEST (DSPAlgo, EmptyContainerFindsOnlyItselfAndReportsOwnValues)
{
	auto algo = makeAlgo (1, 1);
	configure (*algo);
	EXPECT_EQ (algo->getLatency (), 0u);
	EXPECT_EQ (algo->getTail (), 0u);
	EXPECT_EQ (algo->findFunction (100), algo.get ());
	EXPECT_EQ (algo->findFunction (1), nullptr);
	algo->clear ();
	EXPECT_TRUE (algo->isContainer ());
}

struct LatencyCase
{
	int32 topology;
	uint32 expected;
};

class ContainerLatency : public ::testing::TestWithParam<LatencyCase>
{
};

TEST_P (ContainerLatency, CombinesChildrenByTopologyAndTakesTheLongestTail)
{
	auto algo = makeAlgo (1, 1, GetParam ().topology);
	ScaleBlock* a = addScale (*algo, 1, 1, 1);
	ScaleBlock* b = addScale (*algo, 2, 1, 1);
	a->latency = 100;
	b->latency = 300;
	a->tail = 300;
	b->tail = 100;
	EXPECT_EQ (algo->getLatency (), GetParam ().expected);
	EXPECT_EQ (algo->getTail (), 300u);
}

INSTANTIATE_TEST_SUITE_P (Topologies, ContainerLatency,
                          ::testing::Values (LatencyCase {kParallelTopology, 300u}, LatencyCase {kSeriesTopology, 400u},
                                             LatencyCase {kPerChannelTopology, 300u}, LatencyCase {3, 0u}));

TEST (DSPAlgo, SeriesLatencyWrapsInUnsigned32)
{
	auto algo = makeAlgo (1, 1);
	addScale (*algo, 1, 1, 1)->latency = 0xFFFFFFFFu;
	addScale (*algo, 2, 1, 1)->latency = 2;
	EXPECT_EQ (algo->getLatency (), 1u);
}

TEST (DSPAlgo, MembersWithOneIdKeepTheirOwnCables)
{
	auto algo = makeAlgo (1, 1);
	ScaleBlock* first = addScale (*algo, 7, 1, 2, 2.0);
	ScaleBlock* second = addScale (*algo, 7, 2, 3, 3.0);
	addScale (*algo, 8, 3, 1, 1.0);
	EXPECT_EQ (algo->getFunction (7), second);
	EXPECT_EQ (algo->findFunction (7), first);
	configure (*algo);
	ASSERT_NE (algo->getCable (7), nullptr);
	EXPECT_EQ (algo->getCable (7)->getChannels (), 3);
	Buffers<double> in (1, 16, 1.0), out (1, 16);
	algo->process64 (in.get (), out.get (), 16);
	EXPECT_DOUBLE_EQ (out.at (0, 15), 6.0);
}

TEST (DSPAlgo, FindFunctionPrefersADescendantWithTheContainersId)
{
	auto algo = makeAlgo (1, 1, kSeriesTopology, 5);
	auto* inner = static_cast<DSPAlgo*> (algo->addFunction (new DSPAlgo (6, 1, 1)));
	ScaleBlock* deep = addScale (*inner, 5, 1, 1);
	EXPECT_EQ (algo->findFunction (5), deep);
	EXPECT_EQ (algo->findFunction (6), inner);
	EXPECT_EQ (algo->getFunction (5), nullptr);
}

TEST (DSPAlgo, RemoveFunctionKeepsTheOthersFindable)
{
	auto algo = makeAlgo (1, 1);
	EXPECT_FALSE (algo->removeFunction (1));
	addScale (*algo, 1, 1, 1);
	ScaleBlock* b = addScale (*algo, 2, 1, 1);
	ScaleBlock* c = addScale (*algo, 3, 1, 1);
	configure (*algo);
	Cable* cableOfC = algo->getCable (3);
	EXPECT_TRUE (algo->removeFunction (1));
	EXPECT_TRUE (algo->removeFunction (99));
	EXPECT_EQ (algo->getFunction (2), b);
	EXPECT_EQ (algo->getFunction (3), c);
	EXPECT_EQ (algo->getCable (3), cableOfC);
	EXPECT_EQ (algo->getFunction (1), nullptr);

	auto reserved = makeAlgo (1, 1);
	reserved->reserveFunctions (4);
	EXPECT_TRUE (reserved->removeFunction (1));
}

TEST (DSPAlgo, SetupForwardsTheContainersSettingsToLateMembers)
{
	auto algo = makeAlgo (1, 1);
	algo->setSampleRate (48000.0);
	algo->setBlockSize (32);
	algo->setSampleSize (0);
	ScaleBlock* late = addScale (*algo, 1, 1, 1);
	Controller* lateController = algo->addController (new RampController (9, 0.0, 0.0));
	ASSERT_EQ (algo->setup (), 0);
	for (DSPFunction* member : {static_cast<DSPFunction*> (late), static_cast<DSPFunction*> (lateController)})
	{
		EXPECT_EQ (member->getBlockSize (), 32);
		EXPECT_EQ (member->getSampleRate (), 48000.0);
		EXPECT_EQ (member->getSampleSize (), 0);
	}
	EXPECT_EQ (algo->getCable (1)->getFrames (), 32);
	EXPECT_TRUE (algo->getCable (1)->isFloat32 ());
	EXPECT_EQ (algo->getControllerCable (9)->getFrames (), 32);
	EXPECT_TRUE (algo->getControllerCable (9)->isFloat32 ());
}

TEST (DSPAlgo, SetupStopsAtTheFirstFailure)
{
	auto algo = makeAlgo (1, 1);
	ScaleBlock* good = addScale (*algo, 1, 1, 1);
	ScaleBlock* bad = addScale (*algo, 2, 1, 1);
	ScaleBlock* after = addScale (*algo, 3, 1, 1);
	bad->failSetup = true;
	EXPECT_EQ (algo->setup (), 7);
	EXPECT_EQ (good->setups, 1);
	EXPECT_NE (algo->getCable (1), nullptr);
	EXPECT_EQ (algo->getCable (2), nullptr);
	EXPECT_EQ (after->setups, 0);
}

TEST (DSPAlgo, TeardownThenSetupGivesFreshZeroCables)
{
	auto algo = makeAlgo (1, 1);
	addScale (*algo, 1, 1, 1);
	addScale (*algo, 2, 1, 1);
	configure (*algo);
	Buffers<double> in (1, 16, 1.0), out (1, 16);
	algo->process64 (in.get (), out.get (), 16);
	EXPECT_EQ (algo->getCable (1)->getBuffers64 ()[0][3], 2.0);
	EXPECT_EQ (algo->teardown (), 0);
	EXPECT_EQ (algo->teardown (), 0);
	EXPECT_EQ (algo->getCable (1), nullptr);
	configure (*algo);
	EXPECT_EQ (algo->getCable (1)->getBuffers64 ()[0][3], 0.0);
}

TEST (DSPAlgo, SetupTwiceReleasesTheFirstCables)
{
	auto algo = makeAlgo (1, 1);
	addScale (*algo, 1, 1, 1);
	algo->addController (new RampController (9, 0.0, 0.0));
	configure (*algo, 16);
	IPtr<Cable> first = algo->getCable (1);
	IPtr<Cable> firstOfController = algo->getControllerCable (9);
	configure (*algo, 64);
	EXPECT_EQ (algo->getCable (1)->getFrames (), 64);
	EXPECT_EQ (algo->getControllerCable (9)->getFrames (), 64);
	EXPECT_EQ (first->getRefCount (), 1);
	EXPECT_EQ (firstOfController->getRefCount (), 1);
}

TEST (DSPAlgo, DestructionTearsDownWhatIsSetUp)
{
	auto algo = makeAlgo (1, 1);
	IPtr<ScaleBlock> child = owned (new ScaleBlock (1, 1, 1));
	child->addRef ();
	algo->addFunction (child.get ());
	configure (*algo);
	algo = nullptr;
	EXPECT_EQ (child->teardowns, 1);
}

TEST (DSPAlgo, ClearEmptiesNestedContainersEvenWhenStillReferenced)
{
	auto root = makeAlgo (1, 1);
	IPtr<DSPAlgo> inner = owned (new DSPAlgo (2, 1, 1));
	inner->addRef ();
	root->addFunction (inner.get ());
	addScale (*inner, 3, 1, 1);
	ASSERT_NE (inner->getFunction (3), nullptr);
	root->clear ();
	EXPECT_EQ (root->getFunction (2), nullptr);
	EXPECT_EQ (inner->getFunction (3), nullptr);
	EXPECT_EQ (inner->getCable (3), nullptr);
}

TEST (DSPAlgo, ResetReachesEveryMemberAndClearsOutputs)
{
	auto algo = makeAlgo (1, 1);
	ScaleBlock* child = addScale (*algo, 1, 1, 1);
	auto* controller = static_cast<RampController*> (algo->addController (new RampController (9, 0.0, 0.0)));
	configure (*algo);
	EXPECT_EQ (algo->reset (), 0);
	EXPECT_EQ (child->resets, 1);
	EXPECT_EQ (algo->findController (9), controller);
	EXPECT_EQ (algo->findFunction (9), nullptr);
	EXPECT_NE (algo->getControllerCable (9), nullptr);
}

TEST (DSPAlgo, CallsLongerThanTheBlockSizeNeverOverrunCables)
{
	auto algo = makeAlgo (1, 1);
	ScaleBlock* a = addScale (*algo, 1, 1, 1, 2.0);
	addScale (*algo, 2, 1, 1, 3.0);
	configure (*algo, 16);
	Buffers<double> in (1, 50, 1.0), out (1, 50);
	algo->process64 (in.get (), out.get (), 50);
	EXPECT_EQ (a->largestCall, 16);
	for (int i = 0; i < 50; ++i)
		EXPECT_EQ (out.at (0, i), 6.0) << i;
}

class MembersWithoutCables : public ::testing::TestWithParam<int32>
{
};

TEST_P (MembersWithoutCables, AreSkippedByEveryWalk)
{
	auto algo = makeAlgo (1, 1, GetParam ());
	ScaleBlock* early = addScale (*algo, 1, 1, 1, 2.0);
	auto* earlyController = static_cast<RampController*> (algo->addController (new RampController (8, 1.0, 0.0)));
	Buffers<double> in (1, 8, 1.0), out (1, 8, 5.0);
	algo->process64 (in.get (), out.get (), 8);
	EXPECT_EQ (early->calls, 0);
	EXPECT_EQ (out.at (0, 0), 5.0);

	configure (*algo, 8);
	ScaleBlock* late = addScale (*algo, 2, 1, 1, 3.0);
	auto* lateController = static_cast<RampController*> (algo->addController (new RampController (9, 1.0, 0.0)));
	algo->process64 (in.get (), out.get (), 8);
	EXPECT_EQ (early->calls, 1);
	EXPECT_EQ (late->calls, 0);
	EXPECT_EQ (algo->getControllerCable (8)->getBuffers64 ()[0][7], 1.0);
	EXPECT_NE (earlyController->getLastOutputs (), nullptr);
	EXPECT_EQ (lateController->getLastOutputs (), nullptr);
}

INSTANTIATE_TEST_SUITE_P (Topologies, MembersWithoutCables,
                          ::testing::Values (kSeriesTopology, kParallelTopology, kPerChannelTopology));

TEST (DSPAlgo, ProcessOfTheWrongWidthIsSkipped)
{
	auto algo = makeAlgo (1, 1);
	addScale (*algo, 1, 1, 1);
	addScale (*algo, 2, 1, 1);
	configure (*algo, 8, 1);
	Buffers<float> in (1, 8, 1.0f), out (1, 8, 5.0f);
	algo->process32 (in.get (), out.get (), 8);
	EXPECT_EQ (out.at (0, 0), 5.0f);
}
