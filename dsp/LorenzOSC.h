#pragma once

#include "dsp/Generator.h"
#include "dsp/LorenzAttractor.h"

namespace KOREMU {
namespace DSPLib {

// A chaotic oscillator: the scaled x coordinate of the Lorenz attractor on every output.
// "Freq" sets the integration step (Freq / sample rate), read once per process call.
class LorenzOSC : public Generator
{
public:
	static constexpr int32 kFreqParamNo = 0;
	static constexpr double kDefaultFreq = 250.0;

	LorenzOSC (int32 id, int32 numOutputs);

	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	template <typename Sample>
	void render (Sample** outputs, int32 frames);

	LorenzAttractor attractor;
};

} // namespace DSPLib
} // namespace KOREMU
