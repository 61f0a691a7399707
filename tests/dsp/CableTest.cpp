#include "dsp/Cable.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace KOREMU::DSPLib;

struct CableCase
{
	int32 sampleSize;
	bool float32;
	size_t bytesPerChannel;
};

class CableWidth : public ::testing::TestWithParam<CableCase>
{
};

TEST_P (CableWidth, OneWidthRuleForAllocationBytesAndClear)
{
	const CableCase c = GetParam ();
	Steinberg::IPtr<Cable> cable = Steinberg::owned (new Cable (2, 512, c.sampleSize));
	EXPECT_EQ (cable->getBytesPerChannel (), c.bytesPerChannel);
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
	if (c.float32)
		cable->getBuffers32 ()[1][511] = 3.0f;
	else
		cable->getBuffers64 ()[1][511] = 3.0;
	cable->clear ();
	if (c.float32)
		EXPECT_EQ (cable->getBuffers32 ()[1][511], 0.0f);
	else
		EXPECT_EQ (cable->getBuffers64 ()[1][511], 0.0);
}

INSTANTIATE_TEST_SUITE_P (SampleSizes, CableWidth,
                          ::testing::Values (CableCase {0, true, 2048}, CableCase {1, false, 4096},
                                             CableCase {2, false, 4096}, CableCase {-1, false, 4096}));

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
	EXPECT_EQ (cable->getBytesPerChannel (), 0u);
	cable->clear ();
}

TEST (Cable, SizesBeyondAnInt32AreComputedExactly)
{
	Steinberg::IPtr<Cable> cable = Steinberg::owned (new Cable (0, INT32_MAX, 1));
	EXPECT_EQ (cable->getBytesPerChannel (), size_t (INT32_MAX) * 8);
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
