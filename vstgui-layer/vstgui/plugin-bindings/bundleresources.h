// Stands in for VSTGUI's lookup of resources in the plug-in bundle on Linux (Contents/Resources).
#pragma once

#include <string>

namespace VSTGUI {

/** The path of fileName in the Resources folder beside the folder that holds the module file. An
    absolute fileName is its own path. */
std::string bundleResourcePath (const std::string& modulePath, const std::string& fileName);

/** The path of fileName among the resources of the bundle that holds this code (an absolute
    fileName is its own path); an empty text when the module file cannot be found. */
std::string findBundleResource (const std::string& fileName);

} // namespace VSTGUI
