#pragma once

#include "dsp/Controller.h"
#include "dsp/LinearGlide.h"
#include "dsp/LorenzAttractor.h"

namespace KOREMU {
namespace DSPLib {

// A chaotic modulation source: the Lorenz attractor scaled by "Depth" x "Scale" on its one
// output. At the default "Scale" it follows x, at any other "Scale" it follows y.
// "Rate" sets the integration step (Rate / sample rate); all three are read once per call.
// "Rate" and "Depth" glide to a new value over kGlideMs: the output drives a phase, where a jump
// would be heard as a click.
class LorenzLFO : public Controller
{
public:
	static constexpr int32 kRateParamNo = 0;
	static constexpr int32 kDepthParamNo = 1;
	static constexpr int32 kScaleParamNo = 2;
	static constexpr double kDefaultRate = 2.0;
	static constexpr double kDefaultDepth = 1.0;
	static constexpr double kMaxRate = 10.0;
	static constexpr double kMaxDepth = 10.0;
	static constexpr double kGlideMs = 30.0;

	explicit LorenzLFO (int32 id);

	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	template <typename Sample>
	void render (Sample** outputs, int32 frames);

	LorenzAttractor attractor;
	LinearGlide rate;
	LinearGlide depth;
};

} // namespace DSPLib
} // namespace KOREMU
