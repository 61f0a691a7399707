#include "dsp/Gain.h"

#include "dsp/DecibelGain.h"

namespace KOREMU {
namespace DSPLib {

Gain::Gain (int32 id, int32 channels) : DSPFunction (id, channels, channels)
{
	const int32 flags = DSPParameter::kLinkable | DSPParameter::kPerInput | DSPParameter::kGrouped
	                    | DSPParameter::kSmoothed;
	addParameter (kGainParamNo, u"Gain", flags, 0.0, kMinGainDb, kMaxGainDb);
}

int32 Gain::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 Gain::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

// Links first, then one smoothed read per channel and sample, so each channel glides at the
// same speed whatever the channel count.
template <typename Sample>
void Gain::render (Sample** inputs, Sample** outputs, int32 frames)
{
	const int32 channels = inputs && outputs ? getNumInputs () : 0;
	for (int32 i = 0; i < frames; ++i)
	{
		if (hasLinks ())
			applyLinks (i);
		for (int32 c = 0; c < channels; ++c)
		{
			const double g = decibelsToGain (getParameter (kGainParamNo, c));
			outputs[c][i] = static_cast<Sample> (g * static_cast<double> (inputs[c][i]));
		}
	}
}

} // namespace DSPLib
} // namespace KOREMU
