#include "tools/vst3host/PluginModule.h"

#include "tools/vst3host/HostError.h"

#include <dlfcn.h>

#include <cstring>
#include <filesystem>

using namespace Steinberg;

namespace Veltrane {
namespace Host {

namespace {

using ModuleEntryFunction = bool (*) (void*);
using ModuleExitFunction = bool (*) ();
using GetFactoryFunction = IPluginFactory* (PLUGIN_API*) ();

ClassRecord recordOf (const PClassInfo2& info)
{
	ClassRecord record;
	std::memcpy (record.cid, info.cid, sizeof (TUID));
	record.category = info.category;
	record.name = info.name;
	record.subCategories = info.subCategories;
	record.version = info.version;
	record.sdkVersion = info.sdkVersion;
	record.classFlags = info.classFlags;
	record.cardinality = info.cardinality;
	return record;
}

ClassRecord recordOf (const PClassInfo& info)
{
	ClassRecord record;
	std::memcpy (record.cid, info.cid, sizeof (TUID));
	record.category = info.category;
	record.name = info.name;
	record.cardinality = info.cardinality;
	return record;
}

// The factory's texts are fixed-size fields a faulty module may leave unterminated.
PClassInfo terminated (PClassInfo info)
{
	info.category[sizeof (info.category) - 1] = 0;
	info.name[sizeof (info.name) - 1] = 0;
	return info;
}

PClassInfo2 terminated (PClassInfo2 info)
{
	info.category[sizeof (info.category) - 1] = 0;
	info.name[sizeof (info.name) - 1] = 0;
	info.subCategories[sizeof (info.subCategories) - 1] = 0;
	info.vendor[sizeof (info.vendor) - 1] = 0;
	info.version[sizeof (info.version) - 1] = 0;
	info.sdkVersion[sizeof (info.sdkVersion) - 1] = 0;
	return info;
}

} // namespace

std::string PluginModule::libraryPathOf (const std::string& bundlePath)
{
	std::filesystem::path bundle (bundlePath);
	if (!bundle.has_filename ())
		bundle = bundle.parent_path ();
	return (bundle / "Contents" / "x86_64-linux" / bundle.stem ()).string () + ".so";
}

PluginModule::PluginModule (const std::string& bundlePath)
: libraryPath (libraryPathOf (bundlePath))
{
	std::error_code error;
	if (!std::filesystem::is_directory (bundlePath, error))
		throw HostError ("no bundle folder at " + bundlePath);
	if (!std::filesystem::is_regular_file (libraryPath, error))
		throw HostError ("bundle " + bundlePath + " has no library " + libraryPath);
	// Kept mapped after unloading, as hosts do: libraries the module pulls in (pixman, for one) set
	// up process-wide state at load that unmapping would strand, and a later load reuses it.
	library = dlopen (libraryPath.c_str (), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
	if (!library)
		throw HostError ("cannot load " + libraryPath + ": " + dlerror ());
	try
	{
		enterModule ();
		readFactory ();
	}
	catch (...)
	{
		unload ();
		throw;
	}
}

PluginModule::~PluginModule ()
{
	unload ();
}

void* PluginModule::symbol (const char* name) const
{
	void* address = dlsym (library, name);
	if (!address)
		throw HostError (libraryPath + " exports no " + name + " and is no VST3 module");
	return address;
}

void PluginModule::enterModule ()
{
	auto moduleEntry = reinterpret_cast<ModuleEntryFunction> (symbol ("ModuleEntry"));
	symbol ("ModuleExit");
	if (!moduleEntry (library))
		throw HostError ("ModuleEntry of " + libraryPath + " failed");
	entered = true;
}

void PluginModule::readFactory ()
{
	auto getFactory = reinterpret_cast<GetFactoryFunction> (symbol ("GetPluginFactory"));
	factory = owned (getFactory ());
	if (!factory)
		throw HostError ("GetPluginFactory of " + libraryPath + " answered no factory");
	if (factory->getFactoryInfo (&factoryInfo) != kResultOk)
		factoryInfo = PFactoryInfo ();
	factoryInfo.vendor[sizeof (factoryInfo.vendor) - 1] = 0;
	factoryInfo.url[sizeof (factoryInfo.url) - 1] = 0;
	factoryInfo.email[sizeof (factoryInfo.email) - 1] = 0;

	FUnknownPtr<IPluginFactory2> factory2 (factory);
	for (int32 i = 0; i < factory->countClasses (); ++i)
	{
		PClassInfo2 info2;
		PClassInfo info;
		if (factory2 && factory2->getClassInfo2 (i, &info2) == kResultOk)
			classes.push_back (recordOf (terminated (info2)));
		else if (factory->getClassInfo (i, &info) == kResultOk)
			classes.push_back (recordOf (terminated (info)));
	}
}

void PluginModule::unload ()
{
	classes.clear ();
	factory = nullptr;
	if (entered)
	{
		reinterpret_cast<ModuleExitFunction> (dlsym (library, "ModuleExit")) ();
		entered = false;
	}
	if (library)
		dlclose (library);
	library = nullptr;
}

const ClassRecord* PluginModule::findClass (const std::string& category) const
{
	for (const ClassRecord& record : classes)
	{
		if (record.category == category)
			return &record;
	}
	return nullptr;
}

const ClassRecord* PluginModule::findClassById (const TUID cid) const
{
	for (const ClassRecord& record : classes)
	{
		if (std::memcmp (record.cid, cid, sizeof (TUID)) == 0)
			return &record;
	}
	return nullptr;
}

void* PluginModule::createObject (const TUID cid, const TUID iid) const
{
	void* object = nullptr;
	if (!factory || factory->createInstance (cid, iid, &object) != kResultOk)
		return nullptr;
	return object;
}

} // namespace Host
} // namespace Veltrane
