#include "vstgui/lib/controls/cparamdisplay.h"

#include "vstgui/lib/cdrawcontext.h"

#include <cairo.h>

#include <cstdio>

namespace VSTGUI {

CParamDisplay::CParamDisplay (const CRect& size, CBitmap* background, int32_t style)
: CControl (size, nullptr, -1, background), style (style)
{
}

void CParamDisplay::setValueToStringFunction2 (ValueToStringFunction2&& function)
{
	valueToString = std::move (function);
	invalid ();
}

std::string CParamDisplay::getValueText (float val)
{
	std::string text;
	if (valueToString && valueToString (val, text, this))
		return text;
	char printed[32];
	std::snprintf (printed, sizeof (printed), "%.2f", static_cast<double> (val));
	return printed;
}

void CParamDisplay::setFont (CFontRef newFont)
{
	if (newFont == nullptr)
		return;
	font = newFont;
	invalid ();
}

void CParamDisplay::setFontColor (const CColor& color)
{
	fontColor = color;
	invalid ();
}

void CParamDisplay::setBackColor (const CColor& color)
{
	backColor = color;
	invalid ();
}

void CParamDisplay::setFrameColor (const CColor& color)
{
	frameColor = color;
	invalid ();
}

void CParamDisplay::setHoriAlign (CHoriTxtAlign align)
{
	horiAlign = align;
	invalid ();
}

void CParamDisplay::setStyle (int32_t newStyle)
{
	style = newStyle;
	invalid ();
}

void CParamDisplay::setTextInset (const CPoint& inset)
{
	textInset = inset;
	invalid ();
}

void CParamDisplay::setTransparency (bool state)
{
	transparent = state;
	invalid ();
}

void CParamDisplay::draw (CDrawContext* context)
{
	drawBack (context);
	drawPlatformText (context, getValueText (getValue ()).c_str ());
	setDirty (false);
}

void CParamDisplay::drawBack (CDrawContext* context)
{
	if (getDrawBackground ())
	{
		CView::draw (context);
		return;
	}
	if (transparent)
		return;
	const CRect& box = getViewSize ();
	context->setFillColor (backColor);
	context->drawRect (box, kDrawFilled);
	if (style & StyleNoFrame)
		return;
	// The stroke runs along the inside of the box, so that the frame lies within the view.
	CRect inner (box);
	inner.inset (0.5, 0.5);
	context->setFrameColor (frameColor);
	context->setLineWidth (1.);
	context->drawRect (inner, kDrawStroked);
}

void CParamDisplay::drawPlatformText (CDrawContext* context, UTF8StringPtr string)
{
	if (string == nullptr || *string == 0)
		return;
	const CRect& view = getViewSize ();
	cairo_t* cr = context->getCairoContext ();
	cairo_save (cr);
	cairo_rectangle (cr, view.left, view.top, view.getWidth (), view.getHeight ());
	cairo_clip (cr);
	CRect box (view);
	box.inset (textInset.x, textInset.y);
	cairo_select_font_face (cr, font->getName ().data (),
	                        font->getStyle () & kItalicFace ? CAIRO_FONT_SLANT_ITALIC : CAIRO_FONT_SLANT_NORMAL,
	                        font->getStyle () & kBoldFace ? CAIRO_FONT_WEIGHT_BOLD : CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_font_size (cr, font->getSize ());
	cairo_font_extents_t fontExtents {};
	cairo_font_extents (cr, &fontExtents);
	cairo_text_extents_t extents {};
	cairo_text_extents (cr, string, &extents);
	const double free = box.getWidth () - extents.x_advance;
	const double x = box.left + (horiAlign == kLeftText ? 0. : horiAlign == kRightText ? free : free / 2.);
	const double baseline =
	    box.top + (box.getHeight () - (fontExtents.ascent + fontExtents.descent)) / 2. + fontExtents.ascent;
	cairo_set_source_rgba (cr, fontColor.red / 255., fontColor.green / 255., fontColor.blue / 255.,
	                       fontColor.alpha / 255.);
	cairo_move_to (cr, x, baseline);
	cairo_show_text (cr, string);
	cairo_restore (cr);
}

} // namespace VSTGUI
