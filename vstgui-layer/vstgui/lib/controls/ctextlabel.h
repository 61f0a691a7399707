// Stands in for VSTGUI's text label (vstgui/lib/controls/ctextlabel.h).
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/cstring.h"

namespace VSTGUI {

/** One line of text, centred in its rectangle, over a background unless it is transparent. */
class CTextLabel : public CControl
{
public:
	explicit CTextLabel (const CRect& size, UTF8StringPtr text = nullptr, CBitmap* background = nullptr);

	CView* newCopy () const override { return new CTextLabel (*this); }

	virtual void setText (const UTF8String& text);
	const UTF8String& getText () const { return text; }

	void setFontColor (const CColor& color);
	const CColor& getFontColor () const { return fontColor; }
	void setBackColor (const CColor& color);
	const CColor& getBackColor () const { return backColor; }
	void setTransparency (bool state);
	bool getTransparency () const { return transparent; }

	void draw (CDrawContext* context) override;

private:
	UTF8String text;
	CColor fontColor {kWhiteCColor};
	CColor backColor {kBlackCColor};
	bool transparent {false};
	static constexpr double fontSize {12.};
};

} // namespace VSTGUI
