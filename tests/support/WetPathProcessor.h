// The processor with a window onto the effect graph it builds in the wet branch, for tests that
// check where a parameter's value lands.
#pragma once

#include "plugin/processor/PlugProcessor.h"

#include "dsp/DSPAlgo.h"

#include <limits>

namespace veltrane_test {

class WetPathProcessor : public Steinberg::Vst::PlugProcessor
{
public:
	/** The base value of a parameter of a block in the wet branch, or of its LFO; NaN while there
	    is no such block. */
	double wetBlockValue (Steinberg::int32 blockId, Steinberg::int32 paramNo, Steinberg::int32 sub = 0) const
	{
		KOREMU::DSPLib::DSPAlgo* wet = getWetPath ();
		if (!wet)
			return std::numeric_limits<double>::quiet_NaN ();
		KOREMU::DSPLib::DSPFunction* block = wet->findFunction (blockId);
		if (!block)
			block = wet->findController (blockId);
		const KOREMU::DSPLib::DSPParameter* parameter = block ? block->findParameter (paramNo, sub) : nullptr;
		return parameter ? parameter->getBaseValue () : std::numeric_limits<double>::quiet_NaN ();
	}
};

} // namespace veltrane_test
