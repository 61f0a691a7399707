// Stands in for VSTGUI's view container (vstgui/lib/cviewcontainer.h).
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cview.h"

#include <vector>

namespace VSTGUI {

/** Holds child views, placed in its own coordinates (its origin is their 0, 0), and owns one
    reference to each. Mouse presses go to the topmost enabled child under the mouse, which then
    gets the moves and the release. */
class CViewContainer : public CView
{
public:
	explicit CViewContainer (const CRect& size);
	~CViewContainer () noexcept override;
	CViewContainer (const CViewContainer&) = delete;
	CViewContainer& operator= (const CViewContainer&) = delete;

	/** Takes over the caller's reference. */
	virtual bool addView (CView* view);
	virtual bool removeAll (bool withForget = true);
	uint32_t getNbViews () const { return static_cast<uint32_t> (children.size ()); }
	CView* getView (uint32_t index) const;
	const std::vector<CView*>& getChildren () const { return children; }

	void setBackgroundColor (const CColor& color);
	const CColor& getBackgroundColor () const { return backgroundColor; }
	void setTransparency (bool state);
	bool getTransparency () const { return transparent; }

	void draw (CDrawContext* context) override;
	bool isDirty () const override;
	/** rect is in this container's own coordinates, where its children are placed. */
	virtual void invalidChildRect (const CRect& rect);
	/** The deepest mouse-enabled view under where (in the view size's coordinates) that wants
	    the focus, or none. */
	CView* findFocusViewAt (const CPoint& where) const;

	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	/** Goes to the topmost enabled child under the mouse that takes it. */
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;

protected:
	void beforeDelete () override;

private:
	CPoint toLocal (const CPoint& where) const;

	std::vector<CView*> children;
	CView* mouseDownView {nullptr};
	CColor backgroundColor {kBlackCColor};
	bool transparent {false};
};

} // namespace VSTGUI
