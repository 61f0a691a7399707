// The reads of a smoothed parameter stepped from one value to another after setup: what a block
// that reads its parameter once a sample must follow, sample by sample.
#pragma once

#include "dsp/DSPParameter.h"

#include <vector>

namespace veltrane_test {

inline std::vector<double> glideReads (double sampleRate, double from, double to, size_t reads)
{
	using KOREMU::DSPLib::DSPParameter;
	Steinberg::IPtr<DSPParameter> p = Steinberg::owned (new DSPParameter (0, u"Glide", DSPParameter::kSmoothed, from));
	p->setSampleRate (sampleRate);
	p->prepareSmoothing ();
	p->setValue (true, false, to);
	std::vector<double> values (reads);
	for (double& v : values)
		v = p->getValue ();
	return values;
}

} // namespace veltrane_test
