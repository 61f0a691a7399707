#include "public.sdk/source/main/pluginfactory.h"

#include "base/source/fobject.h"
#include "pluginterfaces/base/ibstream.h"

#include <gtest/gtest.h>

#include <cstring>
#include <string>

using namespace Steinberg;

namespace {

int liveObjects = 0;

class Counted : public FObject
{
public:
	Counted () { ++liveObjects; }
	~Counted () override { --liveObjects; }
};

FUnknown* createCounted (void* context)
{
	if (context)
		*static_cast<void**> (context) = context;
	return static_cast<FObject*> (new Counted);
}

FUnknown* createNothing (void*)
{
	return nullptr;
}

const TUID kCidA = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16};
const TUID kCidB = {16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1};

class PluginFactoryTest : public testing::Test
{
protected:
	void SetUp () override
	{
		ASSERT_TRUE (factory->registerClass (&infoA, createCounted));
		ASSERT_TRUE (factory->registerClass (&infoB, createNothing));
	}
	void TearDown () override { factory->release (); }

	PClassInfo2 infoA {kCidA, PClassInfo::kManyInstances, "Audio Module Class", "A", 1, "Fx|Spatial",
	                   "", "1.0.0.0", "VST 3.7.3"};
	PClassInfo2 infoB {kCidB, 1, "Component Controller Class", "B", 0, nullptr, nullptr, nullptr, nullptr};
	CPluginFactory* factory = new CPluginFactory (PFactoryInfo ("V", "u", "mailto:e", PFactoryInfo::kUnicode));
};

} // namespace

TEST_F (PluginFactoryTest, ReportsItsClassesInRegistrationOrder)
{
	EXPECT_EQ (factory->countClasses (), 2);
	PClassInfo info;
	ASSERT_EQ (factory->getClassInfo (1, &info), kResultOk);
	EXPECT_EQ (std::memcmp (info.cid, kCidB, sizeof (TUID)), 0);
	EXPECT_STREQ (info.name, "B");
	PClassInfo2 info2;
	ASSERT_EQ (factory->getClassInfo2 (0, &info2), kResultOk);
	EXPECT_STREQ (info2.subCategories, "Fx|Spatial");
	EXPECT_EQ (info2.classFlags, 1u);
	PClassInfoW infoW;
	ASSERT_EQ (factory->getClassInfoUnicode (0, &infoW), kResultOk);
	EXPECT_EQ (infoW.name[0], u'A');
	EXPECT_EQ (infoW.name[1], 0);
	EXPECT_EQ (infoW.version[0], u'1');

	EXPECT_EQ (factory->getClassInfo (2, &info), kInvalidArgument);
	EXPECT_EQ (factory->getClassInfo2 (-1, &info2), kInvalidArgument);
	EXPECT_EQ (factory->getClassInfoUnicode (2, &infoW), kInvalidArgument);
	EXPECT_EQ (factory->getClassInfo2 (0, nullptr), kInvalidArgument);
	EXPECT_TRUE (factory->isRegistered (FUID::fromTUID (kCidA)));
}

TEST_F (PluginFactoryTest, RegistrationNeedsInfoAndCreateFunction)
{
	EXPECT_FALSE (factory->registerClass (static_cast<const PClassInfo2*> (nullptr), createCounted));
	EXPECT_FALSE (factory->registerClass (&infoA, nullptr));
	PClassInfo plain (kCidA, 1, "Service", "Plain");
	EXPECT_TRUE (factory->registerClass (&plain, createCounted));
	const PClassInfoW wide (kCidB, 1, "Component Controller Class", u"B", 0, nullptr, nullptr, u"1.0",
	                        nullptr);
	EXPECT_TRUE (factory->registerClass (&wide, createCounted));
	EXPECT_EQ (factory->countClasses (), 4);
	PClassInfo2 back;
	ASSERT_EQ (factory->getClassInfo2 (3, &back), kResultOk);
	EXPECT_STREQ (back.name, "B");
	EXPECT_STREQ (back.category, "Component Controller Class");
	EXPECT_STREQ (back.version, "1.0");
}

TEST_F (PluginFactoryTest, OverlongNamesAreCutAndTerminated)
{
	PClassInfo2 full = infoA;
	std::memset (full.name, 'x', sizeof (full.name));
	std::memset (full.sdkVersion, 'y', sizeof (full.sdkVersion));
	ASSERT_TRUE (factory->registerClass (&full, createCounted));
	PClassInfoW wide;
	ASSERT_EQ (factory->getClassInfoUnicode (2, &wide), kResultOk);
	EXPECT_EQ (wide.name[PClassInfo::kNameSize - 1], 0);
	EXPECT_EQ (wide.name[PClassInfo::kNameSize - 2], u'x');
	EXPECT_EQ (wide.sdkVersion[PClassInfoW::kVersionSize - 1], 0);
	PClassInfo2 narrow;
	ASSERT_EQ (factory->getClassInfo2 (2, &narrow), kResultOk);
	EXPECT_EQ (std::string (narrow.name), std::string (PClassInfo::kNameSize - 1, 'x'));
}

TEST_F (PluginFactoryTest, CreatesTheAskedInterfaceAndPassesTheContext)
{
	void* context = nullptr;
	ASSERT_TRUE (factory->registerClass (&infoA, createCounted, &context));
	void* obj = nullptr;
	ASSERT_EQ (factory->createInstance (kCidA, FUnknown::iid, &obj), kResultOk);
	ASSERT_NE (obj, nullptr);
	EXPECT_EQ (liveObjects, 1);
	EXPECT_EQ (static_cast<FUnknown*> (obj)->release (), 0u);
	EXPECT_EQ (liveObjects, 0);
}

TEST_F (PluginFactoryTest, AnswersNoInterfaceWithANullObject)
{
	void* obj = &liveObjects;
	EXPECT_EQ (factory->createInstance (kCidB, FUnknown::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);

	obj = &liveObjects;
	const TUID unknown = {};
	EXPECT_EQ (factory->createInstance (unknown, FUnknown::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);

	obj = &liveObjects;
	EXPECT_EQ (factory->createInstance (kCidA, IBStream::iid, &obj), kNoInterface);
	EXPECT_EQ (obj, nullptr);
	EXPECT_EQ (liveObjects, 0);
	EXPECT_EQ (factory->createInstance (kCidA, FUnknown::iid, nullptr), kInvalidArgument);
}

TEST (PluginFactory, DestructionClearsTheModulePointer)
{
	auto* factory = new CPluginFactory (PFactoryInfo ());
	gPluginFactory = factory;
	factory->addRef ();
	EXPECT_EQ (factory->release (), 1u);
	EXPECT_EQ (gPluginFactory, factory);
	EXPECT_EQ (factory->release (), 0u);
	EXPECT_EQ (gPluginFactory, nullptr);
}
