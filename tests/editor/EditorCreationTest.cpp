#include "plugin/PlugVersion.h"
#include "plugin/controller/PlugController.h"

#include "pluginterfaces/vst/ivsthostapplication.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// A host context that says the plug-in runs inside the Audio Unit wrapper.
class AUWrapperContext : public FObject, public IVst3ToAUWrapper
{
public:
	OBJ_METHODS (AUWrapperContext, FObject)
	DEFINE_INTERFACES
		DEF_INTERFACE (IVst3ToAUWrapper)
	END_DEFINE_INTERFACES (FObject)
	REFCOUNT_METHODS (FObject)
};

class EditorCreation : public testing::Test
{
protected:
	void SetUp () override { ASSERT_EQ (controller->initialize (&host), kResultOk); }
	void TearDown () override
	{
		for (auto* about : std::vector<PlugController::AboutController*> (controller->getAboutControllers ()))
			delete about;
		controller->terminate ();
	}

	HostApplication host;
	IPtr<PlugController> controller = Steinberg::owned (new PlugController);
};

struct NameCase
{
	const char* name;
	bool answered;
};

class ViewTypes : public EditorCreation, public testing::WithParamInterface<NameCase>
{
};

class SubControllerNames : public EditorCreation, public testing::WithParamInterface<NameCase>
{
};

const NameCase kViewTypes[] = {
    {"editor", true}, {"Editor", false}, {"EDITOR", false}, {"editor ", false},
    {"edit", false},  {"view", false},   {"", false},       {nullptr, false},
};

const NameCase kSubControllerNames[] = {
    {"AboutController", true}, {"aboutController", false}, {"AboutController ", false},
    {"About", false},          {"", false},                {nullptr, false},
};

std::string aboutTextUnder (FUnknown* context)
{
	IPtr<PlugController> controller = Steinberg::owned (new PlugController);
	EXPECT_EQ (controller->initialize (context), kResultOk);
	auto* about = static_cast<PlugController::AboutController*> (
	    controller->createSubController ("AboutController", nullptr, nullptr));
	const std::string text = about ? about->aboutText () : std::string ();
	delete about;
	controller->terminate ();
	return text;
}

} // namespace

TEST_P (ViewTypes, OnlyTheEditorIsMadeAndOnlyItSwitchesKnobsToLinear)
{
	controller->setKnobMode (kCircularMode);
	IPtr<IPlugView> view = Steinberg::owned (controller->createView (GetParam ().name));
	EXPECT_EQ (view != nullptr, GetParam ().answered);
	EXPECT_EQ (EditController::getHostKnobMode (), GetParam ().answered ? kLinearMode : kCircularMode);
}

INSTANTIATE_TEST_SUITE_P (EditorCreation, ViewTypes, testing::ValuesIn (kViewTypes));

TEST_P (SubControllerNames, OnlyTheAboutControllerIsMadeAndListed)
{
	VSTGUI::IController* made = controller->createSubController (GetParam ().name, nullptr, nullptr);
	EXPECT_EQ (made != nullptr, GetParam ().answered);
	const auto& list = controller->getAboutControllers ();
	ASSERT_EQ (list.size (), GetParam ().answered ? 1u : 0u);
	if (made)
	{
		EXPECT_EQ (static_cast<VSTGUI::IController*> (list.front ()), made);
	}
}

INSTANTIATE_TEST_SUITE_P (EditorCreation, SubControllerNames, testing::ValuesIn (kSubControllerNames));

TEST_F (EditorCreation, EveryAboutControllerIsAppendedInOrder)
{
	auto* first = controller->createSubController ("AboutController", nullptr, nullptr);
	auto* second = controller->createSubController ("AboutController", nullptr, nullptr);
	ASSERT_NE (first, second);
	const auto& list = controller->getAboutControllers ();
	ASSERT_EQ (list.size (), 2u);
	EXPECT_EQ (static_cast<VSTGUI::IController*> (list[0]), first);
	EXPECT_EQ (static_cast<VSTGUI::IController*> (list[1]), second);
}

TEST_F (EditorCreation, EditorIsSizedByTheTemplate)
{
	IPtr<IPlugView> view = Steinberg::owned (controller->createView ("editor"));
	ASSERT_NE (view, nullptr);
	ViewRect size;
	ASSERT_EQ (view->getSize (&size), kResultOk);
	EXPECT_EQ (size.getWidth (), 520);
	EXPECT_EQ (size.getHeight (), 300);
}

TEST (AboutFormat, FollowsTheHostContext)
{
	HostApplication plainHost;
	AUWrapperContext wrapper;
	const std::string version = kPlugVersion;
	EXPECT_EQ (aboutTextUnder (&plainHost), version + ", VST3 unknown  ");
	EXPECT_EQ (aboutTextUnder (wrapper.unknownCast ()), version + ", AU unknown  ");
	EXPECT_EQ (aboutTextUnder (nullptr), version + ", VST3 unknown  ");
}
