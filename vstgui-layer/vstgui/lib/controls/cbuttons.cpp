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
		context->setFrameColor (frameColor);
		context->drawRect (box, kDrawStroked);
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
