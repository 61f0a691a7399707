// The command line of the host: a command, its files and its options.
#pragma once

#include "tools/vst3host/Renderer.h"

#include <optional>
#include <string>
#include <vector>

namespace Veltrane {
namespace Host {

struct HostOptions
{
	enum class Command
	{
		Help,
		List,
		Render,
		Demo,
	};

	Command command = Command::Help;
	std::string bundlePath;
	std::string inputPath;
	std::string outputPath;
	/** The settings' sample rate applies only when sampleRateGiven; otherwise the input's. */
	RenderSettings render;
	bool sampleRateGiven = false;
	std::string loadStatePath;
	std::string saveStatePath;
	double demoSeconds = 4;

	/** The arguments after the program name; HostError on anything it cannot take. */
	static HostOptions parse (const std::vector<std::string>& args);
	static const char* usage ();
};

} // namespace Host
} // namespace Veltrane
