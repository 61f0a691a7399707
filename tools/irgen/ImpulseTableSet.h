#pragma once

#include "tools/irgen/BandLimitedResponse.h"
#include "tools/irgen/DesignParameters.h"

#include <vector>

namespace Veltrane {
namespace IrGen {

// The two designed responses and their twelve tables: each set sampled at every band's rate.
class ImpulseTableSet
{
public:
	static constexpr int kNumBands = 6;
	static constexpr double kBandRates[kNumBands] = {44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0};

	explicit ImpulseTableSet (const DesignParameters& parameters = DesignParameters ());

	const BandLimitedResponse& setA () const { return a; }
	const BandLimitedResponse& setB () const { return b; }
	// A0..A5 then B0..B5.
	std::vector<double> values () const;

	// Rounds to single precision; an exact zero becomes the smallest normal number of its sign.
	static double toTableValue (double value);

private:
	BandLimitedResponse a;
	BandLimitedResponse b;
};

} // namespace IrGen
} // namespace Veltrane
