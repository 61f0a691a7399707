#include "vstgui/lib/cview.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uiviewfactory.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

/** A base creator for plain views: "width" sets the view's width. */
class BaseCreator : public ViewCreatorAdapter
{
public:
	IdStringPtr getViewName () const override { return "TestBase"; }
	IdStringPtr getBaseViewName () const override { return nullptr; }
	CView* create (const UIAttributes&, const IUIDescription*) const override { return new CView (CRect ()); }
	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription*) const override
	{
		double width;
		if (attributes.getDoubleAttribute ("width", width))
			view->setViewSize (CRect (0, 0, width, 1));
		order.push_back ("base");
		return true;
	}
	bool getAttributeNames (StringList& names) const override
	{
		names.emplace_back ("width");
		return true;
	}
	AttrType getAttributeType (const std::string& name) const override
	{
		return name == "width" ? kFloatType : kUnknownType;
	}
	bool getAttributeValue (CView* view, const std::string& name, std::string& value,
	                        const IUIDescription*) const override
	{
		if (name != "width")
			return false;
		value = UIAttributes::doubleToString (view->getWidth ());
		return true;
	}
	mutable std::vector<std::string> order;
};

class DerivedCreator : public ViewCreatorAdapter
{
public:
	IdStringPtr getViewName () const override { return "TestDerived"; }
	IdStringPtr getBaseViewName () const override { return "TestBase"; }
	CView* create (const UIAttributes&, const IUIDescription*) const override { return new CView (CRect ()); }
	bool apply (CView*, const UIAttributes&, const IUIDescription*) const override
	{
		base.order.push_back ("derived");
		return true;
	}
	bool getAttributeNames (StringList& names) const override
	{
		names.emplace_back ("shade");
		return true;
	}
	explicit DerivedCreator (BaseCreator& base) : base (base) {}
	BaseCreator& base;
};

class ViewFactoryTest : public testing::Test
{
protected:
	ViewFactoryTest ()
	{
		UIViewFactory::registerViewCreator (base);
		UIViewFactory::registerViewCreator (derived);
	}
	~ViewFactoryTest () override
	{
		UIViewFactory::unregisterViewCreator (derived);
		UIViewFactory::unregisterViewCreator (base);
	}
	BaseCreator base;
	DerivedCreator derived {base};
	UIViewFactory factory;
};

} // namespace

TEST_F (ViewFactoryTest, CreatesByClassAndAppliesTheChainFromTheClassUp)
{
	UIAttributes attributes;
	attributes.setAttribute ("class", "TestDerived");
	attributes.setAttribute ("width", "42");
	auto view = owned (factory.createView (attributes, nullptr));
	ASSERT_TRUE (view);
	EXPECT_EQ (view->getWidth (), 42.);
	EXPECT_EQ (base.order, (std::vector<std::string> {"derived", "base"}));
	EXPECT_STREQ (factory.getViewName (view), "TestDerived");

	StringList names;
	EXPECT_TRUE (factory.getAttributeNamesForView (view, names));
	EXPECT_EQ (names, (StringList {"shade", "width"}));
	std::string value;
	EXPECT_TRUE (factory.getAttributeValue (view, "width", value, nullptr));
	EXPECT_EQ (value, "42");
	EXPECT_EQ (factory.getAttributeType (view, "width"), IViewCreator::kFloatType);
	EXPECT_FALSE (factory.getAttributeValue (view, "shade", value, nullptr));
}

TEST_F (ViewFactoryTest, UnknownOrMissingClassCreatesNothing)
{
	UIAttributes attributes;
	EXPECT_EQ (factory.createView (attributes, nullptr), nullptr);
	attributes.setAttribute ("class", "Nowhere");
	EXPECT_EQ (factory.createView (attributes, nullptr), nullptr);
	CView plain {CRect ()};
	EXPECT_EQ (factory.getViewName (&plain), nullptr);
}

TEST (UIAttributesTest, NumbersAndPointsParseWholeTextsOnly)
{
	const struct
	{
		const char* text;
		bool ok;
		double value;
	} numbers[] = {{"2.5", true, 2.5}, {" -3 ", true, -3.}, {"1e2", true, 100.}, {"", false, 0.},
	               {"4px", false, 0.}, {"x", false, 0.}};
	for (const auto& c : numbers)
	{
		double value = 0.;
		EXPECT_EQ (UIAttributes::stringToDouble (c.text, value), c.ok) << c.text;
		EXPECT_EQ (value, c.value) << c.text;
	}
	CPoint p (9, 9);
	EXPECT_TRUE (UIAttributes::stringToPoint ("3, -4.5", p));
	EXPECT_EQ (p, CPoint (3, -4.5));
	EXPECT_FALSE (UIAttributes::stringToPoint ("3", p));
	EXPECT_FALSE (UIAttributes::stringToPoint ("3, y", p));
	EXPECT_EQ (p, CPoint (3, -4.5));
}

TEST (UIAttributesTest, PrintsSixSignificantDigits)
{
	EXPECT_EQ (UIAttributes::doubleToString (10.), "10");
	EXPECT_EQ (UIAttributes::doubleToString (0.1234567), "0.123457");
	EXPECT_EQ (UIAttributes::pointToString (CPoint (2.5, 1234567.)), "2.5, 1.23457e+06");
}
