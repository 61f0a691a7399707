// Stands in for VSTGUI's parameter display (vstgui/lib/controls/cparamdisplay.h).
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cfont.h"
#include "vstgui/lib/controls/ccontrol.h"

#include <functional>
#include <string>

namespace VSTGUI {

/** Shows its value as one line of text over a background and a frame. The text comes from the
    value-to-string function when one is set, otherwise from the value with two decimals. */
class CParamDisplay : public CControl
{
public:
	enum Style : int32_t
	{
		StyleNoFrame = 1 << 0,
	};

	using ValueToStringFunction2 = std::function<bool (float value, std::string& result, CParamDisplay* display)>;

	explicit CParamDisplay (const CRect& size, CBitmap* background = nullptr, int32_t style = 0);

	CView* newCopy () const override { return new CParamDisplay (*this); }

	void setValueToStringFunction2 (ValueToStringFunction2&& function);
	/** The text the display shows for a value. */
	std::string getValueText (float value);

	void setFont (CFontRef font);
	void setFontColor (const CColor& color);
	void setBackColor (const CColor& color);
	void setFrameColor (const CColor& color);
	void setHoriAlign (CHoriTxtAlign align);
	void setStyle (int32_t style);
	/** Keeps the text this far from the left and right, and from the top and bottom, edges. */
	void setTextInset (const CPoint& inset);
	void setTransparency (bool state);

	void draw (CDrawContext* context) override;

protected:
	/** The background bitmap, or else the background colour and, unless told otherwise, the
	    frame; nothing while transparent. */
	void drawBack (CDrawContext* context);
	/** One line, vertically centred and aligned horizontally inside the view, clipped to it. */
	void drawPlatformText (CDrawContext* context, UTF8StringPtr string);

private:
	ValueToStringFunction2 valueToString;
	SharedPointer<CFontDesc> font {makeOwned<CFontDesc> ()};
	CColor fontColor {kWhiteCColor};
	CColor backColor {kBlackCColor};
	CColor frameColor {kBlackCColor};
	CHoriTxtAlign horiAlign {kCenterText};
	CPoint textInset {0., 0.};
	int32_t style;
	bool transparent {false};
};

} // namespace VSTGUI
