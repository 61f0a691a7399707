// Reads and writes WAV files through libsndfile.
#pragma once

#include "tools/vst3host/AudioBuffer.h"

#include <string>

namespace Veltrane {
namespace Host {

class WavFile
{
public:
	/** Any format libsndfile reads; HostError when the file cannot be opened or read. */
	static AudioBuffer read (const std::string& path);
	/** 32-bit float WAV; HostError on an empty channel list, unequal channels or a failed write. */
	static void write (const std::string& path, const AudioBuffer& audio);
};

} // namespace Host
} // namespace Veltrane
