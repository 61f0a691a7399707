// Planar audio, as read from and written to files.
#pragma once

#include <cstddef>
#include <vector>

namespace Veltrane {
namespace Host {

struct AudioBuffer
{
	double sampleRate = 0;
	std::vector<std::vector<double>> channels;

	size_t numChannels () const { return channels.size (); }
	size_t numFrames () const { return channels.empty () ? 0 : channels.front ().size (); }
};

} // namespace Host
} // namespace Veltrane
