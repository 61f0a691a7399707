#include "dsp/ParameterLink.h"

#include "dsp/DSPFunction.h"

#include <algorithm>
#include <cmath>

namespace KOREMU {
namespace DSPLib {

ParameterLink::ParameterLink (DSPFunction* source, int32 mode, int32 period)
: source (source)
, period (period)
, mode (mode)
{
}

double ParameterLink::readSource (int32 i) const
{
	if (!source || !source->getLastOutputs () || source->getLastFrames () <= 0 || i < 0)
		return 0.0;
	// Past the end of a shorter source call its last sample holds.
	const int32 index = std::min (i, source->getLastFrames () - 1);
	if (source->lastOutputsAreFloat32 ())
	{
		float* channel = static_cast<float**> (source->getLastOutputs ())[0];
		return channel ? static_cast<double> (channel[index]) : 0.0;
	}
	double* channel = static_cast<double**> (source->getLastOutputs ())[0];
	return channel ? channel[index] : 0.0;
}

bool ParameterLink::tick ()
{
	if (!source)
		return false;
	if (counter == period)
		counter = 0;
	const bool acts = counter == 0;
	++counter;
	return acts;
}

bool ParameterLink::isSourceActive () const
{
	if (!source)
		return false;
	const double bypass = source->getParameter (kBypassParamNo, 0);
	return bypass == 0.0 || std::isnan (bypass);
}

} // namespace DSPLib
} // namespace KOREMU
