// The effect: the wet branch's effect graph, and the parameters' defaults and mapping onto it
// (from the parameter table).
#pragma once

#include "plugin/processor/PlugParameters.h"
#include "plugin/processor/PlugProcessorBase.h"

namespace Steinberg {
namespace Vst {

class PlugProcessor : public PlugProcessorBase
{
public:
	PlugProcessor ();

	static FUnknown* createInstance (void* context);

	/** The sample-rate band whose impulse responses serve a rate, 0 to 5. */
	static int32 bandOf (double sampleRate);
	/** The convolution size of that band: 1024, 2048 or 4096. */
	static int32 convolutionSizeOf (double sampleRate);

protected:
	void buildDSP () override;
	void paramChanged (ParamID tag, IParameterChanges* outputChanges) override;
	/** The tags of the parameter table; slots 9 to 13 belong to no parameter. */
	bool isPublished (ParamID tag) const override;
	uint32 extraLatency () override;
	uint32 plannedLatency () override;
	uint32 extraTail () override;
	bool hasOutputGain () override { return true; }
	bool hasMidSide () override { return true; }

private:
	/** Where the responses' main body begins, in samples. */
	static int32 mainBodyOffset (int32 convolutionSize);
	/** The shifter's latency, from the built block or, without a graph, a block like it. */
	uint32 shifterLatency () const;
	/** The convolution size of the graph, or of the graph the current rate will build. */
	int32 sizeInForce () const;
	void buildDecorrelation (DSPAlgo& wet);
	void setMixerLevel (int32 blockId, int32 input, int32 output, double value);
	/** Sets the block parameter behind a target to a mapped value. */
	void drive (ParamTarget target, double value);

	/** The convolvers' size in the last built graph; 0 before the first. */
	int32 convolutionSize {0};
};

} // namespace Vst
} // namespace Steinberg
