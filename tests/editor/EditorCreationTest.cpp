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
		for (VSTGUI::IController* sub : made)
			delete sub;
		controller->terminate ();
	}

	// Asks for a sub-controller as VSTGUI does; the test stands in for the view that would own it.
	VSTGUI::IController* subController (VSTGUI::UTF8StringPtr name)
	{
		VSTGUI::IController* sub = controller->createSubController (name, nullptr, nullptr);
		if (sub)
			made.push_back (sub);
		return sub;
	}

	std::vector<VSTGUI::IController*> made;
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

TEST_P (SubControllerNames, OnlyTheAboutControllerIsMade)
{
	VSTGUI::IController* sub = subController (GetParam ().name);
	EXPECT_EQ (sub != nullptr, GetParam ().answered);
	if (sub)
	{
		EXPECT_NE (dynamic_cast<PlugController::AboutController*> (sub), nullptr);
	}
}

INSTANTIATE_TEST_SUITE_P (EditorCreation, SubControllerNames, testing::ValuesIn (kSubControllerNames));

TEST_F (EditorCreation, EveryRequestMakesANewAboutController)
{
	auto* first = subController ("AboutController");
	auto* second = subController ("AboutController");
	ASSERT_NE (first, nullptr);
	ASSERT_NE (second, nullptr);
	EXPECT_NE (first, second);
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
