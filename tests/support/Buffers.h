// Channel buffers owned by a test, handed to blocks as Sample**.
#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <vector>

namespace veltrane_test {

using Steinberg::int32;

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

} // namespace veltrane_test
