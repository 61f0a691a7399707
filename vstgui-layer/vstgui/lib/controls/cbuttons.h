// Stands in for VSTGUI's on/off button (vstgui/lib/controls/cbuttons.h).
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/controls/ccontrol.h"

namespace VSTGUI {

/** A switch: each left click sets its minimum when it is on and its maximum when it is off, so it
    only ever sends one of the two. It counts as on above the middle of its range, as a two-state
    parameter does. With a background bitmap it shows the bitmap's upper half when off and its
    lower half when on; without one it draws a box. */
class COnOffButton : public CControl
{
public:
	COnOffButton (const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
	              CBitmap* background = nullptr);

	CView* newCopy () const override { return new COnOffButton (*this); }

	bool isOn () const { return getValue () > getMin () + getRange () / 2.f; }

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;

private:
	static constexpr CColor frameColor {160, 160, 160, 255};
	static constexpr CColor onColor {74, 163, 223, 255};
};

} // namespace VSTGUI
