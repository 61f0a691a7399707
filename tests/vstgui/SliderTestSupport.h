#pragma once

#include "tests/support/ControlRecorder.h"

#include "vstgui/lib/controls/cslider.h"
#include "vstgui/lib/controls/icontrollistener.h"
#include "vstgui/lib/vstguidebug.h"

#include <ostream>
#include <string>
#include <vector>

namespace VSTGUI {

inline void PrintTo (const CRect& r, std::ostream* os)
{
	*os << "(" << r.left << ", " << r.top << ", " << r.right << ", " << r.bottom << ")";
}

inline void PrintTo (const CPoint& p, std::ostream* os)
{
	*os << "(" << p.x << ", " << p.y << ")";
}

inline void PrintTo (const CColor& c, std::ostream* os)
{
	*os << "rgba(" << int (c.red) << ", " << int (c.green) << ", " << int (c.blue) << ", " << int (c.alpha) << ")";
}
namespace Testing {

/** Collects assertion messages while it lives. */
class AssertionRecorder
{
public:
	AssertionRecorder ()
	{
		setAssertionHandler ([this] (const char*, const char*, const char* desc) {
			messages.push_back (desc ? desc : "");
		});
	}
	~AssertionRecorder () { setAssertionHandler (nullptr); }

	std::vector<std::string> messages;
};

/** Puts the process-wide slider mode back when a test has changed it. */
class GlobalModeGuard
{
public:
	~GlobalModeGuard () { CSliderBase::setGlobalMode (saved); }

private:
	CSliderMode saved {CSliderBase::getGlobalMode ()};
};

/** A slider whose handle is size × size with no offset, so that its travel is the view's length minus size. */
inline SharedPointer<CSlider> makeSlider (const CRect& view, int32_t style, CCoord handle = 20.)
{
	auto slider = makeOwned<CSlider> (view, nullptr, 0, 0, 0, nullptr, nullptr, CPoint (0, 0), style);
	slider->setHandleSize (handle, handle);
	slider->setViewSize (slider->getViewSize ());
	return slider;
}

/** The handle's travel as its rectangles show it: range is how far the leading edge moves from
    one end of the values to the other (counted from the offset), minPos and maxPos where the
    leading and the trailing edge are held far beyond the ends; all relative to the view. */
struct HandleTravel
{
	CCoord range;
	CCoord minPos;
	CCoord maxPos;
};

inline HandleTravel travelOf (const CSliderBase& slider)
{
	constexpr float kFarBeyond = 1e6f;
	const bool horizontal = slider.isStyleHorizontal ();
	const bool reversed = (slider.getStyle () & (kRight | kBottom)) != 0;
	const CRect view = slider.getViewSize ();
	auto leading = [&] (float value) {
		const CRect r = slider.calculateHandleRect (value);
		return horizontal ? r.left - view.left : r.top - view.top;
	};
	auto trailing = [&] (float value) {
		const CRect r = slider.calculateHandleRect (value);
		return horizontal ? r.right - view.left : r.bottom - view.top;
	};
	const CCoord offset = horizontal ? slider.getOffsetHandle ().x : slider.getOffsetHandle ().y;
	return {leading (reversed ? 0.f : 1.f) - offset, leading (reversed ? kFarBeyond : -kFarBeyond),
	        trailing (reversed ? -kFarBeyond : kFarBeyond)};
}

} // namespace Testing
} // namespace VSTGUI
