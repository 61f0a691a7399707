#include "tests/support/TextHelpers.h"

#include "plugin/PlugVersion.h"
#include "plugin/controller/PlugController.h"
#include "plugin/processor/PlugParamIds.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/cparamdisplay.h"
#include "vstgui/lib/controls/csliderbase.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/uidescription.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using veltrane_test::toAscii;

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

TEST_F (PlugDescription, EveryParameterHasItsControlAndItsValueDisplay)
{
	UIViewFactory factory;
	std::map<int32_t, std::vector<std::string>> classesByTag;
	for (const auto& [view, about] : views)
		if (auto* control = dynamic_cast<CControl*> (view); control && control->getTag () >= 0)
			classesByTag[control->getTag ()].push_back (factory.getViewName (view) ? factory.getViewName (view) : "?");

	const std::vector<std::string> slider {"CSlider", "CParamDisplay"};
	const std::vector<std::string> onOff {"COnOffButton", "CParamDisplay"};
	const std::map<int32_t, std::vector<std::string>> expected {
	    {kMixId, slider},        {kShiftId, slider},        {kShiftBypassId, onOff},   {kDelayId, slider},
	    {kCentreId, slider},     {kColorId, slider},        {kDriveId, slider},        {kDriveBypassId, onOff},
	    {kDecorrBypassId, onOff}, {static_cast<int32_t> (kBypassId), onOff}};
	EXPECT_EQ (classesByTag, expected);
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
	EXPECT_NE (dynamic_cast<PlugController::AboutController*> (subControllers.front ().second), nullptr)
	    << "the controller's about sub-controller";
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
	EXPECT_EQ (label->getText ().getString (), std::string (kPlugVersion) + ", VST3 unknown  ");
}

// Each control carries the parameter's title in the label right above it.
TEST_F (PlugDescription, EveryParameterControlIsTitledAboveIt)
{
	ASSERT_EQ (controller->initialize (nullptr), kResultOk);
	std::vector<CTextLabel*> labels;
	for (const auto& [view, about] : views)
		if (auto* label = dynamic_cast<CTextLabel*> (view); label && !about)
			labels.push_back (label);

	int titled = 0;
	for (const auto& [view, about] : views)
	{
		auto* control = dynamic_cast<CControl*> (view);
		if (control == nullptr || control->getTag () < 0 || dynamic_cast<CParamDisplay*> (control))
			continue;
		const CRect& box = control->getViewSize ();
		CTextLabel* above = nullptr;
		for (CTextLabel* label : labels)
		{
			const CRect& l = label->getViewSize ();
			const bool overlapsColumn = l.left < box.right && box.left < l.right;
			if (overlapsColumn && l.bottom <= box.top && (!above || l.bottom > above->getViewSize ().bottom))
				above = label;
		}
		ASSERT_NE (above, nullptr) << control->getTag ();
		Parameter* parameter = controller->getParameterObject (static_cast<ParamID> (control->getTag ()));
		ASSERT_NE (parameter, nullptr) << control->getTag ();
		EXPECT_EQ (above->getText ().getString (), toAscii (parameter->getInfo ().title)) << control->getTag ();
		EXPECT_LE (box.top - above->getViewSize ().bottom, 8.) << control->getTag ();
		++titled;
	}
	EXPECT_EQ (titled, 10);
}

TEST_F (PlugDescription, ShowsThePlugInsNameAndCaptionsTheAboutButton)
{
	std::vector<std::string> others;
	for (const auto& [view, about] : views)
		if (auto* label = dynamic_cast<CTextLabel*> (view); label && !about)
			others.push_back (label->getText ().getString ());
	EXPECT_EQ (others.front (), "Veltrane");
	EXPECT_EQ (others.back (), "About");
}

// Every view lies inside its container, and no two views of one container overlap.
TEST_F (PlugDescription, ViewsFormAGridWithoutOverlapOrClipping)
{
	std::vector<std::pair<CViewContainer*, CView*>> placed;
	std::vector<CViewContainer*> containers {dynamic_cast<CViewContainer*> (root.get ())};
	while (!containers.empty ())
	{
		CViewContainer* container = containers.back ();
		containers.pop_back ();
		const CRect inside (0, 0, container->getWidth (), container->getHeight ());
		const auto& children = container->getChildren ();
		for (size_t i = 0; i < children.size (); ++i)
		{
			const CRect& box = children[i]->getViewSize ();
			EXPECT_TRUE (box.left >= inside.left && box.top >= inside.top && box.right <= inside.right &&
			             box.bottom <= inside.bottom)
			    << "view " << i << " lies outside its container";
			for (size_t j = 0; j < i; ++j)
			{
				const CRect& other = children[j]->getViewSize ();
				const bool overlap = box.left < other.right && other.left < box.right && box.top < other.bottom &&
				                     other.top < box.bottom;
				EXPECT_FALSE (overlap) << "views " << j << " and " << i << " overlap";
			}
			if (auto* nested = dynamic_cast<CViewContainer*> (children[i]))
				containers.push_back (nested);
		}
	}
}
