// Stands in for VSTGUI's rectangle type (vstgui/lib/crect.h).
#pragma once

#include "vstgui/lib/cpoint.h"

#include <utility>

namespace VSTGUI {

struct CRect
{
	constexpr CRect () = default;
	constexpr CRect (CCoord left, CCoord top, CCoord right, CCoord bottom)
	: left (left), top (top), right (right), bottom (bottom)
	{
	}
	constexpr CRect (const CPoint& origin, const CPoint& size)
	: left (origin.x), top (origin.y), right (origin.x + size.x), bottom (origin.y + size.y)
	{
	}

	constexpr CCoord getWidth () const { return right - left; }
	constexpr CCoord getHeight () const { return bottom - top; }
	constexpr CPoint getTopLeft () const { return {left, top}; }
	constexpr CPoint getSize () const { return {getWidth (), getHeight ()}; }
	constexpr bool isEmpty () const { return right <= left || bottom <= top; }
	/** Left and top edges belong to the rectangle, right and bottom edges do not. */
	constexpr bool pointInside (const CPoint& p) const
	{
		return p.x >= left && p.x < right && p.y >= top && p.y < bottom;
	}

	CRect& offset (CCoord dx, CCoord dy)
	{
		left += dx;
		right += dx;
		top += dy;
		bottom += dy;
		return *this;
	}
	CRect& inset (CCoord dx, CCoord dy)
	{
		left += dx;
		right -= dx;
		top += dy;
		bottom -= dy;
		return *this;
	}
	CRect& normalize ()
	{
		if (left > right)
			std::swap (left, right);
		if (top > bottom)
			std::swap (top, bottom);
		return *this;
	}

	constexpr bool operator== (const CRect& o) const
	{
		return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
	}
	constexpr bool operator!= (const CRect& o) const { return !(*this == o); }

	CCoord left {0.};
	CCoord top {0.};
	CCoord right {0.};
	CCoord bottom {0.};
};

} // namespace VSTGUI
