// Stands in for VSTGUI's frame (vstgui/lib/cframe.h), the root of an editor's view tree.
#pragma once

#include "vstgui/lib/cinvalidrectlist.h"
#include "vstgui/lib/cviewcontainer.h"

namespace VSTGUI {

class IPlatformFrame;

/** The root container, at 0, 0 of the window or surface it is drawn into. It collects the
    rectangles its views invalidate until they are drawn, and sends keys to the focus view, which
    a press gives to the view under the mouse. */
class CFrame : public CViewContainer
{
public:
	/** Only the size of size counts: a frame always starts at 0, 0. */
	explicit CFrame (const CRect& size);

	/** The window that shows the frame, told of every invalidation; none detaches it. */
	void setPlatformFrame (IPlatformFrame* platformFrame) { platform = platformFrame; }
	CFrame* getFrame () const override { return const_cast<CFrame*> (this); }

	void invalidRect (const CRect& rect) override;
	const CInvalidRectList& getInvalidRects () const { return invalidRects; }
	/** Draws the views under the invalid rectangles, clipped to them, and forgets the rectangles;
	    answers false when there was nothing to draw. */
	bool drawInvalidRects (CDrawContext* context);
	/** Draws everything, which leaves nothing invalid. */
	void draw (CDrawContext* context) override;

	void setFocusView (CView* view) { focusView = view; }
	CView* getFocusView () const { return focusView; }
	int32_t onKeyDown (VstKeyCode& keyCode) override;
	int32_t onKeyUp (VstKeyCode& keyCode) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	bool removeAll (bool withForget = true) override;

private:
	IPlatformFrame* platform {nullptr};
	CInvalidRectList invalidRects;
	CView* focusView {nullptr};
};

} // namespace VSTGUI
