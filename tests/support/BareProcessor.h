// The component without an effect: the wet branch passes its input, so the output is the mean of
// the input and the input delayed by the latency, which here is one sample per kHz of rate.
#pragma once

#include "plugin/factory/PlugCids.h"
#include "plugin/processor/PlugParamIds.h"
#include "plugin/processor/PlugProcessorBase.h"

namespace veltrane_test {

class BareProcessor : public Steinberg::Vst::PlugProcessorBase
{
public:
	BareProcessor () : PlugProcessorBase (Steinberg::Vst::kPlugControllerUID, Steinberg::Vst::kNumParamSlots) {}

	using PlugProcessorBase::addOutputParamChange;
	using PlugProcessorBase::values;

	int silences {0};

protected:
	Steinberg::uint32 extraLatency () override { return static_cast<Steinberg::uint32> (getSampleRate () / 1000.0); }
	void onSilence () override { ++silences; }
};

} // namespace veltrane_test
