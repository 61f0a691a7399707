// Reading the pixels of a cairo image surface (ARGB32, premultiplied).
#pragma once

#include "vstgui/lib/ccolor.h"

#include <cairo.h>

#include <cstdint>

namespace veltrane_test {

/** The pixel at x, y as cairo stores it, 0xAARRGGBB; flushes the surface first. */
inline uint32_t pixelAt (cairo_surface_t* surface, int x, int y)
{
	cairo_surface_flush (surface);
	const unsigned char* row = cairo_image_surface_get_data (surface) + y * cairo_image_surface_get_stride (surface);
	return reinterpret_cast<const uint32_t*> (row)[x];
}

/** The same pixel as a colour; only opaque colours compare as drawn. */
inline VSTGUI::CColor colorAt (cairo_surface_t* surface, int x, int y)
{
	const uint32_t argb = pixelAt (surface, x, y);
	return VSTGUI::CColor (static_cast<uint8_t> (argb >> 16), static_cast<uint8_t> (argb >> 8),
	                       static_cast<uint8_t> (argb), static_cast<uint8_t> (argb >> 24));
}

/** An image surface to draw into and read back. */
class Canvas
{
public:
	Canvas (int width, int height) : surface (cairo_image_surface_create (CAIRO_FORMAT_ARGB32, width, height)) {}
	~Canvas () { cairo_surface_destroy (surface); }
	Canvas (const Canvas&) = delete;
	Canvas& operator= (const Canvas&) = delete;

	VSTGUI::CColor pixel (int x, int y) { return colorAt (surface, x, y); }

	cairo_surface_t* surface;
};

} // namespace veltrane_test
