#pragma once

#include "dsp/DSPFunction.h"

namespace KOREMU {
namespace DSPLib {

// A polarity switch per channel: any non-zero "Inversion" flips the sign of that channel.
// Read once per process call, so a change takes effect at the next call.
class PhaseInverter : public DSPFunction
{
public:
	static constexpr int32 kInversionParamNo = 0;

	PhaseInverter (int32 id, int32 channels);

	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
};

} // namespace DSPLib
} // namespace KOREMU
