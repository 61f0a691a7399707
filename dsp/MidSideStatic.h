#pragma once

#include "dsp/DSPFunction.h"
#include "dsp/FirstOrderSection.h"

namespace KOREMU {
namespace DSPLib {

// A stereo block that splits L/R into mid and side, high-passes each with a first-order
// section whose corner ("FcutMid", "FcutSide") is fixed at setup, and recombines them.
class MidSideStatic : public DSPFunction
{
public:
	enum ParamNo : int32
	{
		kFcutMidParam = 0,
		kFcutSideParam = 1,
	};
	static constexpr double kDefaultFcutMid = 20.0;
	static constexpr double kDefaultFcutSide = 150.0;

	explicit MidSideStatic (int32 id);

	int32 setup () override;
	int32 reset () override;
	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	double readCorner (int32 paramNo, double fallback);

	FirstOrderCoefficients midCoefficients;
	FirstOrderCoefficients sideCoefficients;
	FirstOrderState mid;
	FirstOrderState side;
};

} // namespace DSPLib
} // namespace KOREMU
