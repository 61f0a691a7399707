// Stands in for VSTGUI's text label (vstgui/lib/controls/ctextlabel.h).
#pragma once

#include "vstgui/lib/controls/cparamdisplay.h"
#include "vstgui/lib/cstring.h"

namespace VSTGUI {

/** A display that shows its own text instead of its value. */
class CTextLabel : public CParamDisplay
{
public:
	explicit CTextLabel (const CRect& size, UTF8StringPtr text = nullptr, CBitmap* background = nullptr,
	                     int32_t style = 0);

	CView* newCopy () const override { return new CTextLabel (*this); }

	virtual void setText (const UTF8String& text);
	const UTF8String& getText () const { return text; }

	void draw (CDrawContext* context) override;

private:
	UTF8String text;
};

} // namespace VSTGUI
