#pragma once

#include "dsp/DSPFunction.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include <string>
#include <type_traits>
#include <vector>

namespace BlockTest {

using KOREMU::DSPLib::DSPFunction;
using Steinberg::int32;

// Channel buffers owned by the test, handed to blocks as Sample**.
template <typename Sample>
class Buffers
{
public:
	Buffers (int32 channels, int32 frames, double fill = 0.0)
	: data (static_cast<size_t> (channels), std::vector<Sample> (static_cast<size_t> (frames), static_cast<Sample> (fill)))
	{
		for (auto& channel : data)
			pointers.push_back (channel.data ());
	}

	Sample** get () { return pointers.data (); }
	Sample& at (int32 channel, int32 frame) { return data[static_cast<size_t> (channel)][static_cast<size_t> (frame)]; }
	std::vector<Sample>& channel (int32 c) { return data[static_cast<size_t> (c)]; }
	void fill (int32 channel, double value)
	{
		for (auto& s : data[static_cast<size_t> (channel)])
			s = static_cast<Sample> (value);
	}

private:
	std::vector<std::vector<Sample>> data;
	std::vector<Sample*> pointers;
};

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

} // namespace BlockTest
