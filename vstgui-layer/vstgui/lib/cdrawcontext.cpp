#include "vstgui/lib/cdrawcontext.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cgraphicspath.h"

#include <vector>

namespace VSTGUI {

CDrawContext::CDrawContext (cairo_surface_t* surface, double scaleFactor)
: cr (cairo_create (surface)), scaleFactor (scaleFactor)
{
	cairo_scale (cr, scaleFactor, scaleFactor);
}

CDrawContext::~CDrawContext () noexcept
{
	cairo_destroy (cr);
}

void CDrawContext::applyDrawMode ()
{
	const bool antiAliased = drawMode.modeIgnoringIntegralMode () == kAntiAliasing;
	cairo_set_antialias (cr, antiAliased ? CAIRO_ANTIALIAS_DEFAULT : CAIRO_ANTIALIAS_NONE);
}

void CDrawContext::setSourceColor (const CColor& color)
{
	cairo_set_source_rgba (cr, color.red / 255., color.green / 255., color.blue / 255., color.alpha / 255.);
}

void CDrawContext::stroke ()
{
	applyDrawMode ();
	setSourceColor (frameColor);
	cairo_set_line_width (cr, lineWidth);
	std::vector<double> dashes;
	for (auto length : lineStyle.getDashLengths ())
		dashes.push_back (length * lineWidth);
	cairo_set_dash (cr, dashes.data (), static_cast<int> (dashes.size ()), lineStyle.getDashPhase () * lineWidth);
	cairo_stroke_preserve (cr);
}

void CDrawContext::fill ()
{
	applyDrawMode ();
	setSourceColor (fillColor);
	cairo_fill_preserve (cr);
}

void CDrawContext::drawRect (const CRect& rect, const CDrawStyle drawStyle)
{
	cairo_new_path (cr);
	cairo_rectangle (cr, rect.left, rect.top, rect.getWidth (), rect.getHeight ());
	if (drawStyle != kDrawStroked)
		fill ();
	if (drawStyle != kDrawFilled)
		stroke ();
	cairo_new_path (cr);
}

void CDrawContext::drawBitmap (CBitmap* bitmap, const CRect& dest, const CPoint& offset, float alpha)
{
	if (!bitmap || !bitmap->getSurface ())
		return;
	cairo_save (cr);
	cairo_new_path (cr);
	cairo_rectangle (cr, dest.left, dest.top, dest.getWidth (), dest.getHeight ());
	cairo_clip (cr);
	cairo_set_source_surface (cr, bitmap->getSurface (), dest.left - offset.x, dest.top - offset.y);
	cairo_paint_with_alpha (cr, alpha);
	cairo_restore (cr);
}

CGraphicsPath* CDrawContext::createGraphicsPath ()
{
	return new CGraphicsPath;
}

void CDrawContext::drawGraphicsPath (CGraphicsPath* path, PathDrawMode mode)
{
	if (!path)
		return;
	cairo_new_path (cr);
	for (const auto& e : path->getElements ())
	{
		switch (e.type)
		{
			case CGraphicsPath::Element::kRect:
				cairo_rectangle (cr, e.rect.left, e.rect.top, e.rect.getWidth (), e.rect.getHeight ());
				break;
			case CGraphicsPath::Element::kBeginSubpath:
				cairo_move_to (cr, e.rect.left, e.rect.top);
				break;
			case CGraphicsPath::Element::kLine:
				cairo_line_to (cr, e.rect.left, e.rect.top);
				break;
			case CGraphicsPath::Element::kCloseSubpath:
				cairo_close_path (cr);
				break;
		}
	}
	if (mode == kPathStroked)
		stroke ();
	else
	{
		cairo_set_fill_rule (cr, mode == kPathFilledEvenOdd ? CAIRO_FILL_RULE_EVEN_ODD : CAIRO_FILL_RULE_WINDING);
		fill ();
	}
	cairo_new_path (cr);
}

} // namespace VSTGUI
