// Stands in for VSTGUI's view base class (vstgui/lib/cview.h).
#pragma once

#include "vstgui/lib/cbuttonstate.h"
#include "vstgui/lib/crect.h"
#include "vstgui/lib/vstguibase.h"
#include "vstgui/lib/vstkeycode.h"

#include <map>
#include <vector>

namespace VSTGUI {

class CBitmap;
class CDrawContext;
class CFrame;
class CViewContainer;
class IViewListener;

enum CMouseEventResult
{
	kMouseEventNotImplemented = 0,
	kMouseEventHandled,
	kMouseEventNotHandled,
	kMouseDownEventHandledButDontNeedMovedOrUpEvents,
	kMouseMoveEventHandledButDontNeedMoreEvents,
};

enum CMouseWheelAxis
{
	kMouseWheelAxisX = 0,
	kMouseWheelAxisY,
};

using CViewAttributeID = uint32_t;

class CView : public CBaseObject
{
public:
	explicit CView (const CRect& size);
	CView (const CView& view);
	~CView () noexcept override;

	virtual CView* newCopy () const { return new CView (*this); }
	virtual void draw (CDrawContext* context);

	//---mouse, wheel and keys: the defaults handle nothing
	virtual CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons);
	virtual CMouseEventResult onMouseCancel ();
	virtual bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	                      const CButtonState& buttons);
	virtual int32_t onKeyDown (VstKeyCode& keyCode);
	virtual int32_t onKeyUp (VstKeyCode& keyCode);

	//---size, in the parent's coordinates
	const CRect& getViewSize () const { return size; }
	virtual void setViewSize (const CRect& rect, bool invalid = true);
	const CRect& getMouseableArea () const { return mouseableArea; }
	virtual void setMouseableArea (const CRect& rect) { mouseableArea = rect; }
	CCoord getWidth () const { return size.getWidth (); }
	CCoord getHeight () const { return size.getHeight (); }
	virtual bool sizeToFit () { return false; }

	//---redraw: invalid rectangles travel up to the frame, which redraws them on its next tick
	/** Schedules a redraw of the whole view, which takes care of any pending dirtiness. */
	virtual void invalid ();
	/** rect is in the coordinates of the view size (the parent's). */
	virtual void invalidRect (const CRect& rect);
	/** A view marked dirty also schedules its redraw. */
	virtual void setDirty (bool state = true);
	virtual bool isDirty () const { return dirty; }

	//---place in the view tree; the container sets the parent when it adopts the view
	void setParentView (CViewContainer* parent) { parentView = parent; }
	/** The frame at the root of the tree, or none while the view is not in a frame. */
	virtual CFrame* getFrame () const;

	//---flags
	virtual void setMouseEnabled (bool state) { mouseEnabled = state; }
	bool getMouseEnabled () const { return mouseEnabled; }
	void setWantsFocus (bool state) { wantsFocus = state; }
	bool getWantsFocus () const { return wantsFocus; }

	//---background bitmap, shared by reference counting
	virtual void setBackground (CBitmap* background);
	CBitmap* getDrawBackground () const;

	//---listeners
	void registerViewListener (IViewListener* listener);
	void unregisterViewListener (IViewListener* listener);

	//---attributes: small blocks of bytes stored by id
	bool setAttribute (CViewAttributeID id, uint32_t inSize, const void* inData);
	bool getAttributeSize (CViewAttributeID id, uint32_t& outSize) const;
	bool getAttribute (CViewAttributeID id, uint32_t inSize, void* outData, uint32_t& outSize) const;
	bool removeAttribute (CViewAttributeID id);

protected:
	void beforeDelete () override;

private:
	CRect size;
	CRect mouseableArea;
	CViewContainer* parentView {nullptr};
	bool dirty {false};
	bool mouseEnabled {true};
	bool wantsFocus {false};
	SharedPointer<CBitmap> background;
	std::vector<IViewListener*> viewListeners;
	std::map<CViewAttributeID, std::vector<uint8_t>> attributes;
};

} // namespace VSTGUI
