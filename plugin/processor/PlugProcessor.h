// The effect: the wet branch's effect graph, and the parameters' defaults and mapping onto it
// (from the parameter table).
#pragma once

#include "plugin/processor/PlugParameters.h"
#include "plugin/processor/PlugProcessorBase.h"

namespace KOREMU {
namespace DSPLib {
class Delay;
class HShifterConvCont;
class HighPassLR;
class LorenzLFO;
class Triode;
} // namespace DSPLib
} // namespace KOREMU

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
	void destroyDSP () override;
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
	/** The convolution size of the graph, or of the graph the current rate will build. */
	int32 sizeInForce () const;
	void buildDecorrelation (DSPAlgo& wet);
	/** Sets the block parameter behind a target to a mapped value. */
	void drive (ParamTarget target, double value);

	/** The effect graph's blocks that the parameters drive, borrowed from the graph while it exists. */
	struct EffectBlocks
	{
		KOREMU::DSPLib::LorenzLFO* shiftLfo {nullptr};
		KOREMU::DSPLib::Delay* delay {nullptr};
		KOREMU::DSPLib::HighPassLR* centreFilter {nullptr};
		KOREMU::DSPLib::Triode* drive {nullptr};
		DSPAlgo* decorr {nullptr};
		KOREMU::DSPLib::Mixer* colorMixer {nullptr};
		KOREMU::DSPLib::SmplDelay* decorrDelay {nullptr};
		KOREMU::DSPLib::HShifterConvCont* shifter {nullptr};
		KOREMU::DSPLib::SmplDelay* shiftDelay {nullptr};
	};

	EffectBlocks blocks;
	/** The convolvers' size in the last built graph; 0 before the first. */
	int32 convolutionSize {0};
};

} // namespace Vst
} // namespace Steinberg
