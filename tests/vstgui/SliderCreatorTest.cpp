#include "SliderTestSupport.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/controls/sliderbasecreator.h"
#include "vstgui/uidescription/iuidescription.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uiviewfactory.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <map>
#include <utility>

using namespace VSTGUI;
using namespace VSTGUI::Testing;

namespace {

/** Named bitmaps and colours; colour texts "#rrggbbaa" are parsed as well. */
class FakeDescription : public IUIDescription
{
public:
	CBitmap* getBitmap (UTF8StringPtr name) const override
	{
		auto it = bitmaps.find (name);
		return it == bitmaps.end () ? nullptr : it->second.get ();
	}
	bool getColor (UTF8StringPtr name, CColor& color) const override
	{
		auto it = colors.find (name);
		if (it != colors.end ())
		{
			color = it->second;
			return true;
		}
		unsigned r, g, b, a;
		if (std::sscanf (name, "#%2x%2x%2x%2x", &r, &g, &b, &a) != 4)
			return false;
		color = CColor (r, g, b, a);
		return true;
	}
	bool lookupBitmapName (const CBitmap* bitmap, std::string& name) const override
	{
		for (const auto& [n, b] : bitmaps)
		{
			if (b.get () == bitmap)
			{
				name = n;
				return true;
			}
		}
		return false;
	}
	bool lookupColorName (const CColor& color, std::string& name) const override
	{
		for (const auto& [n, c] : colors)
		{
			if (c == color)
			{
				name = n;
				return true;
			}
		}
		return false;
	}

	std::map<std::string, SharedPointer<CBitmap>> bitmaps {{"knob", makeOwned<CBitmap> (12., 8.)}};
	std::map<std::string, CColor> colors {{"red", CColor (255, 0, 0, 255)}};
};

using AttributeList = std::vector<std::pair<std::string, std::string>>;

class SliderCreatorTest : public testing::Test
{
protected:
	SharedPointer<CSlider> create (const AttributeList& list)
	{
		UIAttributes attributes;
		attributes.setAttribute ("class", "CSlider");
		for (const auto& [name, value] : list)
			attributes.setAttribute (name, value);
		auto view = owned (factory.createView (attributes, &description));
		auto slider = SharedPointer<CSlider> (dynamic_cast<CSlider*> (view.get ()));
		EXPECT_TRUE (slider) << "the view factory knows CSlider";
		return slider;
	}
	std::string valueOf (CView* view, const std::string& name, std::string text = "<unset>")
	{
		EXPECT_TRUE (factory.getAttributeValue (view, name, text, &description)) << name;
		return text;
	}

	UIViewFactory factory;
	FakeDescription description;
};

} // namespace

TEST_F (SliderCreatorTest, CreatesAPlainHorizontalSliderThatFollowsTheGlobalMode)
{
	auto slider = create ({});
	ASSERT_TRUE (slider);
	EXPECT_EQ (slider->getViewSize (), CRect (0, 0, 0, 0));
	EXPECT_EQ (slider->getTag (), -1);
	EXPECT_EQ (slider->getStyle (), kHorizontal | kLeft);
	EXPECT_EQ (slider->getHandle (), nullptr);
	EXPECT_EQ (slider->getSliderMode (), CSliderMode::UseGlobal);
	EXPECT_EQ (valueOf (slider, "mode"), "use global");
	EXPECT_STREQ (factory.getViewName (slider), "CSlider");
}

TEST_F (SliderCreatorTest, ModeNamesAndTheOlderFreeClickSwitch)
{
	const struct
	{
		AttributeList attributes;
		CSliderMode mode;
	} cases[] = {
	    {{{"mode", "touch"}}, CSliderMode::Touch},
	    {{{"mode", "relative touch"}}, CSliderMode::RelativeTouch},
	    {{{"mode", "free click"}}, CSliderMode::FreeClick},
	    {{{"mode", "KS free click"}}, CSliderMode::KSFreeClick},
	    {{{"mode", "ramp"}}, CSliderMode::Ramp},
	    {{{"mode", "use global"}}, CSliderMode::UseGlobal},
	    {{{"mode", "Ramp"}}, CSliderMode::UseGlobal},
	    {{{"mode", "ramp "}}, CSliderMode::UseGlobal},
	    {{{"mode", ""}}, CSliderMode::UseGlobal},
	    {{{"free-click", "true"}, {"mode", "ramp"}}, CSliderMode::Ramp},
	    {{{"free-click", "true"}, {"mode", "nonsense"}}, CSliderMode::FreeClick},
	    {{{"free-click", "false"}}, CSliderMode::Touch},
	    {{{"free-click", "yes"}}, CSliderMode::Touch},
	};
	for (const auto& c : cases)
	{
		auto slider = create (c.attributes);
		ASSERT_TRUE (slider);
		EXPECT_EQ (slider->getSliderMode (), c.mode) << c.attributes.front ().second;
		EXPECT_EQ (valueOf (slider, "mode"), SliderBaseCreator::modeStrings ()[static_cast<size_t> (c.mode)]);
	}
}

TEST_F (SliderCreatorTest, AModeWithoutANameIsNotWrittenBack)
{
	auto slider = create ({});
	slider->setSliderMode (static_cast<CSliderMode> (7));
	std::string text = "kept";
	EXPECT_FALSE (factory.getAttributeValue (slider, "mode", text, &description));
	EXPECT_EQ (text, "kept");
}

TEST_F (SliderCreatorTest, OrientationComesBeforeItsReversal)
{
	const struct
	{
		AttributeList attributes;
		int32_t style;
		const char* orientation;
		const char* reversed;
	} cases[] = {
	    {{{"orientation", "vertical"}}, kVertical | kLeft, "vertical", "false"},
	    {{{"orientation", "Vertical"}}, kHorizontal | kLeft, "horizontal", "false"},
	    {{{"orientation", "vertical"}, {"reverse-orientation", "true"}}, kVertical | kLeft | kTop, "vertical", "true"},
	    {{{"orientation", "vertical"}, {"reverse-orientation", "TRUE"}}, kVertical | kLeft | kBottom, "vertical",
	     "false"},
	    {{{"reverse-orientation", "true"}}, kHorizontal | kRight, "horizontal", "true"},
	    {{{"reverse-orientation", "no"}}, kHorizontal | kLeft, "horizontal", "false"},
	};
	for (const auto& c : cases)
	{
		auto slider = create (c.attributes);
		ASSERT_TRUE (slider);
		EXPECT_EQ (slider->getStyle (), c.style) << c.attributes.back ().second;
		EXPECT_EQ (valueOf (slider, "orientation"), c.orientation);
		EXPECT_EQ (valueOf (slider, "reverse-orientation"), c.reversed);
	}
}

TEST_F (SliderCreatorTest, NumbersAndPointsRoundTripAndBadTextsAreIgnored)
{
	auto slider = create ({{"handle-offset", "3, 4.5"},
	                       {"zoom-factor", "2.5"},
	                       {"frame-width", "3"},
	                       {"bitmap-offset", "5,6"}});
	ASSERT_TRUE (slider);
	EXPECT_EQ (slider->getOffsetHandle (), CPoint (3, 4.5));
	EXPECT_EQ (slider->getZoomFactor (), 2.5f);
	EXPECT_EQ (slider->getFrameWidth (), 3.);
	EXPECT_EQ (slider->getBackgroundOffset (), CPoint (5, 6));
	EXPECT_EQ (valueOf (slider, "handle-offset"), "3, 4.5");
	EXPECT_EQ (valueOf (slider, "zoom-factor"), "2.5");
	EXPECT_EQ (valueOf (slider, "frame-width"), "3");
	EXPECT_EQ (valueOf (slider, "bitmap-offset"), "5, 6");

	auto unchanged = create ({{"handle-offset", "3"}, {"zoom-factor", "fast"}, {"frame-width", ""}});
	ASSERT_TRUE (unchanged);
	EXPECT_EQ (unchanged->getOffsetHandle (), CPoint (0, 0));
	EXPECT_EQ (unchanged->getZoomFactor (), 10.f);
	EXPECT_EQ (unchanged->getFrameWidth (), 1.);
	EXPECT_EQ (valueOf (unchanged, "zoom-factor"), "10");
}

TEST_F (SliderCreatorTest, DrawStyleFlagsSetOnlyOnTrueAndAbsentOnesStay)
{
	auto slider = create ({{"draw-frame", "true"}, {"draw-back", "true"}, {"draw-value-inverted", "True"}});
	ASSERT_TRUE (slider);
	EXPECT_EQ (slider->getDrawStyle (), CSlider::kDrawFrame | CSlider::kDrawBack);

	UIAttributes more;
	more.setAttribute ("draw-back", "false");
	more.setAttribute ("draw-value", "true");
	more.setAttribute ("draw-value-from-center", "true");
	EXPECT_TRUE (factory.applyAttributeValues (slider, more, &description));
	EXPECT_EQ (slider->getDrawStyle (), CSlider::kDrawFrame | CSlider::kDrawValue | CSlider::kDrawValueFromCenter);
	const std::pair<const char*, const char*> written[] = {{"draw-frame", "true"},
	                                                       {"draw-back", "false"},
	                                                       {"draw-value", "true"},
	                                                       {"draw-value-from-center", "true"},
	                                                       {"draw-value-inverted", "false"}};
	for (const auto& [name, text] : written)
		EXPECT_EQ (valueOf (slider, name), text) << name;
}

TEST_F (SliderCreatorTest, ColoursByNameOrTextEmptyIsTransparentUnknownStays)
{
	auto slider = create ({{"draw-frame-color", "red"}, {"draw-back-color", "#01020304"}, {"draw-value-color", ""}});
	ASSERT_TRUE (slider);
	EXPECT_EQ (slider->getFrameColor (), CColor (255, 0, 0, 255));
	EXPECT_EQ (slider->getBackColor (), CColor (1, 2, 3, 4));
	EXPECT_EQ (slider->getValueColor (), CColor (255, 255, 255, 0));
	EXPECT_EQ (valueOf (slider, "draw-frame-color"), "red");
	EXPECT_EQ (valueOf (slider, "draw-back-color"), "#01020304");
	EXPECT_EQ (valueOf (slider, "draw-value-color"), "#ffffff00");

	auto unchanged = create ({{"draw-frame-color", "no such colour"}});
	ASSERT_TRUE (unchanged);
	EXPECT_EQ (unchanged->getFrameColor (), CColor (127, 127, 127, 255));
}

TEST_F (SliderCreatorTest, HandleBitmapByNameAndItsNameWrittenBack)
{
	auto slider = create ({{"handle-bitmap", "knob"}});
	ASSERT_TRUE (slider);
	EXPECT_EQ (slider->getHandle (), description.bitmaps["knob"].get ());
	EXPECT_EQ (slider->getHandleSize (), CPoint (12, 8));
	EXPECT_EQ (valueOf (slider, "handle-bitmap"), "knob");

	auto resource = makeOwned<CBitmap> (CResourceDescription (42));
	slider->setHandle (resource);
	EXPECT_EQ (valueOf (slider, "handle-bitmap"), "42");

	for (const char* name : {"", "missing"})
	{
		auto bare = create ({{"handle-bitmap", name}});
		ASSERT_TRUE (bare);
		EXPECT_EQ (bare->getHandle (), nullptr) << name;
		EXPECT_EQ (valueOf (bare, "handle-bitmap", "left alone"), "left alone");
	}
}

TEST_F (SliderCreatorTest, AttributeNamesTypesAndListValues)
{
	auto slider = create ({});
	ASSERT_TRUE (slider);
	StringList names;
	EXPECT_TRUE (factory.getAttributeNamesForView (slider, names));
	const StringList expected {"mode",
	                           "orientation",
	                           "reverse-orientation",
	                           "handle-offset",
	                           "zoom-factor",
	                           "handle-bitmap",
	                           "bitmap-offset",
	                           "draw-frame",
	                           "draw-back",
	                           "draw-value",
	                           "draw-value-from-center",
	                           "draw-value-inverted",
	                           "frame-width",
	                           "draw-frame-color",
	                           "draw-back-color",
	                           "draw-value-color"};
	EXPECT_EQ (names, expected);

	const std::pair<const char*, IViewCreator::AttrType> types[] = {
	    {"mode", IViewCreator::kListType},         {"orientation", IViewCreator::kListType},
	    {"reverse-orientation", IViewCreator::kBooleanType}, {"handle-offset", IViewCreator::kPointType},
	    {"zoom-factor", IViewCreator::kFloatType}, {"handle-bitmap", IViewCreator::kBitmapType},
	    {"bitmap-offset", IViewCreator::kPointType}, {"draw-value-inverted", IViewCreator::kBooleanType},
	    {"frame-width", IViewCreator::kFloatType}, {"draw-back-color", IViewCreator::kColorType},
	    {"free-click", IViewCreator::kUnknownType}, {"bogus", IViewCreator::kUnknownType}};
	for (const auto& [name, type] : types)
		EXPECT_EQ (factory.getAttributeType (slider, name), type) << name;

	ConstStringPtrList modes;
	EXPECT_TRUE (factory.getPossibleAttributeListValues (slider, "mode", modes));
	std::vector<std::string> modeNames;
	for (auto name : modes)
		modeNames.push_back (*name);
	EXPECT_EQ (modeNames, (std::vector<std::string> {"touch", "relative touch", "free click", "KS free click",
	                                                 "ramp", "use global"}));
	ConstStringPtrList orientations;
	EXPECT_TRUE (factory.getPossibleAttributeListValues (slider, "orientation", orientations));
	ASSERT_EQ (orientations.size (), 2u);
	EXPECT_EQ (*orientations.front (), "horizontal");
	EXPECT_EQ (*orientations.back (), "vertical");
	ConstStringPtrList none;
	EXPECT_FALSE (factory.getPossibleAttributeListValues (slider, "draw-back", none));
}

TEST_F (SliderCreatorTest, OtherViewsAreLeftAlone)
{
	auto creator = UIViewFactory::getViewCreator ("CSlider");
	ASSERT_TRUE (creator);
	EXPECT_STREQ (creator->getDisplayName (), "Slider");
	EXPECT_STREQ (creator->getBaseViewName (), "CControl");
	CView plain {CRect (0, 0, 1, 1)};
	UIAttributes attributes;
	attributes.setAttribute ("mode", "ramp");
	EXPECT_FALSE (creator->apply (&plain, attributes, &description));
	EXPECT_FALSE (creator->apply (nullptr, attributes, &description));
	std::string text = "kept";
	EXPECT_FALSE (creator->getAttributeValue (&plain, "mode", text, &description));
	EXPECT_FALSE (creator->getAttributeValue (&plain, "draw-back", text, &description));
	EXPECT_FALSE (creator->getAttributeValue (nullptr, "mode", text, &description));
	EXPECT_EQ (text, "kept");
}
