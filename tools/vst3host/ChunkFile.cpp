#include "tools/vst3host/ChunkFile.h"

#include "tools/vst3host/HostError.h"

#include <fstream>
#include <iterator>

namespace Veltrane {
namespace Host {

StateChunk ChunkFile::read (const std::string& path)
{
	std::ifstream file (path, std::ios::binary);
	if (!file)
		throw HostError ("cannot read state file " + path);
	StateChunk chunk ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char> ());
	if (file.bad ())
		throw HostError ("cannot read state file " + path);
	return chunk;
}

void ChunkFile::write (const std::string& path, const StateChunk& chunk)
{
	std::ofstream file (path, std::ios::binary);
	file.write (chunk.data (), static_cast<std::streamsize> (chunk.size ()));
	if (!file.flush ())
		throw HostError ("cannot write state file " + path);
}

} // namespace Host
} // namespace Veltrane
