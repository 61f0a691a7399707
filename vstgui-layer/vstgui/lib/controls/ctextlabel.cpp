#include "vstgui/lib/controls/ctextlabel.h"

#include "vstgui/lib/cdrawcontext.h"

#include <cairo.h>

namespace VSTGUI {

CTextLabel::CTextLabel (const CRect& size, UTF8StringPtr text, CBitmap* background)
: CControl (size, nullptr, -1, background), text (text)
{
}

void CTextLabel::setText (const UTF8String& newText)
{
	if (text == newText)
		return;
	text = newText;
	invalid ();
}

void CTextLabel::setFontColor (const CColor& color)
{
	fontColor = color;
	invalid ();
}

void CTextLabel::setBackColor (const CColor& color)
{
	backColor = color;
	invalid ();
}

void CTextLabel::setTransparency (bool state)
{
	transparent = state;
	invalid ();
}

void CTextLabel::draw (CDrawContext* context)
{
	const CRect& box = getViewSize ();
	if (!transparent)
	{
		context->setFillColor (backColor);
		context->drawRect (box, kDrawFilled);
	}
	CControl::draw (context);
	if (text.empty ())
		return;

	cairo_t* cr = context->getCairoContext ();
	cairo_save (cr);
	cairo_rectangle (cr, box.left, box.top, box.getWidth (), box.getHeight ());
	cairo_clip (cr);
	cairo_select_font_face (cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);
	cairo_set_font_size (cr, fontSize);
	cairo_font_extents_t font {};
	cairo_font_extents (cr, &font);
	cairo_text_extents_t extents {};
	cairo_text_extents (cr, text.data (), &extents);
	const double x = box.left + (box.getWidth () - extents.x_advance) / 2.;
	const double baseline = box.top + (box.getHeight () - (font.ascent + font.descent)) / 2. + font.ascent;
	cairo_set_source_rgba (cr, fontColor.red / 255., fontColor.green / 255., fontColor.blue / 255.,
	                       fontColor.alpha / 255.);
	cairo_move_to (cr, x, baseline);
	cairo_show_text (cr, text.data ());
	cairo_restore (cr);
}

} // namespace VSTGUI
