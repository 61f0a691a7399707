#include "plugin/factory/PlugCids.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

std::vector<uint8_t> bytesOf (const FUID& uid)
{
	TUID tuid;
	uid.toTUID (tuid);
	std::vector<uint8_t> bytes (16);
	std::memcpy (bytes.data (), tuid, 16);
	return bytes;
}

} // namespace

// Hosts store these 16 bytes in their projects: each word most significant byte first.
TEST (PlugCids, ClassIdsHaveTheStoredByteOrder)
{
	EXPECT_EQ (bytesOf (kPlugProcessorUID),
	           (std::vector<uint8_t> {0xD3, 0x10, 0xC4, 0x5E, 0xC5, 0xC8, 0x43, 0x84, 0xA5, 0x93, 0x3C,
	                                  0x1E, 0xB3, 0x92, 0x36, 0xFE}));
	EXPECT_EQ (bytesOf (kPlugControllerUID),
	           (std::vector<uint8_t> {0xEF, 0x72, 0x5D, 0x8D, 0x94, 0x61, 0x41, 0x68, 0x93, 0x27, 0x55,
	                                  0x83, 0xE6, 0x21, 0x11, 0x5B}));
}
