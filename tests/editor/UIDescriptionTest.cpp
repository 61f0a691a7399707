#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/icontroller.h"
#include "vstgui/uidescription/uidescription.h"

#include <gtest/gtest.h>

#include <map>
#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

const char* const kSmallDescription = R"(<?xml version="1.0" encoding="UTF-8"?>
<vstgui-ui-description version="1">
	<colors>
		<color name="panel" rgba="#10203040"/>
		<color name="broken" rgba="#1020"/>
	</colors>
	<control-tags>
		<control-tag name="Gain" tag="7"/>
		<control-tag name="Half" tag="1.5"/>
	</control-tags>
	<template name="main" class="CViewContainer" origin="0, 0" size="200, 100" background-color="panel">
		<view class="CTextLabel" origin="5, 6" size="50, 20" control-tag="Gain" title="Gain"/>
		<view class="NoSuchView" origin="0, 0" size="10, 10"/>
		<view class="CViewContainer" origin="20, 40" size="100, 50" sub-controller="Box" transparent="true">
			<view class="COnOffButton" origin="3, 4" size="10, 12"/>
		</view>
	</template>
</vstgui-ui-description>
)";

// Records what the description asks of a controller; it hands out recorders as sub-controllers.
class Recorder : public IController
{
public:
	explicit Recorder (std::vector<std::string>* log, std::string name) : log (log), name (std::move (name)) {}

	void valueChanged (CControl*) override {}
	CView* verifyView (CView* view, const UIAttributes& attributes, const IUIDescription*) override
	{
		const std::string* viewClass = attributes.getAttributeValue ("class");
		log->push_back (name + " verifies " + (viewClass ? *viewClass : "?"));
		return view;
	}
	IController* createSubController (UTF8StringPtr subName, const IUIDescription*) override
	{
		log->push_back (name + " makes " + subName);
		return new Recorder (log, subName);
	}

	std::vector<std::string>* log;
	std::string name;
};

SharedPointer<UIDescription> parsedSmallDescription ()
{
	auto description = makeOwned<UIDescription> (CResourceDescription ("unused.uidesc"));
	EXPECT_TRUE (description->parseText (kSmallDescription));
	return description;
}

struct ColorCase
{
	const char* text;
	bool found;
	CColor color;
};

class ColorLookup : public testing::TestWithParam<ColorCase>
{
};

const ColorCase kColors[] = {
    {"panel", true, CColor (0x10, 0x20, 0x30, 0x40)},
    {"#a0b0c0", true, CColor (0xa0, 0xb0, 0xc0, 0xff)},
    {"#A0B0C0D0", true, CColor (0xa0, 0xb0, 0xc0, 0xd0)},
    {"broken", false, {}},
    {"#1020", false, {}},
    {"#a0b0cg", false, {}},
    {"a0b0c0", false, {}},
    {"", false, {}},
};

} // namespace

TEST (UIDescriptionParse, RefusesWhatIsNoUIDescription)
{
	const char* const texts[] = {"", "not xml at all", "<vstgui-ui-description>",
	                             "<other-root/>", "<vstgui-ui-description></other>"};
	for (const char* text : texts)
	{
		auto description = makeOwned<UIDescription> (CResourceDescription ("unused.uidesc"));
		EXPECT_FALSE (description->parseText (text)) << text;
		EXPECT_EQ (description->getViewAttributes ("main"), nullptr);
	}
	auto missing = makeOwned<UIDescription> (CResourceDescription ("/nonexistent/plug.uidesc"));
	EXPECT_FALSE (missing->parse ());
}

TEST_P (ColorLookup, NamesAndColourTexts)
{
	auto description = parsedSmallDescription ();
	CColor color (1, 2, 3, 4);
	EXPECT_EQ (description->getColor (GetParam ().text, color), GetParam ().found);
	EXPECT_EQ (color, GetParam ().found ? GetParam ().color : CColor (1, 2, 3, 4));
}

INSTANTIATE_TEST_SUITE_P (UIDescription, ColorLookup, testing::ValuesIn (kColors));

TEST (UIDescriptionResources, ControlTagsAndColourNames)
{
	auto description = parsedSmallDescription ();
	EXPECT_EQ (description->getTagForName ("Gain"), 7);
	EXPECT_EQ (description->getTagForName ("12"), 12);
	EXPECT_EQ (description->getTagForName ("Half"), -1);
	EXPECT_EQ (description->getTagForName ("Unknown"), -1);
	EXPECT_EQ (description->getTagForName (nullptr), -1);
	std::string name;
	EXPECT_TRUE (description->lookupColorName (CColor (0x10, 0x20, 0x30, 0x40), name));
	EXPECT_EQ (name, "panel");
	EXPECT_FALSE (description->lookupColorName (CColor (1, 1, 1, 1), name));
	EXPECT_EQ (description->getBitmap ("none"), nullptr);
}

TEST (UIDescriptionBuild, BuildsTheTemplateWithItsControllers)
{
	auto description = parsedSmallDescription ();
	std::vector<std::string> log;
	Recorder top (&log, "top");
	UIDescription::SubControllers subControllers;
	auto root = owned (description->createView ("main", &top, &subControllers));
	ASSERT_NE (root, nullptr);

	EXPECT_EQ (log, (std::vector<std::string> {"top verifies CTextLabel", "top makes Box",
	                                          "Box verifies COnOffButton",
	                                          "Box verifies CViewContainer",
	                                          "top verifies CViewContainer"}));
	auto* container = dynamic_cast<CViewContainer*> (root.get ());
	ASSERT_NE (container, nullptr);
	EXPECT_EQ (container->getViewSize (), CRect (0, 0, 200, 100));
	EXPECT_EQ (container->getBackgroundColor (), CColor (0x10, 0x20, 0x30, 0x40));
	ASSERT_EQ (container->getNbViews (), 2u);

	auto* label = dynamic_cast<CTextLabel*> (container->getView (0));
	ASSERT_NE (label, nullptr);
	EXPECT_EQ (label->getViewSize (), CRect (5, 6, 55, 26));
	EXPECT_EQ (label->getTag (), 7);
	EXPECT_EQ (label->getListener (), &top);
	EXPECT_EQ (label->getText ().getString (), "Gain");

	auto* box = dynamic_cast<CViewContainer*> (container->getView (1));
	ASSERT_NE (box, nullptr);
	EXPECT_TRUE (box->getTransparency ());
	ASSERT_EQ (subControllers.size (), 1u);
	EXPECT_EQ (subControllers.front ().first, box);
	auto* button = dynamic_cast<COnOffButton*> (box->getView (0));
	ASSERT_NE (button, nullptr);
	EXPECT_EQ (button->getViewSize (), CRect (3, 4, 13, 16));
	EXPECT_EQ (button->getListener (), subControllers.front ().second);

	for (auto& entry : subControllers)
		delete entry.second;
}

TEST (UIDescriptionBuild, SubControllersOnlyWhenTheCallerTakesThem)
{
	auto description = parsedSmallDescription ();
	std::vector<std::string> log;
	Recorder top (&log, "top");
	auto root = owned (description->createView ("main", &top));
	ASSERT_NE (root, nullptr);
	for (const auto& entry : log)
		EXPECT_EQ (entry.rfind ("top ", 0), 0u) << entry;
}

TEST (UIDescriptionBuild, UnknownTemplatesGiveNoView)
{
	auto description = parsedSmallDescription ();
	EXPECT_EQ (description->createView ("Main", nullptr), nullptr);
	EXPECT_EQ (description->createView (nullptr, nullptr), nullptr);
	const UIAttributes* attributes = description->getViewAttributes ("main");
	ASSERT_NE (attributes, nullptr);
	CPoint size;
	EXPECT_TRUE (attributes->getPointAttribute ("size", size));
	EXPECT_EQ (size, CPoint (200, 100));
}
