#pragma once

#include "dsp/Convolver.h"
#include "dsp/DSPFunction.h"
#include "dsp/RingDelayLine.h"

#include <array>
#include <memory>
#include <vector>

namespace KOREMU {
namespace DSPLib {

using Steinberg::int64;

// Shifts every frequency of each channel by "FrequencyShift" hertz (upper sideband for a
// positive shift). A 511-tap windowed Hilbert filter runs in an inner Convolver; the direct path
// is delayed to match (kLatency samples) and the two are combined with the cosine and
// sine of a running phase, which stays continuous when the shift changes. "FreqMod" adds to the
// phase sample by sample and is meant to be driven by a modulation link.
//
// Inputs and outputs must be distinct buffers: the Hilbert path fills the outputs for the whole
// call before the direct path reads the inputs.
class HShifterConvCont : public DSPFunction
{
public:
	enum ParamNo : int32
	{
		kFrequencyShiftParam = 0,
		kFreqModParam = 1,
	};
	static constexpr int32 kHalfLength = 255;
	static constexpr int32 kHilbertTaps = 2 * kHalfLength + 1;
	// The centre tap's distance plus the inner convolver's block, the taps padded to a power of two.
	static constexpr uint32 kLatency = kHalfLength + (kHilbertTaps + 1);
	static constexpr double kMaxShiftHz = 10000.0;
	static constexpr double kDefaultShiftHz = 100.0;

	using HilbertTable = std::array<double, kHilbertTaps>;

	HShifterConvCont (int32 id, int32 channels);
	~HShifterConvCont () override;

	uint32 getLatency () const override;
	int32 setup () override;
	int32 teardown () override;
	int32 reset () override;
	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

	// The Hilbert filter: 2 / (pi m) under a 100 dB Dolph-Chebyshev window at odd distances m
	// from the centre tap, 0 at even ones. Computed once per process.
	static const HilbertTable& hilbertTable ();

	// Moves a phase counter valid for lastShift to the one for shift that gives the same phase,
	// rounded to the nearest sample. False, leaving counter as it was, when there is no such
	// counter: a divisor of 0 or a result that is not finite or out of the counter's range.
	static bool rescaleCounter (int64& counter, double lastShift, double shift, double angularStep);

private:
	// Frames of the direct path read from the ring at a time, on the stack.
	static constexpr int32 kDirectChunk = 256;

	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	void renderChannel (int32 channel, const Sample* input, Sample* output, int32 frames);
	void runConvolver (float** inputs, float** outputs, int32 frames) { convolver->process32 (inputs, outputs, frames); }
	void runConvolver (double** inputs, double** outputs, int32 frames) { convolver->process64 (inputs, outputs, frames); }
	int32 channelCount () const;
	double shiftOf (int32 channel);

	std::unique_ptr<RingDelayLine> ring;
	std::vector<DelayTap*> taps;
	Steinberg::IPtr<Convolver> convolver;
	std::vector<HilbertTable> responses;
	std::vector<int64> counters;
	std::vector<double> lastShifts;
	double angularStep {0.0};
};

} // namespace DSPLib
} // namespace KOREMU
