#include "vstgui/lib/cframe.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/platform/iplatformframe.h"

#include <algorithm>

namespace VSTGUI {
namespace {

CRect intersection (const CRect& a, const CRect& b)
{
	return CRect (std::max (a.left, b.left), std::max (a.top, b.top), std::min (a.right, b.right),
	              std::min (a.bottom, b.bottom));
}

} // namespace

CFrame::CFrame (const CRect& size) : CViewContainer (CRect (0, 0, size.getWidth (), size.getHeight ()))
{
}

void CFrame::invalidRect (const CRect& rect)
{
	const CRect visible = intersection (rect, getViewSize ());
	if (invalidRects.add (visible) && platform)
		platform->invalidRect (visible);
}

bool CFrame::drawInvalidRects (CDrawContext* context)
{
	if (invalidRects.empty ())
		return false;
	const auto rects = invalidRects.data ();
	// Views drawn now may invalidate again; those rectangles wait for the next round.
	invalidRects.clear ();
	cairo_t* cr = context->getCairoContext ();
	cairo_save (cr);
	for (const CRect& r : rects)
		cairo_rectangle (cr, r.left, r.top, r.getWidth (), r.getHeight ());
	cairo_clip (cr);
	CViewContainer::draw (context);
	cairo_restore (cr);
	return true;
}

void CFrame::draw (CDrawContext* context)
{
	invalidRects.clear ();
	CViewContainer::draw (context);
}

int32_t CFrame::onKeyDown (VstKeyCode& keyCode)
{
	return focusView ? focusView->onKeyDown (keyCode) : -1;
}

int32_t CFrame::onKeyUp (VstKeyCode& keyCode)
{
	return focusView ? focusView->onKeyUp (keyCode) : -1;
}

CMouseEventResult CFrame::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	setFocusView (findFocusViewAt (where));
	return CViewContainer::onMouseDown (where, buttons);
}

bool CFrame::removeAll (bool withForget)
{
	focusView = nullptr;
	return CViewContainer::removeAll (withForget);
}

} // namespace VSTGUI
