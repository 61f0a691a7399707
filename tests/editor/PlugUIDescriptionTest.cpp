#include "plugin/controller/PlugController.h"
#include "plugin/processor/PlugParamIds.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/csliderbase.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/uidescription.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace VSTGUI;

namespace {

// The editor's description, built with the plug-in's controller as the editor would.
class PlugDescription : public testing::Test
{
protected:
	void SetUp () override
	{
		ASSERT_TRUE (description->parse ());
		root = VSTGUI::owned (description->createView ("view", &top, &subControllers));
		ASSERT_NE (root, nullptr);
		collect (root, nullptr);
	}
	void TearDown () override
	{
		for (auto& entry : subControllers)
			delete entry.second;
		root = nullptr;
		controller->terminate ();
	}

	// Every view with the sub-controller view it lies in (or none).
	void collect (CView* view, CView* subControllerView)
	{
		for (const auto& entry : subControllers)
			if (entry.first == view)
				subControllerView = view;
		views.emplace_back (view, subControllerView);
		if (auto* container = dynamic_cast<CViewContainer*> (view))
			for (CView* child : container->getChildren ())
				collect (child, subControllerView);
	}

	// Stands in for the editor: passes sub-controller requests on to the plug-in's controller.
	struct EditorSide : public IController
	{
		explicit EditorSide (PlugController* controller) : controller (controller) {}
		void valueChanged (CControl*) override {}
		IController* createSubController (UTF8StringPtr name, const IUIDescription* desc) override
		{
			return controller->createSubController (name, desc, nullptr);
		}
		PlugController* controller;
	};

	IPtr<PlugController> controller = Steinberg::owned (new PlugController);
	EditorSide top {controller};
	SharedPointer<UIDescription> description =
	    makeOwned<UIDescription> (CResourceDescription (VELTRANE_SOURCE_UIDESC));
	UIDescription::SubControllers subControllers;
	SharedPointer<CView> root;
	std::vector<std::pair<CView*, CView*>> views;
};

} // namespace

TEST_F (PlugDescription, TemplateViewSizesTheEditor)
{
	const UIAttributes* attributes = description->getViewAttributes ("view");
	ASSERT_NE (attributes, nullptr);
	CPoint size;
	ASSERT_TRUE (attributes->getPointAttribute ("size", size));
	EXPECT_EQ (size, CPoint (520, 300));
	EXPECT_EQ (root->getViewSize (), CRect (0, 0, 520, 300));
}

TEST_F (PlugDescription, EveryParameterHasOneSlider)
{
	UIViewFactory factory;
	std::map<int32_t, std::vector<std::string>> classesByTag;
	for (const auto& [view, about] : views)
		if (auto* control = dynamic_cast<CControl*> (view); control && control->getTag () >= 0)
			classesByTag[control->getTag ()].push_back (factory.getViewName (view) ? factory.getViewName (view) : "?");

	const ParamID tags[] = {kMixId,   kShiftId, kShiftBypassId,  kDelayId,       kCentreId,
	                        kColorId, kDriveId, kDriveBypassId, kDecorrBypassId, kBypassId};
	EXPECT_EQ (classesByTag.size (), std::size (tags));
	for (ParamID tag : tags)
		EXPECT_EQ (classesByTag[static_cast<int32_t> (tag)], std::vector<std::string> {"CSlider"}) << tag;
}

TEST_F (PlugDescription, SlidersUseTheAddedModeByName)
{
	int sliders = 0;
	for (const auto& [view, about] : views)
	{
		if (auto* slider = dynamic_cast<CSliderBase*> (view))
		{
			++sliders;
			EXPECT_EQ (slider->getSliderMode (), CSliderMode::KSFreeClick) << slider->getTag ();
		}
	}
	EXPECT_GT (sliders, 0);
}

TEST_F (PlugDescription, AboutBoxHoldsOneLabelAndOneButtonUnderItsController)
{
	ASSERT_EQ (subControllers.size (), 1u);
	ASSERT_EQ (controller->getAboutControllers ().size (), 1u);
	EXPECT_EQ (static_cast<IController*> (controller->getAboutControllers ().front ()), subControllers.front ().second);
	std::vector<CView*> inside;
	for (const auto& [view, about] : views)
		if (about && view != about)
			inside.push_back (view);
	ASSERT_EQ (inside.size (), 2u);
	auto* button = dynamic_cast<COnOffButton*> (inside[0]) ? dynamic_cast<COnOffButton*> (inside[0])
	                                                        : dynamic_cast<COnOffButton*> (inside[1]);
	auto* label = dynamic_cast<CTextLabel*> (inside[0]) ? dynamic_cast<CTextLabel*> (inside[0])
	                                                     : dynamic_cast<CTextLabel*> (inside[1]);
	ASSERT_NE (button, nullptr);
	ASSERT_NE (label, nullptr);
	EXPECT_EQ (label->getText ().getString (), "");
	button->setValue (1.f);
	button->valueChanged ();
	EXPECT_EQ (label->getText ().getString (), "1.0.0, VST3 unknown  ");
}

TEST_F (PlugDescription, EveryParameterSliderIsLabelled)
{
	std::vector<std::string> titles;
	for (const auto& [view, about] : views)
		if (auto* label = dynamic_cast<CTextLabel*> (view); label && !about)
			titles.push_back (label->getText ().getString ());
	EXPECT_EQ (titles, (std::vector<std::string> {"Delay", "Centre", "Drive", "Color", "Shift", "Mix",
	                                              "Decorr Bypass", "Shift Bypass", "Drive Bypass", "Bypass"}));
}
