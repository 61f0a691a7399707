// The command-line host: runs one command and reports to its two streams.
#pragma once

#include "tools/vst3host/HostOptions.h"

#include <ostream>
#include <string>
#include <vector>

namespace Veltrane {
namespace Host {

class HostApp
{
public:
	HostApp (std::ostream& out, std::ostream& err);

	/** The arguments after the program name. Exit status: 0 done, 1 failed, 2 bad command line. */
	int run (const std::vector<std::string>& args);

private:
	void list (const HostOptions& options);
	void render (const HostOptions& options);
	void demo (const HostOptions& options);

	std::ostream& out;
	std::ostream& err;
};

} // namespace Host
} // namespace Veltrane
