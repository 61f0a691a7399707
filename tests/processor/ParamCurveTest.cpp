#include "plugin/processor/ParamCurve.h"
#include "plugin/processor/PlugParameters.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

TEST (ParamCurve, LinearReachesItsEndsAndStepsEvenly)
{
	const ParamCurve curve = ParamCurve::linear (3.0, 45.0);
	EXPECT_EQ (curve.at (0.0), 3.0);
	EXPECT_EQ (curve.at (1.0), 45.0);
	EXPECT_EQ (curve.at (0.5), 24.0);
	EXPECT_NEAR (curve.at (0.75) - curve.at (0.5), curve.at (0.25) - curve.at (0.0), 1e-12);
	EXPECT_EQ (curve.highest (), 45.0);
	EXPECT_EQ (ParamCurve::linear (0.0, -6.0).highest (), 0.0);
}

TEST (ParamCurve, ExponentialReachesItsEndsAndMultipliesEvenly)
{
	for (const auto& [from, to] : {std::pair {20.0, 1500.0}, std::pair {-3.0, -0.02}})
	{
		const ParamCurve curve = ParamCurve::exponential (from, to);
		EXPECT_NEAR (curve.at (0.0), from, 1e-15 * std::fabs (from));
		EXPECT_NEAR (curve.at (1.0), to, 1e-12 * std::fabs (to));
		// Halfway is the geometric mean, and equal steps give equal ratios.
		EXPECT_NEAR (curve.at (0.5), std::copysign (std::sqrt (from * to), from), 1e-12 * std::fabs (from));
		EXPECT_NEAR (curve.at (0.3) / curve.at (0.1), curve.at (0.9) / curve.at (0.7), 1e-12);
	}
}

TEST (ParamCurve, QuarterWavesKeepTheirPowerTogether)
{
	const ParamCurve a = ParamCurve::quarterCosine ();
	const ParamCurve b = ParamCurve::quarterSine ();
	EXPECT_EQ (a.at (0.0), 1.0);
	EXPECT_EQ (b.at (0.0), 0.0);
	EXPECT_EQ (b.at (1.0), 1.0);
	EXPECT_LT (std::fabs (a.at (1.0)), 1e-15);
	EXPECT_NEAR (a.at (0.5), b.at (0.5), 1e-15);
	for (double v = 0.0; v <= 1.0; v += 0.125)
		EXPECT_NEAR (a.at (v) * a.at (v) + b.at (v) * b.at (v), 1.0, 1e-15) << v;
}

TEST (ParamCurve, SwitchTurnsOnAboveOneHalfAndConstantIgnoresTheValue)
{
	const ParamCurve toggle = ParamCurve::switchAboveHalf ();
	EXPECT_EQ (toggle.at (0.5), 0.0);
	EXPECT_EQ (toggle.at (0.51), 1.0);
	EXPECT_EQ (toggle.at (0.0), 0.0);
	EXPECT_EQ (toggle.at (1.0), 1.0);
	EXPECT_EQ (ParamCurve::constant (1.0).at (0.3), 1.0);
}

TEST (ParameterTable, EachTagOnceEachTargetDrivenByOneRowAndEveryDefaultWithinTheRange)
{
	std::set<ParamID> tags;
	std::set<ParamTarget> targets;
	for (const PlugParameter& row : kPlugParameters)
	{
		EXPECT_TRUE (tags.insert (row.tag).second) << row.tag;
		EXPECT_GE (row.defaultValue, 0.0) << row.tag;
		EXPECT_LE (row.defaultValue, 1.0) << row.tag;
		EXPECT_EQ (findPlugParameter (row.tag), &row);
		for (const ParamMapping& mapping : row.mappings)
		{
			if (mapping.target != ParamTarget::kNone)
			{
				EXPECT_TRUE (targets.insert (mapping.target).second) << row.tag;
			}
		}
	}
	EXPECT_EQ (findPlugParameter (9), nullptr);
	EXPECT_EQ (static_cast<int32> (targets.size ()), static_cast<int32> (ParamTarget::kDecorrBypass));
}

} // namespace
