#include "tests/support/Pixels.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/controls/cparamdisplay.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/uidescription.h"

#include <gtest/gtest.h>

#include <cairo.h>

#include <algorithm>
#include <string>

using namespace VSTGUI;

namespace {

constexpr int kWidth = 120;
constexpr int kHeight = 40;
constexpr uint32_t kUnder = 0xff102030; // what lies under the display
constexpr uint32_t kBack = 0xff405060;
constexpr uint32_t kFrame = 0xffa0a0a0;
constexpr uint32_t kInk = 0xffffffff;

// A template holding one view with the attributes given, built and drawn over kUnder.
class DrawnView
{
public:
	explicit DrawnView (const std::string& viewAttributes)
	{
		const std::string xml = R"(<vstgui-ui-description version="1">
	<colors><color name="back" rgba="#405060"/><color name="frame" rgba="#a0a0a0"/></colors>
	<fonts>
		<font name="big" font-name="sans-serif" size="24" bold="true"/>
		<font name="sizeless" font-name="sans-serif" size="0" bold="true"/>
		<font name="nameless" size="24" bold="true"/>
	</fonts>
	<template name="main" class="CViewContainer" origin="0, 0" size="120, 40" transparent="true">
		<view origin="0, 0" size="120, 40" font-color="#ffffff" back-color="back" frame-color="frame" )" +
		                        viewAttributes + R"(/>
	</template>
</vstgui-ui-description>)";
		EXPECT_TRUE (description->parseText (xml));
		root = owned (description->createView ("main", nullptr));
		EXPECT_NE (root, nullptr);
	}
	~DrawnView () { cairo_surface_destroy (surface); }

	CParamDisplay* display () const
	{
		return dynamic_cast<CParamDisplay*> (static_cast<CViewContainer*> (root.get ())->getView (0));
	}

	void draw ()
	{
		cairo_t* cr = cairo_create (surface);
		cairo_set_source_rgb (cr, 0x10 / 255., 0x20 / 255., 0x30 / 255.);
		cairo_paint (cr);
		cairo_destroy (cr);
		auto context = owned (new CDrawContext (surface));
		root->draw (context);
		cairo_surface_flush (surface);
	}

	uint32_t pixel (int x, int y) const { return veltrane_test::pixelAt (surface, x, y); }

	// The columns and rows of the pure text colour, inside the frame.
	CRect ink () const
	{
		CRect found (kWidth, kHeight, 0, 0);
		for (int y = 1; y < kHeight - 1; ++y)
			for (int x = 1; x < kWidth - 1; ++x)
				if (pixel (x, y) == kInk)
					found = CRect (std::min<CCoord> (found.left, x), std::min<CCoord> (found.top, y),
					               std::max<CCoord> (found.right, x + 1), std::max<CCoord> (found.bottom, y + 1));
		return found;
	}

private:
	SharedPointer<UIDescription> description = makeOwned<UIDescription> (CResourceDescription ("unused.uidesc"));
	SharedPointer<CView> root;
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, kWidth, kHeight);
};

struct AlignCase
{
	const char* attributes;
	double inkCentreFrom; // the ink's horizontal centre lies in this range
	double inkCentreTo;
};

class Alignment : public testing::TestWithParam<AlignCase>
{
};

const AlignCase kAlignments[] = {
    {R"(class="CTextLabel" title="Go" text-alignment="left")", 0., 20.},
    {R"(class="CTextLabel" title="Go" text-alignment="left" text-inset="30, 0")", 30., 50.},
    {R"(class="CTextLabel" title="Go")", 50., 70.},
    {R"(class="CTextLabel" title="Go" text-alignment="center")", 50., 70.},
    {R"(class="CTextLabel" title="Go" text-alignment="right")", 100., 120.},
    {R"(class="CParamDisplay" text-alignment="right")", 80., 120.},
};

} // namespace

TEST_P (Alignment, TextSitsWhereTheAttributesPlaceIt)
{
	DrawnView view (GetParam ().attributes);
	view.draw ();
	const CRect ink = view.ink ();
	ASSERT_LT (ink.left, ink.right) << "no text drawn for " << GetParam ().attributes;
	const double centre = (ink.left + ink.right) / 2.;
	EXPECT_GE (centre, GetParam ().inkCentreFrom) << GetParam ().attributes;
	EXPECT_LE (centre, GetParam ().inkCentreTo) << GetParam ().attributes;
	// Vertically centred within a pixel or two.
	EXPECT_NEAR ((ink.top + ink.bottom) / 2., kHeight / 2., 2.) << GetParam ().attributes;
}

INSTANTIATE_TEST_SUITE_P (ParamDisplay, Alignment, testing::ValuesIn (kAlignments));

TEST (ParamDisplay, BackgroundAndFrameUnlessTransparentOrTurnedOff)
{
	struct Case
	{
		const char* attributes;
		uint32_t corner;
		uint32_t inside;
	};
	const Case cases[] = {
	    {R"(class="CParamDisplay")", kFrame, kBack},
	    {R"(class="CParamDisplay" style-no-frame="true")", kBack, kBack},
	    {R"(class="CParamDisplay" transparent="true")", kUnder, kUnder},
	    {R"(class="CTextLabel" title="x")", kFrame, kBack},
	};
	for (const Case& c : cases)
	{
		DrawnView view (c.attributes);
		view.draw ();
		EXPECT_EQ (view.pixel (0, 0), c.corner) << c.attributes;
		EXPECT_EQ (view.pixel (kWidth - 1, kHeight - 1), c.corner) << c.attributes;
		EXPECT_EQ (view.pixel (2, 2), c.inside) << c.attributes;
	}
}

TEST (ParamDisplay, ShowsItsValueOrWhatItsFunctionMakesOfIt)
{
	DrawnView view (R"(class="CParamDisplay")");
	CParamDisplay* display = view.display ();
	ASSERT_NE (display, nullptr);
	display->setValue (0.5f);
	EXPECT_EQ (display->getValueText (display->getValue ()), "0.50");
	view.draw ();
	const CRect printed = view.ink ();

	display->setValueToStringFunction2 ([] (float value, std::string& result, CParamDisplay*) {
		result = value > 0.25f ? "a much longer text" : "";
		return value > 0.f;
	});
	EXPECT_EQ (display->getValueText (0.5f), "a much longer text");
	EXPECT_EQ (display->getValueText (0.1f), "");
	// A function that declines leaves the value printed.
	EXPECT_EQ (display->getValueText (0.f), "0.00");
	view.draw ();
	EXPECT_GT (view.ink ().getWidth (), printed.getWidth ());
}

TEST (ParamDisplay, NamedFontsDrawLargerAndUnknownOrBrokenOnesKeepTheDefault)
{
	DrawnView normal (R"(class="CTextLabel" title="Hg")");
	DrawnView big (R"(class="CTextLabel" title="Hg" font="big")");
	normal.draw ();
	big.draw ();
	EXPECT_GT (big.ink ().getHeight (), normal.ink ().getHeight () * 1.5);
	EXPECT_GT (big.ink ().getWidth (), normal.ink ().getWidth () * 1.5);
	for (const char* name : {"none", "sizeless", "nameless"})
	{
		DrawnView other (std::string (R"(class="CTextLabel" title="Hg" font=")") + name + "\"");
		other.draw ();
		EXPECT_EQ (other.ink (), normal.ink ()) << name;
	}
}
