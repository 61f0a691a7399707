// The committed tables against the figures the decorrelation stage was designed to.
#include "TableFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Veltrane {
namespace {

using Steinberg::Vst::kImpulseTableData;
using Steinberg::Vst::kImpulseTableTotal;

struct TableFigures
{
	char set;
	int band;
	double peak;
	int peakIndex;
	double sum;
	double energy;
};

void PrintTo (const TableFigures& f, std::ostream* os)
{
	*os << tableName (f.set, f.band);
}

// The design figures: peak value and index, sum of values and energy of every table.
const TableFigures kFigures[] = {
    {'A', 0, 0.811, 264, 2.90, 4.85},   {'A', 1, 0.731, 288, 3.15, 5.28},    {'A', 2, 0.811, 530, 5.81, 9.70},
    {'A', 3, 0.790, 576, 6.29, 10.55},  {'A', 4, 0.811, 1060, 11.61, 19.39}, {'A', 5, 0.809, 1153, 12.59, 21.11},
    {'B', 0, 0.591, 288, -0.49, 4.98},  {'B', 1, 0.584, 314, -0.52, 5.42},   {'B', 2, 0.591, 578, -0.99, 9.96},
    {'B', 3, 0.593, 628, -1.04, 10.84}, {'B', 4, 0.593, 1155, -1.97, 19.91}, {'B', 5, 0.593, 1256, -2.08, 21.67},
};

class ImpulseTable : public ::testing::TestWithParam<TableFigures>
{
protected:
	const TableFigures& figures () const { return GetParam (); }
	bool isA () const { return figures ().set == 'A'; }
	TableMeasure table () const { return committedTable (figures ().set, figures ().band); }
	double level (const TableMeasure& t, double centre) const
	{
		return t.thirdOctaveDb (centre) - t.bandLevelDb (1000.0, 5000.0);
	}
};

TEST (ImpulseTableData, holdsNonZeroSinglePrecisionValues)
{
	for (int i = 0; i < kImpulseTableTotal; ++i)
	{
		const double v = kImpulseTableData[i];
		ASSERT_TRUE (std::isfinite (v)) << "index " << i;
		ASSERT_NE (v, 0.0) << "index " << i;
		ASSERT_EQ (static_cast<double> (static_cast<float> (v)), v) << "index " << i;
	}
}

TEST_P (ImpulseTable, peaksNearItsDesignFigure)
{
	const auto t = table ();
	// Band 0 to 5 sample the peak on different grids: positive, set A within 10 % of the figure,
	// set B (peaking on its first lobe, up to 21 % above the figure at 48 kHz) within 25 %.
	EXPECT_GT (t.peakValue (), 0.0);
	EXPECT_NEAR (t.peakValue (), figures ().peak, (isA () ? 0.1 : 0.25) * figures ().peak);
	// Set A: the peak time within 0.1 ms of the figure. Set B peaks about 0.4 ms earlier than
	// the figure: within 0.5 ms.
	const double tolerance = isA () ? 0.1e-3 : 0.5e-3;
	EXPECT_NEAR (t.peakIndex () / t.rate (), figures ().peakIndex / t.rate (), tolerance);
}

TEST_P (ImpulseTable, sumAndEnergyMatchTheFigures)
{
	const auto t = table ();
	EXPECT_NEAR (t.energy (), figures ().energy, 0.02 * figures ().energy);
	EXPECT_EQ (t.sum () > 0.0, isA ()) << "A sums positive, B negative";
	// Set A's sum within 5 %. Set B's sum within 20 %: its slow low-frequency ringing is cut
	// at 21.3 ms in the 48 kHz family, which moves the sum more than the figures show.
	EXPECT_NEAR (t.sum (), figures ().sum, (isA () ? 0.05 : 0.2) * std::fabs (figures ().sum));
}

TEST_P (ImpulseTable, energyArrivesOnTime)
{
	const auto t = table ();
	const int quarter = t.length () / 4;
	const double lead = t.energyShare (0, quarter);
	EXPECT_GE (lead, 0.01);
	EXPECT_LE (lead, 0.03);
	const double body = t.energyShare (quarter, 2 * quarter);
	if (isA ())
	{
		EXPECT_GE (body, 0.97);
		EXPECT_LE (body, 0.99);
		EXPECT_NEAR (t.arrivalTime (0.99), 9.7e-3, 0.5e-3);
	}
	else
	{
		EXPECT_NEAR (body, 0.93, 0.03);
		EXPECT_NEAR (t.arrivalTime (0.99), 15e-3, 1.5e-3);
	}
}

TEST_P (ImpulseTable, setAEndsByTruncation)
{
	if (!isA ())
		GTEST_SKIP () << "only set A's end is specified";
	const auto t = table ();
	const double last = std::fabs (t.values ().back () / t.peakValue ());
	EXPECT_GE (last, 0.0005);
	EXPECT_LE (last, 0.002);
}

TEST_P (ImpulseTable, signChangesLikeADenseOrColouredResponse)
{
	// About 165 to 185 for A and 65 to 70 for B; allowed 10 either side.
	const int changes = table ().signChanges ();
	if (isA ())
	{
		EXPECT_GE (changes, 155);
		EXPECT_LE (changes, 195);
	}
	else
	{
		EXPECT_GE (changes, 55);
		EXPECT_LE (changes, 80);
	}
}

TEST_P (ImpulseTable, setAIsFlatInThirdOctaves)
{
	if (!isA ())
		GTEST_SKIP ();
	const auto t = table ();
	// 63 Hz to 6.4 kHz within 0.5 dB of the 1-5 kHz level. At 40 and 50 Hz the positive sum
	// (2.4 dB above the flat level) and the short body lift the level less than the target:
	// within 3 dB there.
	for (int n = -4; n <= 18; ++n)
	{
		const double centre = 100.0 * std::pow (2.0, n / 3.0);
		EXPECT_NEAR (level (t, centre), 0.0, n >= -2 ? 0.5 : 3.0) << centre << " Hz";
	}
	EXPECT_NEAR (level (t, 8063.0), -1.0, 0.75);
	EXPECT_NEAR (level (t, 10159.0), -1.0, 0.75);
	EXPECT_NEAR (level (t, 12800.0), -2.0, 0.75);
}

TEST_P (ImpulseTable, setBHasItsColour)
{
	if (isA ())
		GTEST_SKIP ();
	const auto t = table ();
	EXPECT_NEAR (level (t, 126.0), 8.0, 1.5);
	EXPECT_NEAR (level (t, 39.7), -12.0, 2.0);
	EXPECT_LT (level (t, 504.0), level (t, 400.0) - 2.0);
	EXPECT_LT (level (t, 504.0), level (t, 635.0) - 1.0);
	EXPECT_LT (level (t, 1008.0), level (t, 800.0) - 1.5);
	EXPECT_LT (level (t, 1008.0), level (t, 1270.0) - 1.5);
	EXPECT_NEAR (level (t, 6400.0), -9.0, 2.0);
	EXPECT_NEAR (level (t, 8063.0), -24.0, 2.0);
	// The fall from 8 to 10 kHz is steeper than the figure (about -28.5 dB at 10 kHz).
	EXPECT_NEAR (level (t, 10159.0), -24.0, 5.0);
	EXPECT_LT (level (t, 12800.0), -50.0);
}

INSTANTIATE_TEST_SUITE_P (AllTables, ImpulseTable, ::testing::ValuesIn (kFigures),
                          [] (const auto& info) { return tableName (info.param.set, info.param.band); });

class ImpulsePair : public ::testing::TestWithParam<int>
{
};

TEST_P (ImpulsePair, isDecorrelatedAtLagZeroAndAlikeAtASmallLag)
{
	const auto a = committedTable ('A', GetParam ());
	const auto b = committedTable ('B', GetParam ());
	EXPECT_NEAR (TableMeasure::correlation (a, b, 0), 0.03, 0.05);

	const int range = static_cast<int> (a.rate () * 2e-3);
	int bestLag = -range;
	for (int lag = -range; lag <= range; ++lag)
		if (TableMeasure::correlation (a, b, lag) > TableMeasure::correlation (a, b, bestLag))
			bestLag = lag;
	EXPECT_NEAR (TableMeasure::correlation (a, b, bestLag), 0.58, 0.05);
	EXPECT_NEAR (bestLag / a.rate (), 0.09e-3, 0.03e-3) << "B follows A";
}

INSTANTIATE_TEST_SUITE_P (AllBands, ImpulsePair, ::testing::Range (0, Steinberg::Vst::kNumImpulseBands));

class ImpulseSet : public ::testing::TestWithParam<char>
{
};

TEST_P (ImpulseSet, describesOneResponseAtEveryRate)
{
	const char set = GetParam ();
	const auto reference = committedTable (set, 0);
	for (int band = 1; band < Steinberg::Vst::kNumImpulseBands; ++band)
	{
		const auto t = committedTable (set, band);
		EXPECT_NEAR (t.energy () / t.rate (), reference.energy () / reference.rate (),
		             0.01 * reference.energy () / reference.rate ()) << tableName (set, band);
	}
	// Every other sample of a double-rate table is the half-rate table (up to float rounding).
	for (const auto& [high, low] : {std::make_pair (2, 0), std::make_pair (3, 1), std::make_pair (4, 2), std::make_pair (5, 3)})
	{
		const auto fine = committedTable (set, high);
		const auto coarse = committedTable (set, low);
		double worst = 0.0;
		for (int i = 0; i < coarse.length (); ++i)
			worst = std::max (worst, std::fabs (fine.values ()[2 * i] - coarse.values ()[i]));
		EXPECT_LT (worst, 1e-6) << tableName (set, high) << " against " << tableName (set, low);
	}
}

INSTANTIATE_TEST_SUITE_P (BothSets, ImpulseSet, ::testing::Values ('A', 'B'),
                          [] (const auto& info) { return std::string (1, info.param); });

} // namespace
} // namespace Veltrane
