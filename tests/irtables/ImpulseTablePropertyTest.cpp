// The committed tables against the figures the decorrelation stage was designed to.
#include "TableFixture.h"

#include <gtest/gtest.h>

#include <cmath>

namespace Veltrane {
namespace {

using Steinberg::Vst::kImpulseTableData;
using Steinberg::Vst::kImpulseTableTotal;

struct TableId
{
	char set;
	int band;
	TableMeasure measure () const { return committedTable (set, band); }
	std::string name () const { return tableName (set, band); }
};

template <typename Row>
std::string rowName (const ::testing::TestParamInfo<Row>& info)
{
	return info.param.table.name ();
}

// Level of a third-octave band relative to the table's own 1 to 5 kHz level.
double relativeLevel (const TableMeasure& t, double centre)
{
	return t.thirdOctaveDb (centre) - t.bandLevelDb (1000.0, 5000.0);
}

// Centres 100 Hz x 2^(n/3): n = -4 is 40 Hz, 18 is 6.4 kHz, 19 to 21 are 8, 10 and 12.8 kHz.
double thirdOctaveCentre (int n)
{
	return 100.0 * std::pow (2.0, n / 3.0);
}

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

// Peak value and index of every table.
struct PeakRow
{
	TableId table;
	double value;
	int index;
};

const PeakRow kPeaks[] = {
    {{'A', 0}, 0.811, 264}, {{'A', 1}, 0.731, 288}, {{'A', 2}, 0.811, 530},
    {{'A', 3}, 0.790, 576}, {{'A', 4}, 0.811, 1060}, {{'A', 5}, 0.809, 1153},
    {{'B', 0}, 0.591, 288}, {{'B', 1}, 0.584, 314}, {{'B', 2}, 0.591, 578},
    {{'B', 3}, 0.593, 628}, {{'B', 4}, 0.593, 1155}, {{'B', 5}, 0.593, 1256},
};

class TablePeak : public ::testing::TestWithParam<PeakRow>
{
};

TEST_P (TablePeak, hasTheDesignValueAtTheDesignTime)
{
	const auto& row = GetParam ();
	const auto t = row.table.measure ();
	EXPECT_NEAR (t.peakValue (), row.value, 0.05 * row.value);
	EXPECT_NEAR (t.peakIndex () / t.rate (), row.index / t.rate (), 0.25e-3);
}

INSTANTIATE_TEST_SUITE_P (AllTables, TablePeak, ::testing::ValuesIn (kPeaks), rowName<PeakRow>);

// Sum of values (the gain at 0 Hz) and energy of every table.
struct SumEnergyRow
{
	TableId table;
	double sum;
	double energy;
};

const SumEnergyRow kSumsAndEnergies[] = {
    {{'A', 0}, 2.90, 4.85},   {{'A', 1}, 3.15, 5.28},   {{'A', 2}, 5.81, 9.70},
    {{'A', 3}, 6.29, 10.55},  {{'A', 4}, 11.61, 19.39}, {{'A', 5}, 12.59, 21.11},
    {{'B', 0}, -0.49, 4.98},  {{'B', 1}, -0.52, 5.42},  {{'B', 2}, -0.99, 9.96},
    {{'B', 3}, -1.04, 10.84}, {{'B', 4}, -1.97, 19.91}, {{'B', 5}, -2.08, 21.67},
};

class TableSumAndEnergy : public ::testing::TestWithParam<SumEnergyRow>
{
};

TEST_P (TableSumAndEnergy, matchTheDesignFigures)
{
	const auto& row = GetParam ();
	const auto t = row.table.measure ();
	EXPECT_NEAR (t.sum (), row.sum, 0.1 * std::fabs (row.sum));
	EXPECT_NEAR (t.energy (), row.energy, 0.05 * row.energy);
}

INSTANTIATE_TEST_SUITE_P (AllTables, TableSumAndEnergy, ::testing::ValuesIn (kSumsAndEnergies), rowName<SumEnergyRow>);

// When the energy arrives: share in the first quarter, share in the second, time of 99 %.
struct TimingRow
{
	TableId table;
	double bodyShare;
	double bodyTolerance;
	double arrival99;
	double arrivalTolerance;
};

constexpr double kBodyA = 0.98, kBodyToleranceA = 0.01, kArrivalA = 9.7e-3, kArrivalToleranceA = 0.5e-3;
constexpr double kBodyB = 0.93, kBodyToleranceB = 0.03, kArrivalB = 15e-3, kArrivalToleranceB = 1.5e-3;

const TimingRow kTimings[] = {
    {{'A', 0}, kBodyA, kBodyToleranceA, kArrivalA, kArrivalToleranceA},
    {{'A', 1}, kBodyA, kBodyToleranceA, kArrivalA, kArrivalToleranceA},
    {{'A', 2}, kBodyA, kBodyToleranceA, kArrivalA, kArrivalToleranceA},
    {{'A', 3}, kBodyA, kBodyToleranceA, kArrivalA, kArrivalToleranceA},
    {{'A', 4}, kBodyA, kBodyToleranceA, kArrivalA, kArrivalToleranceA},
    {{'A', 5}, kBodyA, kBodyToleranceA, kArrivalA, kArrivalToleranceA},
    {{'B', 0}, kBodyB, kBodyToleranceB, kArrivalB, kArrivalToleranceB},
    {{'B', 1}, kBodyB, kBodyToleranceB, kArrivalB, kArrivalToleranceB},
    {{'B', 2}, kBodyB, kBodyToleranceB, kArrivalB, kArrivalToleranceB},
    {{'B', 3}, kBodyB, kBodyToleranceB, kArrivalB, kArrivalToleranceB},
    {{'B', 4}, kBodyB, kBodyToleranceB, kArrivalB, kArrivalToleranceB},
    {{'B', 5}, kBodyB, kBodyToleranceB, kArrivalB, kArrivalToleranceB},
};

class TableTiming : public ::testing::TestWithParam<TimingRow>
{
};

TEST_P (TableTiming, energyArrivesOnTime)
{
	const auto& row = GetParam ();
	const auto t = row.table.measure ();
	const int quarter = t.length () / 4;
	const double lead = t.energyShare (0, quarter);
	EXPECT_GE (lead, 0.01);
	EXPECT_LE (lead, 0.03);
	EXPECT_NEAR (t.energyShare (quarter, 2 * quarter), row.bodyShare, row.bodyTolerance);
	EXPECT_NEAR (t.arrivalTime (0.99), row.arrival99, row.arrivalTolerance);
}

INSTANTIATE_TEST_SUITE_P (AllTables, TableTiming, ::testing::ValuesIn (kTimings), rowName<TimingRow>);

// Sign changes per table: a dense response (A) or a coloured one (B).
struct SignChangeRow
{
	TableId table;
	int least;
	int most;
};

const SignChangeRow kSignChanges[] = {
    {{'A', 0}, 165, 185}, {{'A', 1}, 165, 185}, {{'A', 2}, 165, 185},
    {{'A', 3}, 165, 185}, {{'A', 4}, 165, 185}, {{'A', 5}, 165, 185},
    {{'B', 0}, 65, 70},   {{'B', 1}, 65, 70},   {{'B', 2}, 65, 70},
    {{'B', 3}, 65, 70},   {{'B', 4}, 65, 70},   {{'B', 5}, 65, 70},
};

class TableSignChanges : public ::testing::TestWithParam<SignChangeRow>
{
};

TEST_P (TableSignChanges, countAsForItsSet)
{
	const auto& row = GetParam ();
	const int changes = row.table.measure ().signChanges ();
	EXPECT_GE (changes, row.least);
	EXPECT_LE (changes, row.most);
}

INSTANTIATE_TEST_SUITE_P (AllTables, TableSignChanges, ::testing::ValuesIn (kSignChanges), rowName<SignChangeRow>);

// Set A: truncated, not faded, and flat in third octaves.
struct SetARow
{
	TableId table;
};

const SetARow kSetA[] = {{{'A', 0}}, {{'A', 1}}, {{'A', 2}}, {{'A', 3}}, {{'A', 4}}, {{'A', 5}}};

class SetATable : public ::testing::TestWithParam<SetARow>
{
};

TEST_P (SetATable, endsByTruncation)
{
	const auto t = GetParam ().table.measure ();
	const double last = std::fabs (t.values ().back () / t.peakValue ());
	EXPECT_GE (last, 0.0005);
	EXPECT_LE (last, 0.002);
}

TEST_P (SetATable, isFlatInThirdOctavesAndFallsAtTheTop)
{
	const auto t = GetParam ().table.measure ();
	EXPECT_GT (t.sum (), 0.0);
	for (int n = -4; n <= 18; ++n)
		EXPECT_NEAR (relativeLevel (t, thirdOctaveCentre (n)), 0.0, 1.0) << thirdOctaveCentre (n) << " Hz";
	const struct
	{
		int n;
		double db;
	} kFall[] = {{19, -1.0}, {20, -1.0}, {21, -2.0}};
	for (const auto& fall : kFall)
		EXPECT_NEAR (relativeLevel (t, thirdOctaveCentre (fall.n)), fall.db, 1.0) << thirdOctaveCentre (fall.n) << " Hz";
}

INSTANTIATE_TEST_SUITE_P (AllBands, SetATable, ::testing::ValuesIn (kSetA), rowName<SetARow>);

// Set B: its colour.
struct SetBRow
{
	TableId table;
};

const SetBRow kSetB[] = {{{'B', 0}}, {{'B', 1}}, {{'B', 2}}, {{'B', 3}}, {{'B', 4}}, {{'B', 5}}};

class SetBTable : public ::testing::TestWithParam<SetBRow>
{
};

TEST_P (SetBTable, hasItsColour)
{
	const auto t = GetParam ().table.measure ();
	EXPECT_LT (t.sum (), 0.0);
	const struct
	{
		double centre;
		double db;
	} kLevels[] = {{126.0, 8.0}, {thirdOctaveCentre (-4), -12.0}, {thirdOctaveCentre (18), -9.0},
	               {thirdOctaveCentre (19), -24.0}, {thirdOctaveCentre (20), -24.0}};
	for (const auto& level : kLevels)
		EXPECT_NEAR (relativeLevel (t, level.centre), level.db, 3.0) << level.centre << " Hz";
	EXPECT_LT (relativeLevel (t, thirdOctaveCentre (21)), -50.0);
}

TEST_P (SetBTable, dipsNear500HzAnd1kHz)
{
	const auto t = GetParam ().table.measure ();
	const auto level = [&t] (int n) { return relativeLevel (t, thirdOctaveCentre (n)); };
	// 500 Hz (n = 7) and 1 kHz (n = 10) lie below the bands either side of them.
	EXPECT_LT (level (7), level (6) - 2.0);
	EXPECT_LT (level (7), level (8) - 1.0);
	EXPECT_LT (level (10), level (9) - 1.5);
	EXPECT_LT (level (10), level (11) - 1.5);
}

INSTANTIATE_TEST_SUITE_P (AllBands, SetBTable, ::testing::ValuesIn (kSetB), rowName<SetBRow>);

// The pair of a band: hardly alike at equal time, most alike with B slightly later.
struct PairRow
{
	int band;
};

const PairRow kPairs[] = {{0}, {1}, {2}, {3}, {4}, {5}};

class ImpulsePair : public ::testing::TestWithParam<PairRow>
{
};

TEST_P (ImpulsePair, isDecorrelatedAtLagZeroAndAlikeAtASmallLag)
{
	const auto a = committedTable ('A', GetParam ().band);
	const auto b = committedTable ('B', GetParam ().band);
	EXPECT_NEAR (TableMeasure::correlation (a, b, 0), 0.03, 0.03);

	const int range = static_cast<int> (a.rate () * 2e-3);
	int bestLag = -range;
	for (int lag = -range; lag <= range; ++lag)
		if (TableMeasure::correlation (a, b, lag) > TableMeasure::correlation (a, b, bestLag))
			bestLag = lag;
	EXPECT_NEAR (TableMeasure::correlation (a, b, bestLag), 0.58, 0.05);
	EXPECT_NEAR (bestLag / a.rate (), 0.09e-3, 0.04e-3) << "B follows A";
}

INSTANTIATE_TEST_SUITE_P (AllBands, ImpulsePair, ::testing::ValuesIn (kPairs),
                          [] (const auto& info) { return std::to_string (info.param.band); });

// Across bands: one response per set, sampled at each band's rate.
struct RatePairRow
{
	TableId fine;
	int coarseBand;
};

const RatePairRow kRatePairs[] = {
    {{'A', 2}, 0}, {{'A', 3}, 1}, {{'A', 4}, 2}, {{'A', 5}, 3},
    {{'B', 2}, 0}, {{'B', 3}, 1}, {{'B', 4}, 2}, {{'B', 5}, 3},
};

class DoubleRateTable : public ::testing::TestWithParam<RatePairRow>
{
};

TEST_P (DoubleRateTable, followsTheHalfRateTableAtEveryOtherSample)
{
	const auto& row = GetParam ();
	const auto fine = row.fine.measure ();
	const auto coarse = committedTable (row.fine.set, row.coarseBand);
	EXPECT_NEAR (fine.energy () / fine.rate (), coarse.energy () / coarse.rate (), 0.01 * coarse.energy () / coarse.rate ());
	double worst = 0.0;
	for (int i = 0; i < coarse.length (); ++i)
		worst = std::max (worst, std::fabs (fine.values ()[2 * i] - coarse.values ()[i]));
	// Up to the rounding of both to single precision.
	EXPECT_LT (worst, 1e-6);
}

INSTANTIATE_TEST_SUITE_P (AllPairs, DoubleRateTable, ::testing::ValuesIn (kRatePairs),
                          [] (const auto& info) { return info.param.fine.name (); });

} // namespace
} // namespace Veltrane
