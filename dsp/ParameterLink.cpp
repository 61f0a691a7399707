#include "dsp/ParameterLink.h"

#include "dsp/DSPFunction.h"

#include <cmath>

namespace KOREMU {
namespace DSPLib {

ParameterLink::ParameterLink (DSPFunction* source, int32 mode, int32 period)
: source (source)
, period (period)
, mode (mode)
, sourceWidth (source ? source->getSampleSize () : 1)
{
}

double ParameterLink::readSource (int32 i) const
{
	if (!source || !source->getLastOutputs ())
		return 0.0;
	if (source->lastOutputsAreFloat32 ())
	{
		float* channel = static_cast<float**> (source->getLastOutputs ())[0];
		return channel ? static_cast<double> (channel[i]) : 0.0;
	}
	double* channel = static_cast<double**> (source->getLastOutputs ())[0];
	return channel ? channel[i] : 0.0;
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
