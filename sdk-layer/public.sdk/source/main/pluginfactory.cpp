// Stands in for the VST3 SDK's CPluginFactory (public.sdk/source/main/pluginfactory.cpp), missing from the Debian SDK.
#include "public.sdk/source/main/pluginfactory.h"

#include "public.sdk/source/common/guardedcall.h"

#include <cstring>

namespace Steinberg {

IPluginFactory* gPluginFactory = nullptr;

namespace {

// Copies at most size - 1 units and always terminates, whatever the source holds.
template <typename Dst, typename Src>
void copyField (Dst* dst, const Src* src, int32 size)
{
	int32 i = 0;
	for (; i < size - 1 && src[i] != 0; ++i)
		dst[i] = static_cast<Dst> (src[i]);
	dst[i] = 0;
}

PClassInfoW wideOf (const PClassInfo2& info)
{
	PClassInfoW wide;
	std::memcpy (wide.cid, info.cid, sizeof (TUID));
	wide.cardinality = info.cardinality;
	copyField (wide.category, info.category, PClassInfo::kCategorySize);
	copyField (wide.name, info.name, PClassInfo::kNameSize);
	wide.classFlags = info.classFlags;
	copyField (wide.subCategories, info.subCategories, PClassInfoW::kSubCategoriesSize);
	copyField (wide.vendor, info.vendor, PClassInfoW::kVendorSize);
	copyField (wide.version, info.version, PClassInfoW::kVersionSize);
	copyField (wide.sdkVersion, info.sdkVersion, PClassInfoW::kVersionSize);
	return wide;
}

PClassInfo2 narrowOf (const PClassInfoW& info)
{
	PClassInfo2 narrow;
	std::memcpy (narrow.cid, info.cid, sizeof (TUID));
	narrow.cardinality = info.cardinality;
	copyField (narrow.category, info.category, PClassInfo::kCategorySize);
	copyField (narrow.name, info.name, PClassInfo::kNameSize);
	narrow.classFlags = info.classFlags;
	copyField (narrow.subCategories, info.subCategories, PClassInfo2::kSubCategoriesSize);
	copyField (narrow.vendor, info.vendor, PClassInfo2::kVendorSize);
	copyField (narrow.version, info.version, PClassInfo2::kVersionSize);
	copyField (narrow.sdkVersion, info.sdkVersion, PClassInfo2::kVersionSize);
	return narrow;
}

PClassInfo2 terminatedCopy (const PClassInfo2& info)
{
	PClassInfo2 copy = info;
	copyField (copy.category, info.category, PClassInfo::kCategorySize);
	copyField (copy.name, info.name, PClassInfo::kNameSize);
	copyField (copy.subCategories, info.subCategories, PClassInfo2::kSubCategoriesSize);
	copyField (copy.vendor, info.vendor, PClassInfo2::kVendorSize);
	copyField (copy.version, info.version, PClassInfo2::kVersionSize);
	copyField (copy.sdkVersion, info.sdkVersion, PClassInfo2::kVersionSize);
	return copy;
}

} // namespace

std::mutex& pluginFactoryLock ()
{
	static std::mutex lock;
	return lock;
}

CPluginFactory::CPluginFactory (const PFactoryInfo& info) : factoryInfo (info)
{
}

CPluginFactory::~CPluginFactory ()
{
	if (gPluginFactory == this)
		gPluginFactory = nullptr;
}

bool CPluginFactory::registerClass (const PClassInfo* info, CreateFunction createFunc, void* context)
{
	if (!info)
		return false;
	const PClassInfo2 info2 (info->cid, info->cardinality, info->category, info->name, 0, nullptr,
	                         nullptr, nullptr, nullptr);
	return registerClass (&info2, createFunc, context);
}

bool CPluginFactory::registerClass (const PClassInfo2* info, CreateFunction createFunc, void* context)
{
	if (!info || !createFunc)
		return false;
	classes.push_back ({terminatedCopy (*info), wideOf (*info), createFunc, context});
	return true;
}

bool CPluginFactory::registerClass (const PClassInfoW* info, CreateFunction createFunc, void* context)
{
	if (!info || !createFunc)
		return false;
	classes.push_back ({narrowOf (*info), *info, createFunc, context});
	return true;
}

bool CPluginFactory::isRegistered (const FUID& cid) const
{
	return entryOf (cid.toTUID ()) != nullptr;
}

const CPluginFactory::ClassEntry* CPluginFactory::entryAt (int32 index) const
{
	if (index < 0 || index >= static_cast<int32> (classes.size ()))
		return nullptr;
	return &classes[static_cast<size_t> (index)];
}

const CPluginFactory::ClassEntry* CPluginFactory::entryOf (FIDString cid) const
{
	if (!cid)
		return nullptr;
	for (const ClassEntry& entry : classes)
	{
		if (std::memcmp (entry.info2.cid, cid, sizeof (TUID)) == 0)
			return &entry;
	}
	return nullptr;
}

tresult PLUGIN_API CPluginFactory::getFactoryInfo (PFactoryInfo* info)
{
	if (!info)
		return kInvalidArgument;
	*info = factoryInfo;
	return kResultOk;
}

int32 PLUGIN_API CPluginFactory::countClasses ()
{
	return static_cast<int32> (classes.size ());
}

tresult PLUGIN_API CPluginFactory::getClassInfo (int32 index, PClassInfo* info)
{
	const ClassEntry* entry = entryAt (index);
	if (!entry || !info)
		return kInvalidArgument;
	*info = PClassInfo (entry->info2.cid, entry->info2.cardinality, entry->info2.category,
	                    entry->info2.name);
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfo2 (int32 index, PClassInfo2* info)
{
	const ClassEntry* entry = entryAt (index);
	if (!entry || !info)
		return kInvalidArgument;
	*info = entry->info2;
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::getClassInfoUnicode (int32 index, PClassInfoW* info)
{
	const ClassEntry* entry = entryAt (index);
	if (!entry || !info)
		return kInvalidArgument;
	*info = entry->infoW;
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::createInstance (FIDString cid, FIDString iid, void** obj)
{
	if (!obj)
		return kInvalidArgument;
	*obj = nullptr;
	const ClassEntry* entry = entryOf (cid);
	if (!entry || !iid)
		return kNoInterface;
	// A create function that throws has made nothing.
	FUnknown* instance = guardedCall (nullptr, [entry] { return entry->createFunc (entry->context); });
	if (!instance)
		return kNoInterface;
	const tresult result = instance->queryInterface (iid, obj);
	instance->release ();
	if (result != kResultOk)
	{
		*obj = nullptr;
		return kNoInterface;
	}
	return kResultOk;
}

tresult PLUGIN_API CPluginFactory::setHostContext (FUnknown* /*context*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API CPluginFactory::queryInterface (const TUID iid, void** obj)
{
	QUERY_INTERFACE (iid, obj, FUnknown::iid, IPluginFactory)
	QUERY_INTERFACE (iid, obj, IPluginFactory::iid, IPluginFactory)
	QUERY_INTERFACE (iid, obj, IPluginFactory2::iid, IPluginFactory2)
	QUERY_INTERFACE (iid, obj, IPluginFactory3::iid, IPluginFactory3)
	*obj = nullptr;
	return kNoInterface;
}

uint32 PLUGIN_API CPluginFactory::addRef ()
{
	return ++refCount;
}

uint32 PLUGIN_API CPluginFactory::release ()
{
	// Should the lock fail, the reference stays: a factory kept alive, never one freed twice.
	return guardedCall (refCount.load (), [this] {
		std::unique_lock<std::mutex> guard (pluginFactoryLock ());
		const uint32 remaining = --refCount;
		if (remaining == 0)
			delete this;
		return remaining;
	});
}

} // namespace Steinberg
