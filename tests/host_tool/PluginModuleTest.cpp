#include "FixtureBundle.h"

#include "tests/support/BundlePath.h"

#include "tools/vst3host/HostError.h"
#include "tools/vst3host/PluginModule.h"

#include "plugin/factory/PlugCids.h"
#include "plugin/PlugVersion.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>
#include <gmock/gmock.h>

#include <cstring>
#include <fstream>
#include <functional>

using namespace veltrane_test;
using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

TEST (PluginModule, ListsTheControllerClassOfTheBuiltBundle)
{
	const PluginModule module (veltraneBundle ());
	const ClassRecord* controller = module.findClass (kVstComponentControllerClass);
	ASSERT_NE (controller, nullptr);
	EXPECT_EQ (controller->name, "ks Veltrane Controller");
	EXPECT_EQ (controller->version, kPlugClassVersion);
	EXPECT_EQ (controller->sdkVersion, kPlugSdkVersion);
	EXPECT_EQ (std::memcmp (controller->cid, kPlugControllerUID.toTUID (), sizeof (TUID)), 0);
	EXPECT_EQ (module.findClassById (kPlugControllerUID.toTUID ()), controller);
	EXPECT_STRNE (module.getFactoryInfo ().vendor, "");
}

TEST (PluginModule, ListsTheProcessorFirstWhenTheBundleHasOne)
{
	const PluginModule module (veltraneBundle ());
	const ClassRecord* processor = module.findClass (kVstAudioEffectClass);
	if (!processor)
		GTEST_SKIP () << "the bundle's factory has no \"Audio Module Class\" class yet";
	EXPECT_EQ (processor, &module.getClasses ().front ());
	EXPECT_EQ (processor->name, "ks Veltrane");
	EXPECT_EQ (processor->subCategories, "Fx|Spatial");
	EXPECT_EQ (processor->classFlags, 1u);
	EXPECT_EQ (std::memcmp (processor->cid, kPlugProcessorUID.toTUID (), sizeof (TUID)), 0);
}

TEST (PluginModule, CreatesByClassIdAndRefusesUnknownIds)
{
	const PluginModule module (veltraneBundle ());
	EXPECT_TRUE (module.createInstance<IEditController> (kPlugControllerUID.toTUID ()));
	const TUID unknown = {};
	EXPECT_FALSE (module.createInstance<IEditController> (unknown));
	EXPECT_FALSE (module.createInstance<IAudioProcessor> (kPlugControllerUID.toTUID ()));
}

TEST (PluginModule, LoadsAgainAfterUnloading)
{
	for (int round = 0; round < 2; ++round)
	{
		const PluginModule module (veltraneBundle ());
		EXPECT_NE (module.findClass (kVstComponentControllerClass), nullptr);
	}
}

namespace {

struct LibraryPathCase
{
	const char* label;
	const char* bundle;
	const char* library;
};

void PrintTo (const LibraryPathCase& c, std::ostream* os)
{
	*os << c.bundle;
}

class LibraryPath : public testing::TestWithParam<LibraryPathCase>
{
};

} // namespace

TEST_P (LibraryPath, IsNamedAfterTheBundleFolder)
{
	EXPECT_EQ (PluginModule::libraryPathOf (GetParam ().bundle), GetParam ().library);
}

INSTANTIATE_TEST_SUITE_P (
    PluginModule, LibraryPath,
    testing::Values (
        LibraryPathCase {"Plain", "/a/Veltrane.vst3", "/a/Veltrane.vst3/Contents/x86_64-linux/Veltrane.so"},
        LibraryPathCase {"TrailingSlash", "/a/Veltrane.vst3/", "/a/Veltrane.vst3/Contents/x86_64-linux/Veltrane.so"},
        LibraryPathCase {"RelativeWithBlank", "My Fx.vst3", "My Fx.vst3/Contents/x86_64-linux/My Fx.so"}),
    [] (const testing::TestParamInfo<LibraryPathCase>& info) { return info.param.label; });

namespace {

struct BadBundleCase
{
	const char* label;
	std::function<std::string (const ScratchFolder&)> makeBundle;
	const char* message;
};

void PrintTo (const BadBundleCase& c, std::ostream* os)
{
	*os << c.label;
}

class BadBundle : public testing::TestWithParam<BadBundleCase>
{
};

std::string emptyBundle (const ScratchFolder& scratch)
{
	const std::string bundle = scratch.file ("Empty.vst3");
	std::filesystem::create_directories (bundle + "/Contents/x86_64-linux");
	return bundle;
}

std::string junkBundle (const ScratchFolder& scratch)
{
	const std::string bundle = scratch.file ("Junk.vst3");
	std::filesystem::create_directories (bundle + "/Contents/x86_64-linux");
	std::ofstream (bundle + "/Contents/x86_64-linux/Junk.so") << "not a shared library";
	return bundle;
}

} // namespace

TEST_P (BadBundle, IsRefusedWithAMessageSayingWhy)
{
	const ScratchFolder scratch;
	const std::string bundle = GetParam ().makeBundle (scratch);
	try
	{
		PluginModule module (bundle);
		FAIL () << "loaded " << bundle;
	}
	catch (const HostError& error)
	{
		EXPECT_THAT (error.what (), testing::HasSubstr (GetParam ().message));
	}
}

INSTANTIATE_TEST_SUITE_P (
    PluginModule, BadBundle,
    testing::Values (
        BadBundleCase {"Missing", [] (const ScratchFolder& s) { return s.file ("Missing.vst3"); }, "no bundle folder"},
        BadBundleCase {"NoLibrary", emptyBundle, "has no library"},
        BadBundleCase {"NotALibrary", junkBundle, "cannot load"},
        BadBundleCase {"NoFactory", [] (const ScratchFolder&) { return fixtureBundle ("NoFactory"); },
                       "exports no GetPluginFactory"},
        BadBundleCase {"NullFactory", [] (const ScratchFolder&) { return fixtureBundle ("NullFactory"); },
                       "answered no factory"},
        BadBundleCase {"RefusedEntry", [] (const ScratchFolder&) { return fixtureBundle ("RefusedEntry"); },
                       "ModuleEntry of"}),
    [] (const testing::TestParamInfo<BadBundleCase>& info) { return info.param.label; });
