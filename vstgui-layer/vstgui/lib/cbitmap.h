// Stands in for VSTGUI's bitmap (vstgui/lib/cbitmap.h), backed by a cairo image surface.
#pragma once

#include "vstgui/lib/cresourcedescription.h"
#include "vstgui/lib/crect.h"

#include <cairo.h>

namespace VSTGUI {

class CDrawContext;

class CBitmap : public CBaseObject
{
public:
	/** Loads the PNG file that a named resource describes; isLoaded tells whether that worked. */
	explicit CBitmap (const CResourceDescription& desc);
	/** A transparent bitmap of the given size. */
	CBitmap (CCoord width, CCoord height);
	~CBitmap () noexcept override;
	CBitmap (const CBitmap&) = delete;
	CBitmap& operator= (const CBitmap&) = delete;

	virtual void draw (CDrawContext* context, const CRect& rect, const CPoint& offset = CPoint (0, 0),
	                   float alpha = 1.f);

	CCoord getWidth () const;
	CCoord getHeight () const;
	CPoint getSize () const { return {getWidth (), getHeight ()}; }
	bool isLoaded () const { return surface != nullptr; }
	const CResourceDescription& getResourceDescription () const { return resourceDesc; }

	/** The image surface in ARGB32; null when nothing was loaded. */
	cairo_surface_t* getSurface () const { return surface; }

private:
	CResourceDescription resourceDesc;
	cairo_surface_t* surface {nullptr};
};

} // namespace VSTGUI
