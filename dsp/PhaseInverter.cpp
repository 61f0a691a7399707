#include "dsp/PhaseInverter.h"

namespace KOREMU {
namespace DSPLib {

PhaseInverter::PhaseInverter (int32 id, int32 channels) : DSPFunction (id, channels, channels)
{
	addParameter (kInversionParamNo, u"Inversion", DSPParameter::kPerInput, 0.0, 0.0, 1.0);
}

int32 PhaseInverter::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 PhaseInverter::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

template <typename Sample>
void PhaseInverter::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs)
		return;
	for (int32 c = 0; c < getNumInputs (); ++c)
	{
		const bool inverted = getParameter (kInversionParamNo, c) != 0.0;
		// Negation flips the sign bit, so silence comes out as -0.
		for (int32 i = 0; i < frames; ++i)
			outputs[c][i] = static_cast<Sample> (inverted ? -static_cast<double> (inputs[c][i])
			                                              : static_cast<double> (inputs[c][i]));
	}
}

} // namespace DSPLib
} // namespace KOREMU
