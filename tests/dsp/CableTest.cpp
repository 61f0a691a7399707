#include "dsp/Cable.h"

#include <gtest/gtest.h>

using namespace KOREMU::DSPLib;

struct CableCase
{
	int32 sampleSize;
	bool float32;
};

class CableWidth : public ::testing::TestWithParam<CableCase>
{
};

TEST_P (CableWidth, OneWidthRuleForAllocationBytesAndClear)
{
	const CableCase c = GetParam ();
	Steinberg::IPtr<Cable> cable = Steinberg::owned (new Cable (2, 512, c.sampleSize));
	EXPECT_EQ (cable->getBuffers32 () != nullptr, c.float32);
	EXPECT_EQ (cable->getBuffers64 () != nullptr, !c.float32);
	EXPECT_EQ (cable->getBuffers (), c.float32 ? static_cast<void*> (cable->getBuffers32 ())
	                                           : static_cast<void*> (cable->getBuffers64 ()));
	for (int ch = 0; ch < 2; ++ch)
	{
		for (int i = 0; i < 512; ++i)
		{
			if (c.float32)
				EXPECT_EQ (cable->getBuffers32 ()[ch][i], 0.0f);
			else
				EXPECT_EQ (cable->getBuffers64 ()[ch][i], 0.0);
		}
	}
	// Clear covers exactly the channels of its width: every sample, and (under the sanitizers)
	// nothing past them.
	for (int ch = 0; ch < 2; ++ch)
		for (int i = 0; i < 512; ++i)
			if (c.float32)
				cable->getBuffers32 ()[ch][i] = 3.0f;
			else
				cable->getBuffers64 ()[ch][i] = 3.0;
	cable->clear ();
	for (int ch = 0; ch < 2; ++ch)
		for (int i = 0; i < 512; ++i)
			if (c.float32)
				ASSERT_EQ (cable->getBuffers32 ()[ch][i], 0.0f) << ch << " " << i;
			else
				ASSERT_EQ (cable->getBuffers64 ()[ch][i], 0.0) << ch << " " << i;
}

INSTANTIATE_TEST_SUITE_P (SampleSizes, CableWidth,
                          ::testing::Values (CableCase {0, true}, CableCase {1, false}, CableCase {2, false},
                                             CableCase {-1, false}));

TEST (Cable, NoChannelsHasNoArrays)
{
	Steinberg::IPtr<Cable> cable = Steinberg::owned (new Cable (0, 64, 1));
	EXPECT_EQ (cable->getBuffers (), nullptr);
	cable->clear ();
}

TEST (Cable, NoFramesHasNullChannels)
{
	Steinberg::IPtr<Cable> cable = Steinberg::owned (new Cable (2, 0, 1));
	ASSERT_NE (cable->getBuffers64 (), nullptr);
	EXPECT_EQ (cable->getBuffers64 ()[0], nullptr);
	EXPECT_EQ (cable->getBuffers64 ()[1], nullptr);
	cable->clear ();
}

TEST (Cable, AnswersItsClassName)
{
	Steinberg::IPtr<Cable> cable = Steinberg::owned (new Cable (1, 1, 1));
	EXPECT_STREQ (cable->isA (), "Cable");
	EXPECT_TRUE (cable->isTypeOf ("Cable", false));
	EXPECT_TRUE (cable->isTypeOf ("FObject", true));
	EXPECT_FALSE (cable->isTypeOf ("FObject", false));
	EXPECT_FALSE (cable->isTypeOf (nullptr, true));
}
