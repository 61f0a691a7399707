#include "vstgui/plugin-bindings/bundleresources.h"

#include <dlfcn.h>

namespace VSTGUI {
namespace {

// An address inside this module, for dladdr.
void moduleAnchor () {}

bool isAbsolute (const std::string& path)
{
	return !path.empty () && path.front () == '/';
}

std::string folderOf (const std::string& path)
{
	const auto slash = path.find_last_of ('/');
	return slash == std::string::npos ? "." : path.substr (0, slash);
}

} // namespace

std::string bundleResourcePath (const std::string& modulePath, const std::string& fileName)
{
	if (isAbsolute (fileName))
		return fileName;
	// <bundle>/Contents/<architecture>-linux/<module>.so beside <bundle>/Contents/Resources.
	return folderOf (modulePath) + "/../Resources/" + fileName;
}

std::string findBundleResource (const std::string& fileName)
{
	if (isAbsolute (fileName))
		return fileName;
	Dl_info info {};
	if (dladdr (reinterpret_cast<void*> (&moduleAnchor), &info) == 0 || info.dli_fname == nullptr)
		return {};
	return bundleResourcePath (info.dli_fname, fileName);
}

} // namespace VSTGUI
