#pragma once

#include "dsp/DSPFunction.h"

#include <vector>

namespace KOREMU {
namespace DSPLib {

// A matrix mixer: each output is the sum of the inputs its matrix row connects, each weighted
// by its own smoothed "Level" (one per input x output pair). Mode 0 reads levels as linear
// factors and starts them normalised (1 / connected inputs); mode 1 reads them in decibels.
class Mixer : public DSPFunction
{
public:
	enum Mode : int32
	{
		kLinearLevels = 0,
		kDecibelLevels = 1,
	};

	static constexpr int32 kLevelParamNo = 0;

	Mixer (int32 id, int32 numInputs, int32 numOutputs);
	Mixer (int32 id, int32 numInputs, int32 numOutputs, int32 mode);

	// numOutputs rows of numInputs entries, row by row; 0 disconnects. Renormalises the levels,
	// so set levels after the matrix. Null changes nothing.
	void setMatrix (const Steinberg::uint8* entries);
	void normalizeLevels ();
	// Pairs outside the mixer's inputs and outputs are ignored (set) or read as 0 (get).
	void setLevel (int32 paramNo, int32 input, int32 output, double value);
	// One smoothed read: it advances the pair's smoother.
	double getLevel (int32 paramNo, int32 input, int32 output);

	bool isConnected (int32 input, int32 output) const;

	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

private:
	// Frames summed at a time, on the stack.
	static constexpr int32 kChunkFrames = 256;

	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	void addInput (double* sums, const Sample* input, int32 count, DSPParameter& level, size_t pair);
	bool isPair (int32 input, int32 output) const;
	int32 pairIndex (int32 input, int32 output) const { return output * getNumInputs () + input; }
	double levelFactor (double level) const;
	void resolveLevels ();

	int32 mode;
	std::vector<Steinberg::uint8> matrix;
	// Per pair, its "Level" when the pair is connected, else null; resolved with the matrix.
	std::vector<DSPParameter*> connectedLevels;
	// Per pair, whether its level holds steady through the block (levels take no links), and
	// then its factor.
	std::vector<char> steadyLevels;
	std::vector<double> steadyFactors;
};

} // namespace DSPLib
} // namespace KOREMU
