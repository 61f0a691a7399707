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

} // namespace DSPLib
} // namespace KOREMU
