#include "tools/irgen/NoiseSource.h"

#include <cmath>

namespace Veltrane {
namespace IrGen {

std::uint64_t NoiseSource::next ()
{
	state += 0x9E3779B97F4A7C15ull;
	std::uint64_t z = state;
	z = (z ^ (z >> 30)) * 0xBF58476D1CE4E5B9ull;
	z = (z ^ (z >> 27)) * 0x94D049BB133111EBull;
	return z ^ (z >> 31);
}

double NoiseSource::uniform ()
{
	// 53 random bits, offset by half a step so that 0 never comes out.
	return (static_cast<double> (next () >> 11) + 0.5) * (1.0 / 9007199254740992.0);
}

double NoiseSource::gaussian ()
{
	if (hasSpare)
	{
		hasSpare = false;
		return spare;
	}
	const double radius = std::sqrt (-2.0 * std::log (uniform ()));
	const double angle = 2.0 * std::acos (-1.0) * uniform ();
	spare = radius * std::sin (angle);
	hasSpare = true;
	return radius * std::cos (angle);
}

} // namespace IrGen
} // namespace Veltrane
