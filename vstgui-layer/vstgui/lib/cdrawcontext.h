// Stands in for VSTGUI's draw context (vstgui/lib/cdrawcontext.h), drawing with cairo.
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/cdrawdefs.h"
#include "vstgui/lib/clinestyle.h"
#include "vstgui/lib/crect.h"

#include <cairo.h>

namespace VSTGUI {

class CBitmap;
class CGraphicsPath;

/** Draws into a cairo surface in the surface's own coordinates, scaled by the scale factor. */
class CDrawContext : public CBaseObject
{
public:
	enum PathDrawMode
	{
		kPathFilled,
		kPathFilledEvenOdd,
		kPathStroked,
	};

	explicit CDrawContext (cairo_surface_t* surface, double scaleFactor = 1.);
	~CDrawContext () noexcept override;
	CDrawContext (const CDrawContext&) = delete;
	CDrawContext& operator= (const CDrawContext&) = delete;

	//---state
	void setLineStyle (const CLineStyle& style) { lineStyle = style; }
	void setLineWidth (CCoord width) { lineWidth = width; }
	CCoord getLineWidth () const { return lineWidth; }
	void setDrawMode (CDrawMode mode) { drawMode = mode; }
	void setFrameColor (const CColor& color) { frameColor = color; }
	const CColor& getFrameColor () const { return frameColor; }
	void setFillColor (const CColor& color) { fillColor = color; }
	const CColor& getFillColor () const { return fillColor; }
	/** The cairo context underneath, for what the draw calls do not cover (text, translation). */
	cairo_t* getCairoContext () const { return cr; }
	/** The width of one device pixel. */
	CCoord getHairlineSize () const { return 1. / scaleFactor; }

	//---drawing
	virtual void drawRect (const CRect& rect, const CDrawStyle drawStyle = kDrawStroked);
	virtual void drawBitmap (CBitmap* bitmap, const CRect& dest, const CPoint& offset = CPoint (0, 0),
	                         float alpha = 1.f);
	/** A new, empty path holding one reference for the caller; null when paths are not supported. */
	virtual CGraphicsPath* createGraphicsPath ();
	virtual void drawGraphicsPath (CGraphicsPath* path, PathDrawMode mode = kPathFilled);

private:
	void applyDrawMode ();
	void setSourceColor (const CColor& color);
	void stroke ();
	void fill ();

	cairo_t* cr;
	double scaleFactor;
	CLineStyle lineStyle;
	CCoord lineWidth {1.};
	CDrawMode drawMode {kAliasing};
	CColor frameColor {kBlackCColor};
	CColor fillColor {kWhiteCColor};
};

} // namespace VSTGUI
