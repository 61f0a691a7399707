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

void LorenzAttractor::setState (double newX, double newY, double newZ)
{
	x = newX;
	y = newY;
	z = newZ;
}

} // namespace DSPLib
} // namespace KOREMU
