#include "dsp/DSPParameter.h"
#include "dsp/ParameterList.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace KOREMU::DSPLib;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {
IPtr<DSPParameter> makeParameter (int32 flags, double value, uint32 key = 0)
{
	return owned (new DSPParameter (key, u"P", flags, value));
}

IPtr<DSPParameter> smoothedAt (double value, double rate = 44100.0)
{
	auto p = makeParameter (DSPParameter::kSmoothed, value);
	p->setSampleRate (rate);
	p->prepareSmoothing ();
	return p;
}
} // namespace

TEST (DSPParameter, RangeClampsValueAndBase)
{
	auto p = makeParameter (0, 5.0);
	p->setRange (0.0, 1.0);
	EXPECT_EQ (p->getPlainValue (), 1.0);
	EXPECT_EQ (p->getBaseValue (), 1.0);
	p->setValue (true, false, -3.0);
	EXPECT_EQ (p->getPlainValue (), 0.0);
}

TEST (DSPParameter, NaNPassesClampingUnchanged)
{
	auto p = makeParameter (0, 0.5);
	p->setRange (0.0, 1.0);
	p->setValue (true, false, std::numeric_limits<double>::quiet_NaN ());
	EXPECT_TRUE (std::isnan (p->getValue ()));
}

TEST (DSPParameter, IgnoresUnforcedSetsWithFlag1)
{
	auto p = makeParameter (DSPParameter::kIgnoreUnforced, 0.0);
	p->setValue (true, false, 0.7);
	EXPECT_EQ (p->getPlainValue (), 0.0);
	p->setValue (true, true, 0.7);
	EXPECT_EQ (p->getPlainValue (), 0.7);
	EXPECT_EQ (p->getBaseValue (), 0.7);
}

TEST (DSPParameter, SetWithoutBaseKeepsBase)
{
	auto p = makeParameter (0, 0.2);
	p->setValue (false, false, 0.9);
	EXPECT_EQ (p->getPlainValue (), 0.9);
	EXPECT_EQ (p->getBaseValue (), 0.2);
}

TEST (DSPParameterSmoothing, OnePoleStepsAt44100)
{
	auto p = smoothedAt (0.0);
	p->setValue (true, false, 1.0);
	EXPECT_NEAR (p->getValue (), 0.009927716, 1e-9);
	EXPECT_NEAR (p->getValue (), 0.019756872, 1e-9);
	for (int i = 2; i < 220; ++i)
		p->getValue ();
	EXPECT_NEAR (p->getValue (), 0.889, 0.002);
}

TEST (DSPParameterSmoothing, NeedsBothFlagBits)
{
	for (int32 flags : {0x40, 0x80})
	{
		auto p = makeParameter (flags, 0.0);
		p->prepareSmoothing ();
		p->setValue (true, false, 1.0);
		EXPECT_EQ (p->getValue (), 1.0) << flags;
	}
}

TEST (DSPParameterSmoothing, ReadBeforeFirstSetupAnswersThePlainValue)
{
	auto p = makeParameter (DSPParameter::kSmoothed, 0.0);
	p->setValue (true, false, 0.75);
	EXPECT_EQ (p->getValue (), 0.75);
	EXPECT_EQ (p->getValue (), 0.75);
}

TEST (DSPParameterSmoothing, NaNTargetIsAnsweredButNotStored)
{
	constexpr double kNaN = std::numeric_limits<double>::quiet_NaN ();
	// A NaN at setup restarts the smoother from 0, one after setup leaves it where it was.
	for (bool nanAtSetup : {false, true})
	{
		auto p = makeParameter (DSPParameter::kSmoothed, nanAtSetup ? kNaN : 0.5);
		p->prepareSmoothing ();
		p->setValue (true, false, kNaN);
		EXPECT_TRUE (std::isnan (p->getValue ()));
		p->setValue (true, false, 0.5);
		EXPECT_NEAR (p->getValue (), nanAtSetup ? 0.5 * 0.009927716 : 0.5, 1e-9) << nanAtSetup;
	}
}

TEST (DSPParameterSmoothing, GlideSettlesOnTargetWithoutSubnormals)
{
	for (double target : {0.0, 1.0, -20.0, 1e-30})
	{
		auto p = smoothedAt (1000.0);
		p->setValue (true, false, target);
		double y = 0.0;
		for (int i = 0; i < 200000; ++i)
		{
			y = p->getValue ();
			ASSERT_NE (std::fpclassify (y), FP_SUBNORMAL) << target;
		}
		EXPECT_EQ (y, target);
	}
}

// Nothing reads a name back, so what is left to see is that a long one is taken safely: the
// sanitizer builds catch a copy past the 128 units.
TEST (DSPParameter, LongNameIsTakenSafely)
{
	std::u16string longName (300, u'x');
	IPtr<DSPParameter> p = owned (new DSPParameter (1, longName.c_str (), 0, 0.25));
	p->setValue (true, false, 0.5);
	EXPECT_EQ (p->getValue (), 0.5);
	EXPECT_EQ (p->getKey (), 1u);
}

TEST (ParameterList, LaterParameterUnderSameKeyWinsFind)
{
	ParameterList list;
	auto* first = list.add (new DSPParameter (5, u"A", 0, 1.0));
	auto* second = list.add (new DSPParameter (5, u"B", 0, 2.0));
	EXPECT_EQ (list.size (), 2);
	EXPECT_EQ (list.find (5), second);
	EXPECT_EQ (list.at (0), first);
}

TEST (ParameterList, RemoveKeepsTheOthersFindable)
{
	ParameterList list;
	list.add (new DSPParameter (1, u"A", 0, 1.0));
	auto* b = list.add (new DSPParameter (2, u"B", 0, 2.0));
	auto* c = list.add (new DSPParameter (3, u"C", 0, 3.0));
	EXPECT_TRUE (list.remove (1));
	EXPECT_EQ (list.find (1), nullptr);
	EXPECT_EQ (list.find (2), b);
	EXPECT_EQ (list.find (3), c);
	EXPECT_TRUE (list.remove (42));
}

TEST (ParameterList, RemoveOnNeverUsedListIsFalse)
{
	ParameterList list;
	EXPECT_FALSE (list.remove (1));
	EXPECT_EQ (list.find (1), nullptr);
	list.reserveStorage (4);
	EXPECT_TRUE (list.remove (1));
}
