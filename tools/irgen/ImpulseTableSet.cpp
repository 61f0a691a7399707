#include "tools/irgen/ImpulseTableSet.h"

#include "plugin/processor/ImpulseTables.h"
#include "tools/irgen/ResponseDesigner.h"

#include <cmath>
#include <limits>

namespace Veltrane {
namespace IrGen {

static_assert (ImpulseTableSet::kNumBands == Steinberg::Vst::kNumImpulseBands, "one rate per band");

ImpulseTableSet::ImpulseTableSet (const DesignParameters& parameters)
: a (ResponseDesigner (parameters).designA ()), b (ResponseDesigner (parameters).designB (a))
{
}

double ImpulseTableSet::toTableValue (double value)
{
	const auto single = static_cast<float> (value);
	if (single != 0.0f)
		return single;
	return std::signbit (value) ? -std::numeric_limits<float>::min () : std::numeric_limits<float>::min ();
}

std::vector<double> ImpulseTableSet::values () const
{
	std::vector<double> out;
	out.reserve (Steinberg::Vst::kImpulseTableTotal);
	for (const auto* response : {&a, &b})
	{
		for (int k = 0; k < kNumBands; ++k)
		{
			for (double v : response->sample (kBandRates[k], Steinberg::Vst::kImpulseTableLengths[k]))
				out.push_back (toTableValue (v));
		}
	}
	return out;
}

} // namespace IrGen
} // namespace Veltrane
