#pragma once

#include "dsp/DSPFunction.h"

#include <vector>

namespace KOREMU {
namespace DSPLib {

// A gain per channel, set in decibels ("Gain", -96 to 12 dB), smoothed and linkable.
class Gain : public DSPFunction
{
public:
	static constexpr int32 kGainParamNo = 0;
	static constexpr double kMinGainDb = -96.0;
	static constexpr double kMaxGainDb = 12.0;

	Gain (int32 id, int32 channels);

	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	double gainOf (int32 channel);

	// Per channel: its "Gain", resolved once per block, and the last level with its factor,
	// since a settled level repeats at every sample.
	std::vector<DSPParameter*> levels;
	std::vector<double> lastDecibels;
	std::vector<double> lastFactors;
};

} // namespace DSPLib
} // namespace KOREMU
