#pragma once

#include "dsp/DSPFunction.h"
#include "dsp/RingDelayLine.h"

#include <memory>
#include <vector>

namespace KOREMU {
namespace DSPLib {

// Delays each channel by "DelayMs" (whole samples, changeable while running, crossfading over
// 0.4 s on a change) and scales it by "Gain"; both are set per channel. While bypassed it goes on
// recording its input.
class Delay : public DSPFunction
{
public:
	enum ParamNo : int32
	{
		kDelayMsParam = 0,
		kGainParam = 1,
	};

	// A negative maxMs gives a ring that only holds delay 0.
	Delay (int32 id, int32 channels, int32 maxMs);
	~Delay () override;

	int32 setup () override;
	int32 teardown () override;
	int32 reset () override;
	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	void renderChannel (int32 channel, const Sample* input, Sample* output, int32 frames);
	template <typename Sample>
	bool renderSettled (int32 channel, const Sample* input, Sample* output, int32 frames, double gain);

	// Frames of a settled delay read from the ring at a time, on the stack.
	static constexpr int32 kChunkFrames = 256;

	int32 maxMs;
	double samplesPerMs {0.0};
	std::unique_ptr<RingDelayLine> ring;
	// Per channel: the delay and gain of the last finite parameter values.
	std::vector<int32> lastDelays;
	std::vector<double> lastGains;
};

} // namespace DSPLib
} // namespace KOREMU
