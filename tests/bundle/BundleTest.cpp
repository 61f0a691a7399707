#include "tests/support/BundlePath.h"

#include "tools/vst3host/PluginModule.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <set>
#include <sstream>

using namespace veltrane_test;
using namespace Veltrane::Host;

namespace {

std::set<std::string> definedDynamicSymbols (const std::string& library)
{
	const std::string command = std::string (VELTRANE_NM) + " -D --defined-only --format=posix '" + library + "'";
	std::unique_ptr<FILE, int (*) (FILE*)> pipe (popen (command.c_str (), "r"), pclose);
	std::set<std::string> names;
	if (!pipe)
		return names;
	char line[1024];
	while (std::fgets (line, sizeof line, pipe.get ()))
	{
		std::istringstream fields (line);
		std::string name;
		fields >> name;
		names.insert (name);
	}
	return names;
}

} // namespace

TEST (Bundle, HasTheLayoutLinuxHostsLoad)
{
	const std::filesystem::path bundle (veltraneBundle ());
	EXPECT_EQ (bundle.filename (), "Veltrane.vst3");
	EXPECT_TRUE (std::filesystem::is_regular_file (bundle / "Contents" / "x86_64-linux" / "Veltrane.so"));
	EXPECT_TRUE (std::filesystem::is_directory (bundle / "Contents" / "Resources"));
	EXPECT_EQ (PluginModule::libraryPathOf (bundle.string ()), (bundle / "Contents/x86_64-linux/Veltrane.so").string ());
}

// Anything else exported could bind to a host's or another plug-in's symbols of the same name.
TEST (Bundle, ExportsOnlyTheModuleEntryPoints)
{
	const auto names = definedDynamicSymbols (PluginModule::libraryPathOf (veltraneBundle ()));
	EXPECT_EQ (names, (std::set<std::string> {"GetPluginFactory", "ModuleEntry", "ModuleExit"}));
}

TEST (Bundle, InstallsIntoAGivenFolderAndLoadsFromThere)
{
	const ScratchFolder scratch;
	const std::string command = std::string ("'") + VELTRANE_CMAKE + "' --install '" + VELTRANE_BINARY_DIR +
	                            "' --component vst3bundle --prefix '" + scratch.file ("vst3") + "' >/dev/null";
	ASSERT_EQ (std::system (command.c_str ()), 0);
	const PluginModule installed (scratch.file ("vst3/Veltrane.vst3"));
	EXPECT_NE (installed.findClass (kVstComponentControllerClass), nullptr);
	EXPECT_TRUE (std::filesystem::is_directory (scratch.file ("vst3/Veltrane.vst3/Contents/Resources")));
}
