// Paths of the built bundles and a scratch folder for the host tests.
#pragma once

#include <cstdlib>
#include <filesystem>
#include <string>

inline std::string veltraneBundle ()
{
	return VELTRANE_BUNDLE_PATH;
}

inline std::string fixtureBundle (const std::string& name)
{
	return std::string (VELTRANE_FIXTURE_DIR) + "/" + name + ".vst3";
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
