#include "vstgui/lib/cview.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/lib/iviewlistener.h"

#include <algorithm>
#include <cstring>

namespace VSTGUI {

CView::CView (const CRect& size) : size (size), mouseableArea (size)
{
}

// Listeners belong to the original view; the copy starts without any.
CView::CView (const CView& view)
: CBaseObject (view)
, size (view.size)
, mouseableArea (view.mouseableArea)
, dirty (view.dirty)
, mouseEnabled (view.mouseEnabled)
, wantsFocus (view.wantsFocus)
, background (view.background)
, attributes (view.attributes)
{
}

CView::~CView () noexcept = default;

void CView::draw (CDrawContext* context)
{
	if (auto bitmap = getDrawBackground ())
		bitmap->draw (context, getViewSize ());
	setDirty (false);
}

CMouseEventResult CView::onMouseDown (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseUp (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseMoved (CPoint&, const CButtonState&)
{
	return kMouseEventNotImplemented;
}

CMouseEventResult CView::onMouseCancel ()
{
	return kMouseEventNotImplemented;
}

bool CView::onWheel (const CPoint&, const CMouseWheelAxis&, const float&, const CButtonState&)
{
	return false;
}

int32_t CView::onKeyDown (VstKeyCode&)
{
	return -1;
}

int32_t CView::onKeyUp (VstKeyCode&)
{
	return -1;
}

void CView::setViewSize (const CRect& rect, bool doInvalid)
{
	if (rect == size)
		return;
	if (doInvalid)
		invalid ();
	const CRect oldSize = size;
	size = rect;
	if (doInvalid)
		invalid ();
	const auto listeners = viewListeners;
	for (auto listener : listeners)
		if (std::find (viewListeners.begin (), viewListeners.end (), listener) != viewListeners.end ())
			listener->viewSizeChanged (this, oldSize);
}

void CView::invalid ()
{
	setDirty (false);
	invalidRect (getViewSize ());
}

void CView::invalidRect (const CRect& rect)
{
	if (parentView)
		parentView->invalidChildRect (rect);
}

void CView::setDirty (bool state)
{
	dirty = state;
	if (state)
		invalidRect (getViewSize ());
}

CFrame* CView::getFrame () const
{
	return parentView ? parentView->getFrame () : nullptr;
}

void CView::setBackground (CBitmap* bitmap)
{
	background = bitmap;
	setDirty (true);
}

CBitmap* CView::getDrawBackground () const
{
	return background;
}

void CView::registerViewListener (IViewListener* listener)
{
	if (std::find (viewListeners.begin (), viewListeners.end (), listener) == viewListeners.end ())
		viewListeners.push_back (listener);
}

void CView::unregisterViewListener (IViewListener* listener)
{
	viewListeners.erase (std::remove (viewListeners.begin (), viewListeners.end (), listener),
	                     viewListeners.end ());
}

bool CView::setAttribute (CViewAttributeID id, uint32_t inSize, const void* inData)
{
	if (inSize > 0 && !inData)
		return false;
	const auto bytes = static_cast<const uint8_t*> (inData);
	attributes[id] = inSize ? std::vector<uint8_t> (bytes, bytes + inSize) : std::vector<uint8_t> {};
	return true;
}

bool CView::getAttributeSize (CViewAttributeID id, uint32_t& outSize) const
{
	auto it = attributes.find (id);
	if (it == attributes.end ())
		return false;
	outSize = static_cast<uint32_t> (it->second.size ());
	return true;
}

bool CView::getAttribute (CViewAttributeID id, uint32_t inSize, void* outData, uint32_t& outSize) const
{
	auto it = attributes.find (id);
	if (it == attributes.end () || inSize < it->second.size () || (!outData && !it->second.empty ()))
		return false;
	outSize = static_cast<uint32_t> (it->second.size ());
	if (outSize)
		std::memcpy (outData, it->second.data (), outSize);
	return true;
}

bool CView::removeAttribute (CViewAttributeID id)
{
	return attributes.erase (id) > 0;
}

// A listener may unregister itself while it is told.
void CView::beforeDelete ()
{
	const auto listeners = viewListeners;
	for (auto listener : listeners)
		if (std::find (viewListeners.begin (), viewListeners.end (), listener) != viewListeners.end ())
			listener->viewWillDelete (this);
	viewListeners.clear ();
}

} // namespace VSTGUI
