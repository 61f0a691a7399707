#include "dsp/LinearGlide.h"

#include <cmath>

namespace KOREMU {
namespace DSPLib {

void LinearGlide::glideTo (double newTarget, int32 samples)
{
	if (holdsValue && newTarget == target)
		return;
	target = newTarget;
	if (!holdsValue || samples < 1 || !std::isfinite (value))
	{
		value = newTarget;
		remaining = 0;
		holdsValue = true;
		return;
	}
	step = (newTarget - value) / samples;
	remaining = samples;
}

double LinearGlide::next ()
{
	if (remaining > 0)
		value = --remaining == 0 ? target : value + step;
	return value;
}

} // namespace DSPLib
} // namespace KOREMU
