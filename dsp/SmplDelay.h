#pragma once

#include "dsp/DSPFunction.h"
#include "dsp/RingDelayLine.h"

#include <memory>
#include <vector>

namespace KOREMU {
namespace DSPLib {

// Delays each channel by a whole number of samples fixed at setup ("DelaySamples"); used to
// line up the latency of parallel paths. While bypassed it goes on recording its input, so it is
// ready the moment it is switched back in.
class SmplDelay : public DSPFunction
{
public:
	enum ParamNo : int32
	{
		kDelaySamplesParam = 0,
	};
	static constexpr int32 kMaxDelaySamples = 65536;

	SmplDelay (int32 id, int32 channels, int32 samples);
	~SmplDelay () override;

	int32 setup () override;
	int32 teardown () override;
	int32 reset () override;
	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	void renderSampleBySample (int32 channel, const Sample* in, Sample* out, int32 frames);

	int32 delay;
	std::unique_ptr<RingDelayLine> ring;
	std::vector<DelayTap*> taps;
};

} // namespace DSPLib
} // namespace KOREMU
