// Stands in for the VST3 SDK's CPluginFactory (public.sdk/source/main/pluginfactory.h), missing from the Debian SDK.
#pragma once

#include "pluginterfaces/base/ipluginbase.h"

#include <atomic>
#include <mutex>
#include <vector>

namespace Steinberg {

/** The module's factory while one exists; set by GetPluginFactory, cleared when the factory dies. */
extern IPluginFactory* gPluginFactory;

/** Guards gPluginFactory: held while GetPluginFactory tests, creates or adds a reference to the
    factory, and while the last release clears the pointer, so a dying factory is never handed out. */
std::mutex& pluginFactoryLock ();

/** A factory of registered classes, each made by its create function. */
class CPluginFactory : public IPluginFactory3
{
public:
	using CreateFunction = FUnknown* (*) (void* context);

	explicit CPluginFactory (const PFactoryInfo& info);
	virtual ~CPluginFactory ();
	CPluginFactory (const CPluginFactory&) = delete;
	CPluginFactory& operator= (const CPluginFactory&) = delete;

	/** False when info or createFunc is missing. */
	bool registerClass (const PClassInfo* info, CreateFunction createFunc, void* context = nullptr);
	bool registerClass (const PClassInfo2* info, CreateFunction createFunc, void* context = nullptr);
	bool registerClass (const PClassInfoW* info, CreateFunction createFunc, void* context = nullptr);
	bool isRegistered (const FUID& cid) const;

	//---from IPluginFactory-------
	tresult PLUGIN_API getFactoryInfo (PFactoryInfo* info) SMTG_OVERRIDE;
	int32 PLUGIN_API countClasses () SMTG_OVERRIDE;
	tresult PLUGIN_API getClassInfo (int32 index, PClassInfo* info) SMTG_OVERRIDE;
	/** kNoInterface and a null object when the class is unknown, its create function answers
	    null, or the object does not answer the interface id. */
	tresult PLUGIN_API createInstance (FIDString cid, FIDString iid, void** obj) SMTG_OVERRIDE;
	//---from IPluginFactory2-------
	tresult PLUGIN_API getClassInfo2 (int32 index, PClassInfo2* info) SMTG_OVERRIDE;
	//---from IPluginFactory3-------
	tresult PLUGIN_API getClassInfoUnicode (int32 index, PClassInfoW* info) SMTG_OVERRIDE;
	tresult PLUGIN_API setHostContext (FUnknown* context) SMTG_OVERRIDE;

	//---from FUnknown-------
	tresult PLUGIN_API queryInterface (const TUID iid, void** obj) SMTG_OVERRIDE;
	uint32 PLUGIN_API addRef () SMTG_OVERRIDE;
	uint32 PLUGIN_API release () SMTG_OVERRIDE;

private:
	struct ClassEntry
	{
		PClassInfo2 info2;
		PClassInfoW infoW;
		CreateFunction createFunc;
		void* context;
	};

	const ClassEntry* entryAt (int32 index) const;
	const ClassEntry* entryOf (FIDString cid) const;

	PFactoryInfo factoryInfo;
	std::vector<ClassEntry> classes;
	std::atomic<uint32> refCount {1};
};

} // namespace Steinberg
