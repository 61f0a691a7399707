#include "tests/support/Pixels.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cgraphicspath.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

using namespace VSTGUI;

namespace {

using veltrane_test::Canvas;

const CColor red (255, 0, 0);
const CColor blue (0, 0, 255);
const CColor none (0, 0, 0, 0);

} // namespace

TEST (DrawContextTest, RectanglesFillAndStrokeWithTheirColours)
{
	Canvas canvas (20, 20);
	auto context = makeOwned<CDrawContext> (canvas.surface);
	context->setFillColor (red);
	context->setFrameColor (blue);
	context->setLineWidth (2.);
	context->drawRect (CRect (2, 2, 18, 18), kDrawFilledAndStroked);
	EXPECT_EQ (canvas.pixel (10, 10), red);
	EXPECT_EQ (canvas.pixel (2, 10), blue);
	EXPECT_EQ (canvas.pixel (0, 0), none);
}

TEST (DrawContextTest, PathsRecordTheirBoundsAndFill)
{
	Canvas canvas (20, 20);
	auto context = makeOwned<CDrawContext> (canvas.surface);
	auto path = owned (context->createGraphicsPath ());
	path->beginSubpath (CPoint (4, 4));
	path->addLine (CPoint (12, 4));
	path->addLine (CPoint (12, 10));
	path->closeSubpath ();
	path->addRect (CRect (18, 12, 14, 18));
	EXPECT_EQ (path->getBoundingBox (), CRect (4, 4, 18, 18));
	context->setFillColor (red);
	context->drawGraphicsPath (path);
	EXPECT_EQ (canvas.pixel (11, 5), red);
	EXPECT_EQ (canvas.pixel (16, 15), red);
	EXPECT_EQ (canvas.pixel (5, 9), none);
}

TEST (DrawContextTest, BitmapsDrawFromTheirOffsetInsideTheDestinationOnly)
{
	auto bitmap = makeOwned<CBitmap> (4., 2.);
	{
		auto paint = makeOwned<CDrawContext> (bitmap->getSurface ());
		paint->setFillColor (red);
		paint->drawRect (CRect (0, 0, 2, 2), kDrawFilled);
		paint->setFillColor (blue);
		paint->drawRect (CRect (2, 0, 4, 2), kDrawFilled);
	}
	Canvas canvas (10, 10);
	auto context = makeOwned<CDrawContext> (canvas.surface);
	bitmap->draw (context, CRect (5, 5, 8, 7), CPoint (2, 0));
	EXPECT_EQ (canvas.pixel (5, 5), blue);
	EXPECT_EQ (canvas.pixel (6, 6), blue);
	EXPECT_EQ (canvas.pixel (7, 5), none);
	EXPECT_EQ (canvas.pixel (4, 5), none);
}

TEST (BitmapTest, LoadsAPngFileAndKnowsItsSize)
{
	const std::string file = testing::TempDir () + "vstgui_layer_bitmap.png";
	{
		Canvas canvas (6, 3);
		ASSERT_EQ (cairo_surface_write_to_png (canvas.surface, file.c_str ()), CAIRO_STATUS_SUCCESS);
	}
	CBitmap loaded (CResourceDescription (file.c_str ()));
	EXPECT_TRUE (loaded.isLoaded ());
	EXPECT_EQ (loaded.getSize (), CPoint (6, 3));
	std::remove (file.c_str ());

	CBitmap missing (CResourceDescription ("no such file.png"));
	EXPECT_FALSE (missing.isLoaded ());
	EXPECT_EQ (missing.getSize (), CPoint (0, 0));
}

TEST (DrawContextTest, HairlineIsOneDevicePixel)
{
	Canvas canvas (4, 4);
	EXPECT_EQ (CDrawContext (canvas.surface, 2.).getHairlineSize (), 0.5);
}
