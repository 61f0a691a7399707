#include "TestBlocks.h"

#include "dsp/DSPAlgo.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace KOREMU::DSPLib;
using namespace KOREMU::DSPLib::Testing;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {
// A container with a ramp controller (0.1, 0.2, ...) linked to a one-channel target.
struct LinkedGraph
{
	explicit LinkedGraph (int32 mode, int32 sampleSize = 1, int32 flags = DSPParameter::kLinkable,
	                      double minimum = -1e9, double maximum = 1e9)
	{
		root = owned (new DSPAlgo (100, 1, 1));
		source = root->addController (new RampController (10, 0.1, 0.1));
		target = static_cast<LinkTarget*> (root->addFunction (new LinkTarget (1, flags, minimum, maximum)));
		link = target->linkParameter (source, 0, mode);
		root->setSampleRate (44100.0);
		root->setBlockSize (8);
		root->setSampleSize (sampleSize);
		root->setup ();
	}

	void run (int32 frames)
	{
		if (root->getSampleSize () == 0)
		{
			Buffers<float> in (1, frames), out (1, frames);
			root->process32 (in.get (), out.get (), frames);
		}
		else
		{
			Buffers<double> in (1, frames), out (1, frames);
			root->process64 (in.get (), out.get (), frames);
		}
	}

	IPtr<DSPAlgo> root;
	Controller* source {nullptr};
	LinkTarget* target {nullptr};
	ParameterLink* link {nullptr};
};
} // namespace

TEST (ParameterLink, ReplaceFollowsTheSourceSampleBySample)
{
	LinkedGraph g (kLinkReplace);
	ASSERT_NE (g.link, nullptr);
	EXPECT_TRUE (g.target->hasLinks ());
	g.run (4);
	ASSERT_EQ (g.target->seen.size (), 4u);
	for (int i = 0; i < 4; ++i)
		EXPECT_DOUBLE_EQ (g.target->seen[static_cast<size_t> (i)], 0.1 + 0.1 * i);
	EXPECT_DOUBLE_EQ (g.target->findParameter (0)->getBaseValue (), 0.4);
}

TEST (ParameterLink, AddAndSubtractMoveTheValueAroundTheBase)
{
	for (int32 mode : {kLinkAddToBase, kLinkSubtractFromBase})
	{
		LinkedGraph g (mode);
		g.target->setParameter (0, true, false, 0.3);
		static_cast<RampController*> (g.source)->start = 0.2;
		static_cast<RampController*> (g.source)->step = 0.0;
		g.run (1);
		const double expected = mode == kLinkAddToBase ? 0.5 : 0.09999999999999998;
		EXPECT_DOUBLE_EQ (g.target->seen[0], expected) << mode;
		EXPECT_EQ (g.target->findParameter (0)->getBaseValue (), 0.3);
	}
}

TEST (ParameterLink, SourceValuesAreClampedToTheRange)
{
	LinkedGraph g (kLinkReplace, 1, DSPParameter::kLinkable, 0.0, 1.0);
	static_cast<RampController*> (g.source)->start = 1.7;
	g.run (1);
	EXPECT_EQ (g.target->seen[0], 1.0);
}

TEST (ParameterLink, BypassedSourceLeavesTheLastValue)
{
	LinkedGraph g (kLinkReplace);
	g.run (2);
	g.source->setParameter (kBypassParamNo, true, false, 1.0);
	g.run (3);
	for (size_t i = 2; i < 5; ++i)
		EXPECT_DOUBLE_EQ (g.target->seen[i], 0.2);
}

TEST (ParameterLink, ForcedSetsReachParametersThatIgnoreTheOwner)
{
	LinkedGraph g (kLinkReplace, 1, DSPParameter::kLinkable | DSPParameter::kIgnoreUnforced);
	g.target->setParameter (0, true, false, 5.0);
	g.run (1);
	EXPECT_DOUBLE_EQ (g.target->seen[0], 0.1);
}

TEST (ParameterLink, FloatBlocksNarrowTheValue)
{
	LinkedGraph g (kLinkReplace, 0);
	g.run (1);
	EXPECT_EQ (g.target->seen[0], static_cast<double> (0.1f));
}

TEST (ParameterLink, RelinkKeepsOnlyTheSecondAndNonLinkableIsRefused)
{
	IPtr<DSPAlgo> root = owned (new DSPAlgo (100, 1, 1));
	Controller* a = root->addController (new RampController (10, 1.0, 0.0));
	Controller* b = root->addController (new RampController (11, 2.0, 0.0));
	auto* target = static_cast<LinkTarget*> (root->addFunction (new LinkTarget (1)));
	ParameterLink* first = target->linkParameter (a, 0, kLinkReplace);
	ParameterLink* second = target->linkParameter (b, 0, kLinkReplace);
	EXPECT_NE (first, nullptr);
	EXPECT_EQ (target->findParameter (0)->getLink (), second);
	EXPECT_EQ (target->linkParameter (a, kBypassParamNo, kLinkReplace), nullptr);
	EXPECT_EQ (target->linkParameter (a, 9, kLinkReplace), nullptr);

	root->setSampleRate (44100.0);
	root->setBlockSize (8);
	ASSERT_EQ (root->setup (), 0);
	Buffers<double> in (1, 4), out (1, 4);
	root->process64 (in.get (), out.get (), 4);
	EXPECT_EQ (target->seen, std::vector<double> (4, 2.0)) << "the parameter follows the second source";
}

TEST (ParameterLink, BlockWithoutLinksHasNoLinkFlag)
{
	LinkTarget target (1);
	EXPECT_FALSE (target.hasLinks ());
}

TEST (ParameterLink, ALinkedParameterIsNotSmoothed)
{
	LinkTarget target (1, DSPParameter::kLinkable | DSPParameter::kSmoothed);
	EXPECT_TRUE (target.findParameter (0)->isSmoothed ());
	RampController source (10, 0.0, 0.0);
	target.linkParameter (&source, 0, kLinkReplace);
	EXPECT_FALSE (target.findParameter (0)->isSmoothed ());
}

TEST (ParameterLink, TickActsOnTheFirstOfEveryPeriod)
{
	RampController source (10, 0.0, 0.0);
	ParameterLink link (&source, kLinkReplace, 3);
	const bool expected[] = {true, false, false, true, false, false, true};
	for (bool e : expected)
		EXPECT_EQ (link.tick (), e);
	ParameterLink orphan (nullptr, kLinkReplace, 1);
	EXPECT_FALSE (orphan.tick ());
	EXPECT_FALSE (orphan.isSourceActive ());
	EXPECT_EQ (orphan.sourceChannel ().at (0), 0.0);
}

// A source and a target each run on their own with calls longer than their block size: the
// target still follows the source's output of the same call, sample by sample.
TEST (ParameterLink, CallsLongerThanTheBlockSizeFollowTheWholeCall)
{
	struct Case
	{
		int32 sourceFrames;
		int32 targetFrames;
	};
	for (const Case c : {Case {20, 20}, Case {20, 13}, Case {5, 20}})
	{
		RampController source (10, 0.1, 0.1);
		LinkTarget target (1);
		target.linkParameter (&source, 0, kLinkReplace);
		for (DSPFunction* block : {static_cast<DSPFunction*> (&source), static_cast<DSPFunction*> (&target)})
		{
			block->setBlockSize (8);
			block->setup ();
		}
		Buffers<double> sourceOut (1, c.sourceFrames);
		source.process64 (nullptr, sourceOut.get (), c.sourceFrames);
		Buffers<double> in (1, c.targetFrames), out (1, c.targetFrames);
		target.process64 (in.get (), out.get (), c.targetFrames);

		ASSERT_EQ (target.seen.size (), static_cast<size_t> (c.targetFrames));
		for (int32 j = 0; j < c.targetFrames; ++j)
		{
			// Past the end of a shorter source call the last value holds.
			const double expected = sourceOut.at (0, std::min (j, c.sourceFrames - 1));
			EXPECT_EQ (target.seen[static_cast<size_t> (j)], expected) << "sample " << j << " of " << c.targetFrames;
		}
	}
}
