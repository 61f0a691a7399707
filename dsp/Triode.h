#pragma once

#include "dsp/DSPFunction.h"
#include "dsp/FirstOrderSection.h"

#include <vector>

namespace KOREMU {
namespace DSPLib {

// A tube-style drive stage. Each channel runs a fixed 8 kHz low-pass, an asymmetric exponential
// shaper ("Distortion", "Q"), a linear "OutGain", a 40 Hz high-pass that blocks the shaper's DC
// and a 12 kHz low-pass. The three parameters are smoothed and read once per channel and sample.
class Triode : public DSPFunction
{
public:
	enum ParamNo : int32
	{
		kDistortionParam = 0,
		kQParam = 1,
		kOutGainParam = 2,
	};
	static constexpr double kDefaultDistortion = 10.0;
	static constexpr double kDefaultQ = -0.1;
	static constexpr double kDefaultOutGain = 1.0;
	static constexpr double kLowPassInHz = 8000.0;
	static constexpr double kHighPassHz = 40.0;
	static constexpr double kLowPassOutHz = 12000.0;

	Triode (int32 id, int32 channels);

	// The shaper: (u - q) / (1 - e^(-d (u - q))) + q / (1 - e^(d q)), which maps 0 to 0, is
	// linear with slope 1 for large u and saturates at q / (1 - e^(d q)) for very negative u.
	static double shape (double u, double distortion, double q);

	int32 setup () override;
	int32 teardown () override;
	int32 reset () override;
	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	struct ChannelState
	{
		FirstOrderState lowPassIn;
		FirstOrderState highPass;
		FirstOrderState lowPassOut;
	};

	struct Settings
	{
		double distortion {kDefaultDistortion};
		double q {kDefaultQ};
		double outGain {kDefaultOutGain};
	};

	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	void readSettings ();
	double plainValue (int32 paramNo, double fallback) const;

	FirstOrderCoefficients lowPassIn;
	FirstOrderCoefficients highPass;
	FirstOrderCoefficients lowPassOut;
	std::vector<ChannelState> states;
	// The last finite parameter values read.
	Settings settings;
};

} // namespace DSPLib
} // namespace KOREMU
