// A settled glide skips its step: the values read must stay those of the one-pole recurrence.
#include "dsp/DSPParameter.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstring>

using namespace KOREMU::DSPLib;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {

// The smoother as stated: one pole over 5 ms, taking its target once within 1e-12 of it.
class OnePole
{
public:
	OnePole (double rate, double start) : x (std::exp (-2.2 / (5.0 * 0.001 * rate))), a (1.0 - x), state (start) {}

	double next (double target)
	{
		state = target * a + state * x;
		if (std::fabs (state - target) <= 1e-12 * std::max (std::fabs (target), 1e-12))
			state = target;
		return state;
	}

private:
	double x;
	double a;
	double state;
};

struct GlideCase
{
	const char* name;
	double rate;
	double start;
	std::vector<double> targets; // each held for kReadsPerTarget reads
};

constexpr int kReadsPerTarget = 20000;

class SettledGlideTest : public ::testing::TestWithParam<GlideCase>
{
};

TEST_P (SettledGlideTest, ReadsFollowTheRecurrenceBitForBit)
{
	const GlideCase c = GetParam ();
	IPtr<DSPParameter> p = owned (new DSPParameter (0, u"P", DSPParameter::kSmoothed, c.start));
	p->setSampleRate (c.rate);
	p->prepareSmoothing ();
	OnePole reference (c.rate, c.start);
	for (double target : c.targets)
	{
		p->setValue (true, false, target);
		for (int read = 0; read < kReadsPerTarget; ++read)
		{
			const double actual = p->getValue ();
			const double expected = reference.next (target);
			ASSERT_EQ (std::memcmp (&actual, &expected, sizeof actual), 0)
			    << "target " << target << " read " << read << ": " << actual << " instead of " << expected;
		}
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
