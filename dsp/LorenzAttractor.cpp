#include "dsp/LorenzAttractor.h"

#include <cmath>

namespace KOREMU {
namespace DSPLib {

double LorenzAttractor::limitStep (double dt)
{
	if (!(dt > 0.0))
		return 0.0;
	return dt < kMaxStep ? dt : kMaxStep;
}

void LorenzAttractor::advance ()
{
	dx = kSigma * (y - x);
	dy = x * (kRho - z) - y;
	dz = x * y - kBeta * z;
	x += step * dx;
	y += step * dy;
	z += step * dz;
	if (!isFinite ())
		restart ();
}

void LorenzAttractor::restart ()
{
	x = y = z = 1.0;
	dx = dy = dz = 0.0;
}

void LorenzAttractor::setState (double newX, double newY, double newZ)
{
	x = newX;
	y = newY;
	z = newZ;
}

bool LorenzAttractor::isFinite () const
{
	return std::isfinite (x) && std::isfinite (y) && std::isfinite (z);
}

} // namespace DSPLib
} // namespace KOREMU
