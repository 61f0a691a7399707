// Paths of the fixture modules built beside the host tests.
#pragma once

#include <string>

inline std::string fixtureBundle (const std::string& name)
{
	return std::string (VELTRANE_FIXTURE_DIR) + "/" + name + ".vst3";
}
