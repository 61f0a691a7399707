// A loaded VST3 bundle: the shared library, its module entry and its factory.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"
#include "pluginterfaces/base/smartpointer.h"

#include <string>
#include <vector>

namespace Veltrane {
namespace Host {

/** One class the factory offers. */
struct ClassRecord
{
	Steinberg::TUID cid {};
	std::string category;
	std::string name;
	std::string subCategories;
	std::string version;
	std::string sdkVersion;
	Steinberg::uint32 classFlags = 0;
	Steinberg::int32 cardinality = 0;
};

/** Loads <bundle>/Contents/x86_64-linux/<bundle name>.so, calls ModuleEntry and GetPluginFactory;
    the destructor releases the factory, calls ModuleExit and unloads the library. Every object
    created through the module must be released before the module is destroyed. */
class PluginModule
{
public:
	/** HostError naming what is wrong: no bundle, no library, not loadable, missing entry points,
	    a refused ModuleEntry or no factory. */
	explicit PluginModule (const std::string& bundlePath);
	~PluginModule ();
	PluginModule (const PluginModule&) = delete;
	PluginModule& operator= (const PluginModule&) = delete;

	/** The library inside a bundle folder; the bundle's name is its folder name without ".vst3". */
	static std::string libraryPathOf (const std::string& bundlePath);

	const Steinberg::PFactoryInfo& getFactoryInfo () const { return factoryInfo; }
	const std::vector<ClassRecord>& getClasses () const { return classes; }
	/** The first class of the category, or null. */
	const ClassRecord* findClass (const std::string& category) const;
	const ClassRecord* findClassById (const Steinberg::TUID cid) const;

	/** A new object of the class, as its interface I; null when the factory refuses. */
	template <typename I>
	Steinberg::IPtr<I> createInstance (const Steinberg::TUID cid) const
	{
		void* object = createObject (cid, I::iid.toTUID ());
		return object ? Steinberg::owned (static_cast<I*> (object)) : nullptr;
	}

private:
	void* createObject (const Steinberg::TUID cid, const Steinberg::TUID iid) const;
	void* symbol (const char* name) const;
	void enterModule ();
	void readFactory ();
	void unload ();

	std::string libraryPath;
	void* library = nullptr;
	bool entered = false;
	Steinberg::IPtr<Steinberg::IPluginFactory> factory;
	Steinberg::PFactoryInfo factoryInfo;
	std::vector<ClassRecord> classes;
};

} // namespace Host
} // namespace Veltrane
