// Stands in for VSTGUI's on/off button (vstgui/lib/controls/cbuttons.h).
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/controls/ccontrol.h"

namespace VSTGUI {

/** Toggles between its minimum and maximum on each left click. With a background bitmap it shows
    the bitmap's upper half when off and its lower half when on; without one it draws a box. */
class COnOffButton : public CControl
{
public:
	COnOffButton (const CRect& size, IControlListener* listener = nullptr, int32_t tag = -1,
	              CBitmap* background = nullptr);

	CView* newCopy () const override { return new COnOffButton (*this); }

	bool isOn () const { return getValue () == getMax (); }

	void draw (CDrawContext* context) override;
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;

private:
	static constexpr CColor frameColor {160, 160, 160, 255};
	static constexpr CColor onColor {74, 163, 223, 255};
};

} // namespace VSTGUI
