#include "vstgui/lib/controls/ctextlabel.h"

namespace VSTGUI {

CTextLabel::CTextLabel (const CRect& size, UTF8StringPtr text, CBitmap* background, int32_t style)
: CParamDisplay (size, background, style), text (text)
{
}

void CTextLabel::setText (const UTF8String& newText)
{
	if (text == newText)
		return;
	text = newText;
	invalid ();
}

void CTextLabel::draw (CDrawContext* context)
{
	drawBack (context);
	drawPlatformText (context, text.data ());
	setDirty (false);
}

} // namespace VSTGUI
