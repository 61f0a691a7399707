#include "vstgui/lib/controls/cbuttons.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"

namespace VSTGUI {

COnOffButton::COnOffButton (const CRect& size, IControlListener* listener, int32_t tag,
                            CBitmap* background)
: CControl (size, listener, tag, background)
{
}

void COnOffButton::draw (CDrawContext* context)
{
	const CRect& box = getViewSize ();
	if (CBitmap* bitmap = getDrawBackground ())
	{
		bitmap->draw (context, box, CPoint (0, isOn () ? box.getHeight () : 0));
	}
	else
	{
		if (isOn ())
		{
			context->setFillColor (onColor);
			context->drawRect (box, kDrawFilled);
		}
		// Stroked along the inside, so that the frame stays within the view.
		CRect inner (box);
		inner.inset (0.5, 0.5);
		context->setFrameColor (frameColor);
		context->setLineWidth (1.);
		context->drawRect (inner, kDrawStroked);
	}
	setDirty (false);
}

CMouseEventResult COnOffButton::onMouseDown (CPoint& /*where*/, const CButtonState& buttons)
{
	if (!buttons.isLeftButton ())
		return kMouseEventNotHandled;
	beginEdit ();
	setValue (isOn () ? getMin () : getMax ());
	invalid ();
	valueChanged ();
	endEdit ();
	return kMouseDownEventHandledButDontNeedMovedOrUpEvents;
}

} // namespace VSTGUI
