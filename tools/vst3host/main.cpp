// vst3host: loads a VST3 bundle, lists its classes and parameters, and renders audio files through it.
#include "tools/vst3host/HostApp.h"

#include <iostream>

int main (int argc, char** argv)
{
	const std::vector<std::string> args (argv + 1, argv + argc);
	return Veltrane::Host::HostApp (std::cout, std::cerr).run (args);
}
