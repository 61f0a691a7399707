// The two sample widths a block processes: typed tests over both, and the 32/64-bit dispatch.
#pragma once

#include "dsp/DSPFunction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <type_traits>

namespace veltrane_test {

using KOREMU::DSPLib::DSPFunction;
using Steinberg::int32;

template <typename Sample>
constexpr int32 sampleSizeOf ()
{
	return std::is_same_v<Sample, float> ? 0 : 1;
}

template <typename Sample>
int32 process (DSPFunction& block, Sample** inputs, Sample** outputs, int32 frames)
{
	if constexpr (std::is_same_v<Sample, float>)
		return block.process32 (inputs, outputs, frames);
	else
		return block.process64 (inputs, outputs, frames);
}

template <typename Sample>
void prepare (DSPFunction& block, double sampleRate = 44100.0, int32 blockSize = 512)
{
	block.setSampleRate (sampleRate);
	block.setBlockSize (blockSize);
	block.setSampleSize (sampleSizeOf<Sample> ());
	ASSERT_EQ (block.setup (), 0);
}

// The tolerance for a value computed in float64 and stored at the sample width.
template <typename Sample>
double storedTolerance (double expected)
{
	const double relative = std::is_same_v<Sample, float> ? 1e-7 : 1e-15;
	return relative * std::max (1.0, std::fabs (expected));
}

using SampleTypes = ::testing::Types<float, double>;

struct SampleTypeNames
{
	template <typename Sample>
	static std::string GetName (int)
	{
		return std::is_same_v<Sample, float> ? "Float32" : "Float64";
	}
};

} // namespace veltrane_test
