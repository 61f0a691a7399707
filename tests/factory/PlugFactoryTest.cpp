#include "plugin/factory/GuardedCreate.h"
#include "plugin/factory/PlugCids.h"
#include "plugin/factory/PlugClassInfos.h"
#include "plugin/PlugVersion.h"

#include "public.sdk/source/main/pluginfactory.h"
#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"
#include "pluginterfaces/vst/ivsteditcontroller.h"

#include <gtest/gtest.h>

#include <cstring>
#include <new>
#include <stdexcept>
#include <string>
#include <thread>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

uint32 refCountOf (IPluginFactory* factory)
{
	factory->addRef ();
	return factory->release ();
}

bool sameCid (const TUID a, const FUID& b)
{
	return std::memcmp (a, b.toTUID (), sizeof (TUID)) == 0;
}

const PClassInfo2* findClass (IPluginFactory2& factory, const FUID& cid, PClassInfo2& info)
{
	for (int32 i = 0; i < factory.countClasses (); ++i)
	{
		if (factory.getClassInfo2 (i, &info) == kResultOk && sameCid (info.cid, cid))
			return &info;
	}
	return nullptr;
}

FUnknown* throwsBadAlloc (void*)
{
	throw std::bad_alloc ();
}

FUnknown* throwsAnything (void*)
{
	throw 42;
}

} // namespace

TEST (PlugClassInfos, ProcessorRecord)
{
	const PClassInfo2& info = plugProcessorClassInfo ();
	EXPECT_TRUE (sameCid (info.cid, kPlugProcessorUID));
	EXPECT_EQ (info.cardinality, 2147483647);
	EXPECT_STREQ (info.category, "Audio Module Class");
	EXPECT_STREQ (info.name, "ks Veltrane");
	EXPECT_EQ (info.classFlags, 1u);
	EXPECT_STREQ (info.subCategories, "Fx|Spatial");
	EXPECT_STREQ (info.vendor, "");
	EXPECT_STREQ (info.version, kPlugClassVersion);
	EXPECT_STREQ (info.sdkVersion, kPlugSdkVersion);
}

TEST (PlugClassInfos, ControllerRecord)
{
	const PClassInfo2& info = plugControllerClassInfo ();
	EXPECT_TRUE (sameCid (info.cid, kPlugControllerUID));
	EXPECT_EQ (info.cardinality, 2147483647);
	EXPECT_STREQ (info.category, "Component Controller Class");
	EXPECT_STREQ (info.name, "ks Veltrane Controller");
	EXPECT_EQ (info.classFlags, 0u);
	EXPECT_STREQ (info.subCategories, "");
	EXPECT_STREQ (info.version, kPlugClassVersion);
	EXPECT_STREQ (info.sdkVersion, kPlugSdkVersion);
}

TEST (PlugClassInfos, FactoryRecordFitsItsFields)
{
	const PFactoryInfo& info = plugFactoryInfo ();
	EXPECT_EQ (info.flags, 16);
	EXPECT_GT (std::strlen (info.vendor), 0u);
	EXPECT_LT (std::strlen (info.vendor), 64u);
	EXPECT_EQ (std::string (info.email).rfind ("mailto:", 0), 0u);
}

TEST (GetPluginFactory, LaterCallsShareTheFactoryUntilTheLastReleaseThenBuildANewOne)
{
	ASSERT_EQ (gPluginFactory, nullptr);
	IPluginFactory* first = GetPluginFactory ();
	ASSERT_NE (first, nullptr);
	EXPECT_EQ (gPluginFactory, first);
	EXPECT_EQ (refCountOf (first), 1u);

	IPluginFactory* second = GetPluginFactory ();
	EXPECT_EQ (second, first);
	EXPECT_EQ (refCountOf (first), 2u);

	second->release ();
	EXPECT_EQ (gPluginFactory, first);
	first->release ();
	EXPECT_EQ (gPluginFactory, nullptr);

	IPluginFactory* third = GetPluginFactory ();
	ASSERT_NE (third, nullptr);
	PClassInfo2 info;
	auto* factory2 = static_cast<IPluginFactory2*> (third);
	EXPECT_NE (findClass (*factory2, kPlugControllerUID, info), nullptr);
	third->release ();
	EXPECT_EQ (gPluginFactory, nullptr);
}

TEST (GetPluginFactory, ThreadsCallingAtOnceGetOneFactory)
{
	constexpr int kThreads = 8;
	std::vector<IPluginFactory*> got (kThreads, nullptr);
	std::vector<std::thread> threads;
	for (int i = 0; i < kThreads; ++i)
		threads.emplace_back ([&got, i] { got[static_cast<size_t> (i)] = GetPluginFactory (); });
	for (auto& thread : threads)
		thread.join ();

	for (IPluginFactory* factory : got)
		EXPECT_EQ (factory, got[0]);
	EXPECT_EQ (refCountOf (got[0]), static_cast<uint32> (kThreads));
	for (IPluginFactory* factory : got)
		factory->release ();
	EXPECT_EQ (gPluginFactory, nullptr);
}

TEST (GetPluginFactory, ReleasingWhileOthersAskNeverHandsOutADyingFactory)
{
	std::vector<std::thread> threads;
	for (int t = 0; t < 4; ++t)
		threads.emplace_back ([] {
			for (int i = 0; i < 500; ++i)
			{
				IPluginFactory* factory = GetPluginFactory ();
				ASSERT_NE (factory, nullptr);
				EXPECT_GT (factory->countClasses (), 0);
				factory->release ();
			}
		});
	for (auto& thread : threads)
		thread.join ();
	EXPECT_EQ (gPluginFactory, nullptr);
}

TEST (GetPluginFactory, AnswersEveryFactoryInterface)
{
	IPluginFactory* factory = GetPluginFactory ();
	for (const FUID* iid : {&IPluginFactory::iid, &IPluginFactory2::iid, &IPluginFactory3::iid})
	{
		void* obj = nullptr;
		ASSERT_EQ (factory->queryInterface (iid->toTUID (), &obj), kResultOk);
		static_cast<FUnknown*> (obj)->release ();
	}
	PFactoryInfo info;
	ASSERT_EQ (factory->getFactoryInfo (&info), kResultOk);
	EXPECT_STREQ (info.vendor, plugFactoryInfo ().vendor);
	factory->release ();
}

TEST (GetPluginFactory, CreatesTheControllerByItsClassId)
{
	IPluginFactory* factory = GetPluginFactory ();
	TUID cid;
	kPlugControllerUID.toTUID (cid);
	IEditController* controller = nullptr;
	ASSERT_EQ (factory->createInstance (cid, IEditController::iid, reinterpret_cast<void**> (&controller)),
	           kResultOk);
	ASSERT_NE (controller, nullptr);
	EXPECT_EQ (controller->release (), 0u);

	TUID unknown = {};
	void* obj = &cid;
	EXPECT_EQ (factory->createInstance (unknown, IEditController::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	factory->release ();
}

TEST (GetPluginFactory, ListsTheProcessorFirstAndCreatesIt)
{
	IPluginFactory* factory = GetPluginFactory ();
	auto* factory2 = static_cast<IPluginFactory2*> (factory);
	ASSERT_EQ (factory->countClasses (), 2);
	PClassInfo2 info;
	ASSERT_EQ (factory2->getClassInfo2 (0, &info), kResultOk);
	EXPECT_TRUE (sameCid (info.cid, kPlugProcessorUID));
	EXPECT_STREQ (info.category, "Audio Module Class");
	ASSERT_EQ (factory2->getClassInfo2 (1, &info), kResultOk);
	EXPECT_TRUE (sameCid (info.cid, kPlugControllerUID));

	TUID cid;
	kPlugProcessorUID.toTUID (cid);
	IComponent* component = nullptr;
	ASSERT_EQ (factory->createInstance (cid, IComponent::iid, reinterpret_cast<void**> (&component)), kResultOk);
	ASSERT_NE (component, nullptr);
	TUID controllerCid;
	ASSERT_EQ (component->getControllerClassId (controllerCid), kResultOk);
	EXPECT_TRUE (sameCid (controllerCid, kPlugControllerUID));
	FUnknownPtr<IAudioProcessor> audio (component);
	EXPECT_TRUE (audio);
	audio = nullptr;
	EXPECT_EQ (component->release (), 0u);
	factory->release ();
}

TEST (GuardedCreate, AnswersNullForAnyException)
{
	EXPECT_EQ ((guardedCreate<&throwsBadAlloc> (nullptr)), nullptr);
	EXPECT_EQ ((guardedCreate<&throwsAnything> (nullptr)), nullptr);
}
