// The built plug-in bundle, as its folder's CMakeLists.txt names it in VELTRANE_BUNDLE_PATH, and a
// scratch folder for what a test writes.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

namespace veltrane_test {

inline std::string veltraneBundle ()
{
	return VELTRANE_BUNDLE_PATH;
}

/** A fresh folder, removed with everything in it when the object dies. */
class ScratchFolder
{
public:
	ScratchFolder ()
	{
		std::string pattern = (std::filesystem::temp_directory_path () / "vst3host-test-XXXXXX").string ();
		path = mkdtemp (pattern.data ()) ? pattern : std::string ();
	}
	~ScratchFolder ()
	{
		std::error_code ignored;
		if (!path.empty ())
			std::filesystem::remove_all (path, ignored);
	}
	ScratchFolder (const ScratchFolder&) = delete;
	ScratchFolder& operator= (const ScratchFolder&) = delete;

	std::string file (const std::string& name) const { return (std::filesystem::path (path) / name).string (); }

private:
	std::string path;
};

} // namespace veltrane_test
