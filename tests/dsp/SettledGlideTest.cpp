// A smoothed parameter glides to each new value along a one-pole curve, lands on it exactly and
// then stays on it: a settled glide skips its step, and the values read must not show it.
#include "tests/support/Measure.h"

#include "dsp/DSPParameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <vector>

using namespace KOREMU::DSPLib;
using Steinberg::IPtr;
using Steinberg::owned;
using veltrane_test::sameBits;

namespace {

IPtr<DSPParameter> smoothed (double rate, double start)
{
	IPtr<DSPParameter> p = owned (new DSPParameter (0, u"P", DSPParameter::kSmoothed, start));
	p->setSampleRate (rate);
	p->prepareSmoothing ();
	return p;
}

// The documented glide at 44.1 kHz: from 0 towards 1 it reads 0.009927716 and then 0.019756872,
// and 220 reads cover 88.9 % of the way; at other rates it takes reads in proportion to the rate.
TEST (Glide, TakesTheDocumentedCourseAtEveryRate)
{
	IPtr<DSPParameter> p = smoothed (44100.0, 0.0);
	p->setValue (true, false, 1.0);
	EXPECT_NEAR (p->getValue (), 0.009927716, 1e-9);
	EXPECT_NEAR (p->getValue (), 0.019756872, 1e-9);
	for (const double rate : {44100.0, 96000.0, 192000.0})
	{
		IPtr<DSPParameter> q = smoothed (rate, 0.0);
		q->setValue (true, false, 1.0);
		const int reads = static_cast<int> (std::lround (220.0 * rate / 44100.0));
		double value = 0.0;
		for (int read = 0; read < reads; ++read)
			value = q->getValue ();
		EXPECT_NEAR (value, 0.889, 1e-3) << rate;
	}
}

struct GlideCase
{
	const char* name;
	double rate;
	double start;
	std::vector<double> targets; // each set in turn
};

// Reads after landing, and the most a glide may take to land (from -1e300 to 1e-300 at 192 kHz
// it takes about 330000).
constexpr int kReadsAfterLanding = 20000;
constexpr int kMostReadsToLand = 1000000;

class SettledGlideTest : public ::testing::TestWithParam<GlideCase>
{
};

// Each read closes the same share of the distance left, from one side: the glide never passes
// its target. It lands on the target to the last bit, the sign of zero included, and from then
// on every read returns it unchanged; setting the value it already holds starts no new glide.
TEST_P (SettledGlideTest, ClosesInFromOneSideLandsExactlyAndStays)
{
	const GlideCase c = GetParam ();
	IPtr<DSPParameter> p = smoothed (c.rate, c.start);
	double previous = c.start;
	for (double target : c.targets)
	{
		p->setValue (true, false, target);
		const double scale = std::fabs (previous - target);
		double firstShare = 0.0;
		for (int read = 0;; ++read)
		{
			ASSERT_LT (read, kMostReadsToLand) << "never landed on " << target;
			const double value = p->getValue ();
			if (sameBits (value, target))
				break;
			ASSERT_GT ((target - value) * (target - previous), 0.0) << "passed " << target << " at read " << read;
			ASSERT_LT (std::fabs (target - value), std::fabs (target - previous)) << "read " << read;
			// Until rounding shows, the distance shrinks by the same factor at every read.
			const double share = (target - value) / (target - previous);
			if (firstShare == 0.0)
			{
				firstShare = share;
			}
			else if (std::fabs (target - previous) > 1e-6 * scale)
			{
				ASSERT_NEAR (share, firstShare, 1e-9) << "target " << target << " read " << read;
			}
			previous = value;
		}
		for (int read = 0; read < kReadsAfterLanding; ++read)
		{
			const double value = p->getValue ();
			ASSERT_TRUE (sameBits (value, target)) << "target " << target << " read " << read << ": " << value;
		}
		previous = target;
	}
}

INSTANTIATE_TEST_SUITE_P (
    Targets, SettledGlideTest,
    ::testing::Values (GlideCase {"UpDownAndBack", 48000.0, 0.0, {1.0, 0.25, 0.25, -3.5, 1e-9}},
                       GlideCase {"SignedZeros", 44100.0, 1.0, {-0.0, 0.0, -0.0}},
                       GlideCase {"Large", 192000.0, 1e300, {-1e300, 1e-300}},
                       GlideCase {"Decibels", 96000.0, -96.0, {12.0, 0.0, -6.0}}),
    [] (const ::testing::TestParamInfo<GlideCase>& info) { return std::string (info.param.name); });

} // namespace
