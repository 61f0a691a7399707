#include "SliderTestSupport.h"

#include "vstgui/lib/cbitmap.h"

#include <gtest/gtest.h>

#include <typeinfo>

using namespace VSTGUI;
using namespace VSTGUI::Testing;

TEST (SliderModeTest, ANewSliderFollowsTheGlobalModeWhichStartsAsKSFreeClick)
{
	auto slider = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft);
	EXPECT_EQ (slider->getSliderMode (), CSliderMode::UseGlobal);
	EXPECT_EQ (slider->getEffectiveSliderMode (), CSliderMode::KSFreeClick);
	EXPECT_EQ (static_cast<int32_t> (CSliderMode::KSFreeClick), 3);
}

TEST (SliderModeTest, TheGlobalModeReachesOnlySlidersThatFollowIt)
{
	GlobalModeGuard guard;
	auto following = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft);
	auto own = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft);
	own->setSliderMode (CSliderMode::Touch);
	CSliderBase::setGlobalMode (CSliderMode::Ramp);
	EXPECT_EQ (following->getEffectiveSliderMode (), CSliderMode::Ramp);
	EXPECT_EQ (own->getEffectiveSliderMode (), CSliderMode::Touch);
}

TEST (SliderModeTest, UseGlobalAsTheGlobalModeAssertsAndIsStoredAllTheSame)
{
	GlobalModeGuard guard;
	AssertionRecorder assertions;
	auto slider = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft);
	CSliderBase::setGlobalMode (CSliderMode::UseGlobal);
	EXPECT_EQ (assertions.messages, std::vector<std::string> {"do not set the global mode to use global"});
	EXPECT_EQ (CSliderBase::getGlobalMode (), CSliderMode::UseGlobal);
	EXPECT_EQ (slider->getEffectiveSliderMode (), CSliderMode::UseGlobal);
}

TEST (SliderModeTest, AModeOutsideTheNamedOnesIsKept)
{
	auto slider = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft);
	slider->setSliderMode (static_cast<CSliderMode> (7));
	EXPECT_EQ (static_cast<int32_t> (slider->getSliderMode ()), 7);
	EXPECT_EQ (static_cast<int32_t> (slider->getEffectiveSliderMode ()), 7);
}

TEST (SliderStyleTest, AStyleWithoutExactlyOneOrientationAssertsAndIsStored)
{
	const struct
	{
		int32_t style;
		bool horizontal;
	} cases[] = {{0, false}, {kHorizontal | kVertical, true}};
	auto slider = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft);
	for (const auto& c : cases)
	{
		AssertionRecorder assertions;
		slider->setStyle (c.style);
		EXPECT_EQ (assertions.messages.size (), 1u) << c.style;
		EXPECT_EQ (slider->getStyle (), c.style);
		EXPECT_EQ (slider->isStyleHorizontal (), c.horizontal) << c.style;
	}
	AssertionRecorder assertions;
	slider->setStyle (kVertical | kTop);
	EXPECT_TRUE (assertions.messages.empty ());
}

TEST (SliderStyleTest, InverseStyleIsRightWhenHorizontalAndTopOtherwise)
{
	const struct
	{
		int32_t style;
		bool inverse;
	} cases[] = {{kHorizontal | kLeft, false}, {kHorizontal | kRight, true},     {kHorizontal | kBottom, false},
	             {kVertical | kTop, true},     {kVertical | kBottom, false},     {kVertical | kRight, false}};
	auto slider = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft);
	for (const auto& c : cases)
	{
		slider->setStyle (c.style);
		EXPECT_EQ (slider->isInverseStyle (), c.inverse) << c.style;
	}
}

//------------------------------------------------------------------------
namespace {

struct HandleRectCase
{
	CRect view;
	int32_t style;
	float value;
	CRect expected;
};

class HandleRectTest : public testing::TestWithParam<HandleRectCase>
{
};

} // namespace

TEST_P (HandleRectTest, FollowsValueDirectionAndLimits)
{
	const auto& c = GetParam ();
	const bool horizontal = c.style & kHorizontal;
	auto slider = makeOwned<CSlider> (c.view, nullptr, 0, 0, 0, nullptr, nullptr, CPoint (0, 0), c.style);
	slider->setHandleSize (horizontal ? 20. : 16., horizontal ? 16. : 20.);
	slider->setOffsetHandle (CPoint (2, 2));
	slider->setViewSize (slider->getViewSize ());
	EXPECT_EQ (slider->getHandleStart (), 0.);
	const HandleTravel travel = travelOf (*slider);
	EXPECT_EQ (travel.range, 176.);
	EXPECT_EQ (travel.minPos, 2.);
	EXPECT_EQ (travel.maxPos, 198.);
	EXPECT_EQ (slider->calculateHandleRect (c.value), c.expected);
}

INSTANTIATE_TEST_SUITE_P (
    Slider, HandleRectTest,
    testing::Values (
        HandleRectCase {{10, 10, 210, 30}, kHorizontal | kLeft, 0.5f, {100, 12, 120, 28}},
        HandleRectCase {{10, 10, 210, 30}, kHorizontal | kRight, 0.25f, {144, 12, 164, 28}},
        // kBottom reverses a horizontal slider too
        HandleRectCase {{10, 10, 210, 30}, kHorizontal | kBottom, 0.25f, {144, 12, 164, 28}},
        // below 0 the leading edge stays at the start; above 1 the trailing edge stops at the end
        HandleRectCase {{10, 10, 210, 30}, kHorizontal | kLeft, -0.5f, {12, 12, 32, 28}},
        HandleRectCase {{10, 10, 210, 30}, kHorizontal | kLeft, 1.05f, {196, 12, 208, 28}},
        HandleRectCase {{10, 10, 30, 210}, kVertical | kBottom, 0.5f, {12, 100, 28, 120}},
        HandleRectCase {{10, 10, 30, 210}, kVertical | kTop, 0.25f, {12, 56, 28, 76}},
        HandleRectCase {{10, 10, 30, 210}, kVertical | kBottom, 0.f, {12, 188, 28, 208}}));

TEST (SliderGeometryTest, HandlePositionIsFloored)
{
	auto slider = makeSlider (CRect (0, 0, 119, 20), kHorizontal | kLeft);
	ASSERT_EQ (travelOf (*slider).range, 99.);
	EXPECT_EQ (slider->calculateHandleRect (0.5f).left, 49.);
}

TEST (SliderGeometryTest, ResizingRefitsTheTravelAlongTheAxis)
{
	auto slider = makeSlider (CRect (0, 0, 100, 20), kVertical | kBottom, 10.);
	slider->setOffsetHandle (CPoint (1, 3));
	slider->setViewSize (CRect (5, 5, 25, 105));
	const HandleTravel travel = travelOf (*slider);
	EXPECT_EQ (travel.range, 100. - 10. - 6.);
	EXPECT_EQ (travel.minPos, 3.);
	EXPECT_EQ (travel.maxPos, 97.);
	EXPECT_EQ (slider->getControlSize (), CPoint (20, 100));
}

//------------------------------------------------------------------------
TEST (SliderConstructionTest, TravelFromMinAndMaxPositionsWithoutBitmaps)
{
	CSlider slider (CRect (10, 10, 210, 30), nullptr, 0, 20, 150, nullptr, nullptr);
	EXPECT_EQ (slider.getHandleSize (), CPoint (1, 1));
	EXPECT_EQ (slider.getHandleStart (), 10.);
	const HandleTravel travel = travelOf (slider);
	EXPECT_EQ (travel.range, 130.);
	EXPECT_EQ (travel.minPos, 10.);
	EXPECT_EQ (travel.maxPos, 141.);
	EXPECT_EQ (slider.getOffsetHandle (), CPoint (0, 0));
	EXPECT_TRUE (slider.getWantsFocus ());
	EXPECT_EQ (slider.getStyle (), kLeft | kHorizontal);
}

TEST (SliderConstructionTest, RangeArgumentIncludesTheHandle)
{
	auto handle = makeOwned<CBitmap> (20., 10.);
	CSlider slider (CRect (0, 0, 100, 20), nullptr, 0, CPoint (3, 4), 100, handle, nullptr);
	EXPECT_EQ (slider.getHandleSize (), CPoint (20, 10));
	const HandleTravel travel = travelOf (slider);
	EXPECT_EQ (travel.range, 80.);
	EXPECT_EQ (travel.minPos, 3.);
	EXPECT_EQ (travel.maxPos, 103.);
	EXPECT_EQ (slider.getOffsetHandle (), CPoint (3, 4));
	EXPECT_EQ (handle->getNbReference (), 2);
}

TEST (SliderConstructionTest, HandleBitmapSetsTheHandleSizeAndRefitsTheTravel)
{
	auto slider = makeSlider (CRect (0, 0, 100, 20), kHorizontal | kLeft, 5.);
	auto handle = makeOwned<CBitmap> (20., 10.);
	slider->setHandle (handle);
	EXPECT_EQ (slider->getHandleSize (), CPoint (20, 10));
	EXPECT_EQ (slider->getHandleStart (), 0.);
	EXPECT_EQ (travelOf (*slider).range, 80.);
	slider->setHandle (nullptr);
	EXPECT_EQ (slider->getHandleSize (), CPoint (1, 1));
	EXPECT_EQ (travelOf (*slider).range, 80.);
	EXPECT_EQ (handle->getNbReference (), 1);
}

TEST (SliderConstructionTest, VariantsAddTheirOrientationAndCopyAsPlainSliders)
{
	auto handle = makeOwned<CBitmap> (10., 10.);
	auto vertical = makeOwned<CVerticalSlider> (CRect (0, 0, 20, 100), nullptr, 0, 0, 90, handle, nullptr);
	auto horizontal = makeOwned<CHorizontalSlider> (CRect (0, 0, 100, 20), nullptr, 0, 0, 90, nullptr, nullptr);
	EXPECT_EQ (vertical->getStyle (), kVertical | kBottom);
	EXPECT_EQ (horizontal->getStyle (), kHorizontal | kLeft);

	vertical->setSliderMode (CSliderMode::Ramp);
	vertical->setZoomFactor (4.f);
	auto copy = owned (vertical->newCopy ());
	EXPECT_EQ (typeid (*copy), typeid (CSlider));
	auto slider = static_cast<CSlider*> (copy.get ());
	EXPECT_EQ (slider->getStyle (), kVertical | kBottom);
	EXPECT_EQ (slider->getSliderMode (), CSliderMode::Ramp);
	EXPECT_EQ (slider->getZoomFactor (), 4.f);
	EXPECT_EQ (travelOf (*slider).range, 90.);
	EXPECT_EQ (slider->getHandle (), handle.get ());
	EXPECT_EQ (handle->getNbReference (), 3);
}

TEST (SliderConstructionTest, SizeToFitTakesTheBackgroundSize)
{
	auto background = makeOwned<CBitmap> (120., 24.);
	CSlider slider (CRect (10, 10, 50, 20), nullptr, 0, 10, 20, nullptr, background);
	EXPECT_TRUE (slider.sizeToFit ());
	EXPECT_EQ (slider.getViewSize (), CRect (10, 10, 130, 34));
	EXPECT_EQ (slider.getMouseableArea (), CRect (10, 10, 130, 34));
	EXPECT_EQ (travelOf (slider).range, 119.);

	CSlider bare (CRect (10, 10, 50, 20), nullptr, 0, 10, 20, nullptr, nullptr);
	EXPECT_FALSE (bare.sizeToFit ());
	EXPECT_EQ (bare.getViewSize (), CRect (10, 10, 50, 20));
}
