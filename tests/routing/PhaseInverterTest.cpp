#include "dsp/PhaseInverter.h"

#include "tests/support/Buffers.h"
#include "tests/support/SampleTypes.h"

#include <cmath>

using namespace veltrane_test;
using KOREMU::DSPLib::PhaseInverter;

namespace {

template <typename Sample>
class PhaseInverterTest : public ::testing::Test
{
};
TYPED_TEST_SUITE (PhaseInverterTest, SampleTypes, SampleTypeNames);

struct InversionCase
{
	double inversion;
	bool inverts;
};

} // namespace

TYPED_TEST (PhaseInverterTest, AnyNonZeroInversionFlipsTheSign)
{
	using Sample = TypeParam;
	const InversionCase cases[] = {
	    {0.0, false}, {1.0, true}, {0.5, true}, {1e-9, true}, {3.0, true}, {-1.0, false} // -1 clamps to 0
	};
	const double values[] = {0.25, -0.5, 1.0, 1e-20, -3.5};
	for (const auto& c : cases)
	{
		SCOPED_TRACE (c.inversion);
		PhaseInverter inverter (1, 1);
		inverter.setParameter (PhaseInverter::kInversionParamNo, 0, true, false, c.inversion);
		prepare<Sample> (inverter);
		Buffers<Sample> in (1, 5), out (1, 5);
		for (int32 i = 0; i < 5; ++i)
			in.at (0, i) = static_cast<Sample> (values[i]);
		process (inverter, in.get (), out.get (), 5);
		for (int32 i = 0; i < 5; ++i)
			EXPECT_EQ (out.at (0, i), c.inverts ? -in.at (0, i) : in.at (0, i));
	}
}

TYPED_TEST (PhaseInverterTest, InvertedSilenceIsNegativeZeroAndPlainSilenceKeepsItsSign)
{
	using Sample = TypeParam;
	PhaseInverter inverter (1, 2);
	inverter.setParameter (PhaseInverter::kInversionParamNo, 1, true, false, 1.0);
	prepare<Sample> (inverter);
	Buffers<Sample> in (2, 4), out (2, 4, 7.0);
	in.at (0, 1) = static_cast<Sample> (-0.0);
	in.at (1, 1) = static_cast<Sample> (-0.0);
	process (inverter, in.get (), out.get (), 4);
	for (int32 i = 0; i < 4; ++i)
	{
		SCOPED_TRACE (i);
		EXPECT_EQ (out.at (0, i), 0.0);
		EXPECT_EQ (std::signbit (out.at (0, i)), i == 1);
		EXPECT_EQ (out.at (1, i), 0.0);
		EXPECT_EQ (std::signbit (out.at (1, i)), i != 1);
	}
}

TYPED_TEST (PhaseInverterTest, EachChannelSwitchesOnItsOwnAtTheNextCall)
{
	using Sample = TypeParam;
	PhaseInverter inverter (1, 2);
	prepare<Sample> (inverter);
	Buffers<Sample> in (2, 16, 0.5), out (2, 16);
	process (inverter, in.get (), out.get (), 16);
	EXPECT_EQ (out.at (1, 15), static_cast<Sample> (0.5));

	inverter.setParameter (PhaseInverter::kInversionParamNo, 1, true, false, 1.0);
	process (inverter, in.get (), out.get (), 16);
	for (int32 i = 0; i < 16; ++i)
	{
		EXPECT_EQ (out.at (0, i), static_cast<Sample> (0.5));
		EXPECT_EQ (out.at (1, i), static_cast<Sample> (-0.5));
	}
}
