#include "vstgui/lib/cbitmap.h"

#include "vstgui/lib/cdrawcontext.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

CBitmap::CBitmap (const CResourceDescription& desc) : resourceDesc (desc)
{
	if (desc.type != CResourceDescription::kStringType)
		return;
	cairo_surface_t* png = cairo_image_surface_create_from_png (desc.name.c_str ());
	if (cairo_surface_status (png) == CAIRO_STATUS_SUCCESS)
		surface = png;
	else
		cairo_surface_destroy (png);
}

CBitmap::CBitmap (CCoord width, CCoord height)
{
	const auto w = static_cast<int> (std::max (0., std::ceil (width)));
	const auto h = static_cast<int> (std::max (0., std::ceil (height)));
	surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, w, h);
}

CBitmap::~CBitmap () noexcept
{
	if (surface)
		cairo_surface_destroy (surface);
}

void CBitmap::draw (CDrawContext* context, const CRect& rect, const CPoint& offset, float alpha)
{
	context->drawBitmap (this, rect, offset, alpha);
}

CCoord CBitmap::getWidth () const
{
	return surface ? cairo_image_surface_get_width (surface) : 0.;
}

CCoord CBitmap::getHeight () const
{
	return surface ? cairo_image_surface_get_height (surface) : 0.;
}

} // namespace VSTGUI
