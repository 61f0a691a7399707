#include "dsp/ParameterLink.h"

#include "dsp/DSPFunction.h"

#include <cmath>

namespace KOREMU {
namespace DSPLib {

ParameterLink::ParameterLink (DSPFunction* source, int32 mode, int32 period)
: source (source)
, period (period)
, mode (mode)
{
}

ParameterLink::Channel ParameterLink::sourceChannel () const
{
	Channel channel;
	if (!source || !source->getLastOutputs () || source->getLastFrames () <= 0)
		return channel;
	channel.frames = source->getLastFrames ();
	if (source->lastOutputsAreFloat32 ())
		channel.samples32 = static_cast<float**> (source->getLastOutputs ())[0];
	else
		channel.samples64 = static_cast<double**> (source->getLastOutputs ())[0];
	return channel;
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
