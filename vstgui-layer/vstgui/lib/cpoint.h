// Stands in for VSTGUI's point type (vstgui/lib/cpoint.h).
#pragma once

#include "vstgui/lib/vstguibase.h"

namespace VSTGUI {

struct CPoint
{
	constexpr CPoint () = default;
	constexpr CPoint (CCoord x, CCoord y) : x (x), y (y) {}

	CPoint& offset (CCoord dx, CCoord dy)
	{
		x += dx;
		y += dy;
		return *this;
	}
	constexpr bool operator== (const CPoint& other) const { return x == other.x && y == other.y; }
	constexpr bool operator!= (const CPoint& other) const { return !(*this == other); }
	constexpr CPoint operator+ (const CPoint& other) const { return {x + other.x, y + other.y}; }
	constexpr CPoint operator- (const CPoint& other) const { return {x - other.x, y - other.y}; }

	CCoord x {0.};
	CCoord y {0.};
};

} // namespace VSTGUI
