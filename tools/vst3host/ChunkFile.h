// State chunks as the host keeps them, and their files.
#pragma once

#include <string>
#include <vector>

namespace Veltrane {
namespace Host {

using StateChunk = std::vector<char>;

class ChunkFile
{
public:
	/** The whole file; HostError when it cannot be read. */
	static StateChunk read (const std::string& path);
	/** HostError when it cannot be written. */
	static void write (const std::string& path, const StateChunk& chunk);
};

} // namespace Host
} // namespace Veltrane
