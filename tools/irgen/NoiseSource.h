#pragma once

#include <cstdint>

namespace Veltrane {
namespace IrGen {

// Seeded Gaussian noise that is the same on every platform: SplitMix64 and the Box-Muller
// transform, because the standard distributions are implementation-defined.
class NoiseSource
{
public:
	explicit NoiseSource (std::uint64_t seed) : state (seed) {}

	// Uniform in (0, 1), never 0.
	double uniform ();
	// Standard normal.
	double gaussian ();

private:
	std::uint64_t next ();

	std::uint64_t state;
	double spare = 0.0;
	bool hasSpare = false;
};

} // namespace IrGen
} // namespace Veltrane
