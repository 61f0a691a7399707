#include "SliderTestSupport.h"

#include "tests/support/Pixels.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cgraphicspath.h"

#include <gtest/gtest.h>

#include <functional>

using namespace VSTGUI;
using namespace VSTGUI::Testing;

namespace {

const CColor kGrey (127, 127, 127, 255);
const CColor kBlack (0, 0, 0, 255);
const CColor kWhite (255, 255, 255, 255);
const CColor kRed (255, 0, 0, 255);
const CColor kNone (0, 0, 0, 0);

/** What a draw context was asked to draw: shape, how, in which colour and line width. */
struct Shape
{
	CRect rect;
	int mode; // path draw mode, or 10 + CDrawStyle for plain rectangles
	CColor color;
	CCoord lineWidth;
	bool operator== (const Shape& o) const
	{
		return rect == o.rect && mode == o.mode && color == o.color && lineWidth == o.lineWidth;
	}
};

void PrintTo (const Shape& s, std::ostream* os)
{
	PrintTo (s.rect, os);
	*os << " mode " << s.mode << " ";
	PrintTo (s.color, os);
	*os << " width " << s.lineWidth;
}

constexpr int kFilled = CDrawContext::kPathFilled;
constexpr int kStroked = CDrawContext::kPathStroked;
constexpr int kRectFilledAndStroked = 10 + kDrawFilledAndStroked;
constexpr int kRectFilled = 10 + kDrawFilled;

class RecordingContext : public CDrawContext
{
public:
	RecordingContext (bool withPaths, double scale = 1.)
	: CDrawContext (surface (), scale), withPaths (withPaths)
	{
	}

	CGraphicsPath* createGraphicsPath () override { return withPaths ? CDrawContext::createGraphicsPath () : nullptr; }
	void drawGraphicsPath (CGraphicsPath* path, PathDrawMode mode) override
	{
		shapes.push_back ({path->getBoundingBox (), mode, mode == kPathStroked ? getFrameColor () : getFillColor (),
		                   getLineWidth ()});
	}
	void drawRect (const CRect& rect, const CDrawStyle style) override
	{
		shapes.push_back ({rect, 10 + style, style == kDrawStroked ? getFrameColor () : getFillColor (),
		                   getLineWidth ()});
	}

	std::vector<Shape> shapes;

private:
	static cairo_surface_t* surface ()
	{
		static cairo_surface_t* s = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, 1, 1);
		return s;
	}
	bool withPaths;
};

struct DrawCase
{
	const char* name;
	bool horizontal;
	int32_t drawStyle;
	CCoord frameWidth;
	float value;
	bool withPaths;
	std::vector<Shape> shapes;
};

void PrintTo (const DrawCase& c, std::ostream* os)
{
	*os << c.name;
}

class SliderDrawShapesTest : public testing::TestWithParam<DrawCase>
{
};

constexpr int32_t kFrameBackValue = CSlider::kDrawFrame | CSlider::kDrawBack | CSlider::kDrawValue;

} // namespace

TEST_P (SliderDrawShapesTest, DrawsFrameBackAndValueBar)
{
	const auto& c = GetParam ();
	auto slider = makeSlider (c.horizontal ? CRect (0, 0, 100, 20) : CRect (0, 0, 20, 100),
	                          c.horizontal ? kHorizontal | kLeft : kVertical | kBottom);
	slider->setDrawStyle (c.drawStyle);
	slider->setFrameWidth (c.frameWidth);
	slider->setValue (c.value);
	RecordingContext context (c.withPaths, 2.);
	slider->draw (&context);
	EXPECT_EQ (context.shapes, c.shapes);
	EXPECT_FALSE (slider->isDirty ());
}

INSTANTIATE_TEST_SUITE_P (
    Slider, SliderDrawShapesTest,
    testing::Values (
        DrawCase {"NothingByDefault", true, 0, 1., 0.5f, true, {}},
        DrawCase {"PathsInsetByHalfALine",
                  true,
                  kFrameBackValue,
                  2.,
                  0.5f,
                  true,
                  {{{1, 1, 99, 19}, kFilled, kBlack, 2.},
                   {{1, 1, 99, 19}, kStroked, kGrey, 2.},
                   {{2, 2, 50, 18}, kFilled, kWhite, 2.}}},
        DrawCase {"FromCentre",
                  true,
                  kFrameBackValue | CSlider::kDrawValueFromCenter,
                  2.,
                  0.25f,
                  true,
                  {{{1, 1, 99, 19}, kFilled, kBlack, 2.},
                   {{1, 1, 99, 19}, kStroked, kGrey, 2.},
                   {{26, 2, 50, 18}, kFilled, kWhite, 2.}}},
        DrawCase {"FromCentreInverted",
                  true,
                  CSlider::kDrawValue | CSlider::kDrawValueFromCenter | CSlider::kDrawInverted,
                  1.,
                  0.25f,
                  true,
                  {{{50, 0, 75, 20}, kFilled, kWhite, 1.}}},
        DrawCase {"FromRightEdge",
                  true,
                  CSlider::kDrawValue | CSlider::kDrawInverted,
                  1.,
                  0.25f,
                  true,
                  {{{75, 0, 100, 20}, kFilled, kWhite, 1.}}},
        DrawCase {"HairlineFrame",
                  true,
                  CSlider::kDrawFrame,
                  -1.,
                  0.5f,
                  true,
                  {{{0.25, 0.25, 99.75, 19.75}, kStroked, kGrey, 0.5}}},
        DrawCase {"VerticalFullBarFromTheBottom",
                  false,
                  CSlider::kDrawValue,
                  1.,
                  1.f,
                  true,
                  {{{0, 0, 20, 100}, kFilled, kWhite, 1.}}},
        DrawCase {"VerticalQuarterFromTheBottom",
                  false,
                  CSlider::kDrawValue,
                  1.,
                  0.25f,
                  true,
                  {{{0, 75, 20, 100}, kFilled, kWhite, 1.}}},
        DrawCase {"VerticalFromCentreGoesDown",
                  false,
                  CSlider::kDrawValue | CSlider::kDrawValueFromCenter,
                  1.,
                  1.f,
                  true,
                  {{{0, 50, 20, 100}, kFilled, kWhite, 1.}}},
        DrawCase {"EmptyBarSkipped", true, CSlider::kDrawValue, 1., 0.f, true, {}},
        DrawCase {"CentreBarAtHalfSkipped", true, CSlider::kDrawValue | CSlider::kDrawValueFromCenter, 1., 0.5f,
                  true, {}},
        DrawCase {"RectanglesWithoutPaths",
                  true,
                  kFrameBackValue,
                  2.,
                  0.5f,
                  false,
                  {{{0, 0, 100, 20}, kRectFilledAndStroked, kBlack, 2.}, {{1, 1, 50, 19}, kRectFilled, kWhite, 2.}}}),
    [] (const testing::TestParamInfo<DrawCase>& info) { return info.param.name; });

//------------------------------------------------------------------------
namespace {

class CountingSlider : public CSlider
{
public:
	CountingSlider () : CSlider (CRect (0, 0, 100, 20), nullptr, 0, 0, 80, nullptr, nullptr) {}
	void invalid () override { ++invalidations; }
	int invalidations {0};
};

} // namespace

TEST (SliderDrawSettersTest, DefaultsAndInvalidationOnlyOnRealChange)
{
	CountingSlider slider;
	EXPECT_EQ (slider.getDrawStyle (), 0);
	EXPECT_EQ (slider.getFrameWidth (), 1.);
	EXPECT_EQ (slider.getFrameColor (), kGrey);
	EXPECT_EQ (slider.getBackColor (), kBlack);
	EXPECT_EQ (slider.getValueColor (), kWhite);

	const std::function<void ()> unchanged[] = {
	    [&] { slider.setFrameColor (kGrey); }, [&] { slider.setBackColor (kBlack); },
	    [&] { slider.setValueColor (kWhite); }, [&] { slider.setDrawStyle (0); }, [&] { slider.setFrameWidth (1.); },
	    [&] { slider.setBackgroundOffset (CPoint (3, 4)); }};
	for (const auto& set : unchanged)
		set ();
	EXPECT_EQ (slider.invalidations, 0);

	const std::function<void ()> changed[] = {
	    [&] { slider.setFrameColor (CColor (127, 127, 127, 254)); }, [&] { slider.setBackColor (kRed); },
	    [&] { slider.setValueColor (kRed); }, [&] { slider.setDrawStyle (CSlider::kDrawBack); },
	    [&] { slider.setFrameWidth (2.); }};
	for (const auto& set : changed)
		set ();
	EXPECT_EQ (slider.invalidations, 5);
	EXPECT_EQ (slider.getBackgroundOffset (), CPoint (3, 4));
}

//------------------------------------------------------------------------
namespace {

using veltrane_test::Canvas;

SharedPointer<CBitmap> filledBitmap (CCoord width, CCoord height, const CColor& left, const CColor& right)
{
	auto bitmap = makeOwned<CBitmap> (width, height);
	auto context = makeOwned<CDrawContext> (bitmap->getSurface ());
	context->setFillColor (left);
	context->drawRect (CRect (0, 0, width / 2, height), kDrawFilled);
	context->setFillColor (right);
	context->drawRect (CRect (width / 2, 0, width, height), kDrawFilled);
	return bitmap;
}

} // namespace

TEST (SliderRenderTest, DrawnSliderPaintsFrameBackAndBar)
{
	Canvas canvas (100, 20);
	auto slider = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft);
	slider->setDrawStyle (kFrameBackValue);
	slider->setFrameWidth (2.);
	slider->setValue (0.5f);
	auto context = makeOwned<CDrawContext> (canvas.surface);
	slider->draw (context);
	EXPECT_EQ (canvas.pixel (0, 10), kGrey);
	EXPECT_EQ (canvas.pixel (50, 0), kGrey);
	EXPECT_EQ (canvas.pixel (20, 10), kWhite);
	EXPECT_EQ (canvas.pixel (49, 10), kWhite);
	EXPECT_EQ (canvas.pixel (51, 10), kBlack);
	EXPECT_EQ (canvas.pixel (97, 17), kBlack);
}

TEST (SliderRenderTest, BitmapSliderPaintsBackgroundFromItsOffsetAndTheHandleAtTheValue)
{
	Canvas canvas (140, 30);
	auto background = filledBitmap (200, 20, kBlack, kWhite);
	auto handle = filledBitmap (10, 20, kRed, kRed);
	CSlider slider (CRect (20, 5, 120, 25), nullptr, 0, 20, 110, handle, background, CPoint (50, 0));
	slider.setViewSize (slider.getViewSize ()); // handle travel now 90 from the view's edge
	slider.setValue (0.5f);
	auto context = makeOwned<CDrawContext> (canvas.surface);
	slider.draw (context);
	EXPECT_EQ (canvas.pixel (10, 10), kNone) << "outside the view";
	EXPECT_EQ (canvas.pixel (25, 10), kBlack) << "background from x = 50";
	EXPECT_EQ (canvas.pixel (100, 10), kWhite) << "background past its middle";
	EXPECT_EQ (canvas.pixel (65, 15), kRed) << "handle from 65 to 75";
	EXPECT_EQ (canvas.pixel (74, 24), kRed);
	EXPECT_EQ (canvas.pixel (76, 15), kWhite);
	EXPECT_FALSE (slider.isDirty ());
}
