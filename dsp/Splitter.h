#pragma once

#include "dsp/DSPFunction.h"

namespace KOREMU {
namespace DSPLib {

// A fan-out: output o carries input (o mod numInputs); inputs beyond the outputs are dropped.
class Splitter : public DSPFunction
{
public:
	Splitter (int32 id, int32 numInputs, int32 numOutputs);

	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
};

} // namespace DSPLib
} // namespace KOREMU
