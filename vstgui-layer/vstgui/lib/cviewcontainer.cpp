#include "vstgui/lib/cviewcontainer.h"

#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <utility>

namespace VSTGUI {

CViewContainer::CViewContainer (const CRect& size) : CView (size)
{
}

CViewContainer::~CViewContainer () noexcept
{
	removeAll ();
}

bool CViewContainer::addView (CView* view)
{
	if (view == nullptr || std::find (children.begin (), children.end (), view) != children.end ())
		return false;
	children.push_back (view);
	view->setParentView (this);
	view->invalid ();
	return true;
}

bool CViewContainer::removeAll (bool withForget)
{
	mouseDownView = nullptr;
	// Children go last first; each may still look at the ones before it.
	while (!children.empty ())
	{
		CView* view = children.back ();
		children.pop_back ();
		view->setParentView (nullptr);
		if (withForget)
			view->forget ();
	}
	return true;
}

CView* CViewContainer::getView (uint32_t index) const
{
	return index < children.size () ? children[index] : nullptr;
}

void CViewContainer::setBackgroundColor (const CColor& color)
{
	backgroundColor = color;
	setDirty (true);
}

void CViewContainer::setTransparency (bool state)
{
	transparent = state;
	setDirty (true);
}

void CViewContainer::draw (CDrawContext* context)
{
	const CRect& box = getViewSize ();
	if (!transparent)
	{
		context->setFillColor (backgroundColor);
		context->drawRect (box, kDrawFilled);
	}
	CView::draw (context);
	cairo_t* cr = context->getCairoContext ();
	cairo_save (cr);
	cairo_rectangle (cr, box.left, box.top, box.getWidth (), box.getHeight ());
	cairo_clip (cr);
	cairo_translate (cr, box.left, box.top);
	for (CView* child : children)
		child->draw (context);
	cairo_restore (cr);
	setDirty (false);
}

bool CViewContainer::isDirty () const
{
	return CView::isDirty () ||
	       std::any_of (children.begin (), children.end (), [] (CView* child) { return child->isDirty (); });
}

void CViewContainer::invalidChildRect (const CRect& rect)
{
	CRect inParent (rect);
	inParent.offset (getViewSize ().left, getViewSize ().top);
	invalidRect (inParent);
}

CView* CViewContainer::findFocusViewAt (const CPoint& where) const
{
	const CPoint local = toLocal (where);
	for (auto child = children.rbegin (); child != children.rend (); ++child)
	{
		CView* view = *child;
		if (!view->getMouseEnabled () || !view->getViewSize ().pointInside (local))
			continue;
		if (auto* container = dynamic_cast<CViewContainer*> (view))
			return container->findFocusViewAt (local);
		return view->getWantsFocus () ? view : nullptr;
	}
	return nullptr;
}

CPoint CViewContainer::toLocal (const CPoint& where) const
{
	return CPoint (where.x - getViewSize ().left, where.y - getViewSize ().top);
}

CMouseEventResult CViewContainer::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	CPoint local = toLocal (where);
	for (auto child = children.rbegin (); child != children.rend (); ++child)
	{
		CView* view = *child;
		if (!view->getMouseEnabled () || !view->getViewSize ().pointInside (local))
			continue;
		const CMouseEventResult result = view->onMouseDown (local, buttons);
		if (result == kMouseEventHandled)
			mouseDownView = view;
		if (result != kMouseEventNotImplemented && result != kMouseEventNotHandled)
			return result;
	}
	return kMouseEventNotHandled;
}

CMouseEventResult CViewContainer::onMouseUp (CPoint& where, const CButtonState& buttons)
{
	CView* view = mouseDownView;
	if (view == nullptr)
		return kMouseEventNotHandled;
	mouseDownView = nullptr;
	CPoint local = toLocal (where);
	return view->onMouseUp (local, buttons);
}

CMouseEventResult CViewContainer::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (mouseDownView == nullptr)
		return kMouseEventNotHandled;
	CPoint local = toLocal (where);
	const CMouseEventResult result = mouseDownView->onMouseMoved (local, buttons);
	if (result == kMouseMoveEventHandledButDontNeedMoreEvents)
		mouseDownView = nullptr;
	return result;
}

CMouseEventResult CViewContainer::onMouseCancel ()
{
	CView* view = std::exchange (mouseDownView, nullptr);
	return view ? view->onMouseCancel () : kMouseEventNotHandled;
}

bool CViewContainer::onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
                              const CButtonState& buttons)
{
	const CPoint local = toLocal (where);
	for (auto child = children.rbegin (); child != children.rend (); ++child)
	{
		CView* view = *child;
		if (view->getMouseEnabled () && view->getViewSize ().pointInside (local) &&
		    view->onWheel (local, axis, distance, buttons))
			return true;
	}
	return false;
}

// Listeners hear of the deletion while the children still exist.
void CViewContainer::beforeDelete ()
{
	CView::beforeDelete ();
	removeAll ();
}

} // namespace VSTGUI
