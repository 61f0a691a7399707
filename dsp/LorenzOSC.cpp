#include "dsp/LorenzOSC.h"

namespace KOREMU {
namespace DSPLib {

LorenzOSC::LorenzOSC (int32 id, int32 numOutputs) : Generator (id, numOutputs)
{
	addParameter (kFreqParamNo, u"Freq", 0, kDefaultFreq);
}

int32 LorenzOSC::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float**, float** o, int32 n) { render (o, n); });
}

int32 LorenzOSC::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double**, double** o, int32 n) { render (o, n); });
}

template <typename Sample>
void LorenzOSC::render (Sample** outputs, int32 frames)
{
	attractor.setStep (getParameter (kFreqParamNo) / getSampleRate ());
	const int32 channels = outputs ? getNumOutputs () : 0;
	for (int32 i = 0; i < frames; ++i)
	{
		attractor.advance ();
		const auto sample = static_cast<Sample> (attractor.getX () * LorenzAttractor::kOutputScale);
		for (int32 c = 0; c < channels; ++c)
			outputs[c][i] = sample;
	}
}

} // namespace DSPLib
} // namespace KOREMU
