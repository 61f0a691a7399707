// Stands in for VSTGUI's line style (vstgui/lib/clinestyle.h).
#pragma once

#include "vstgui/lib/vstguibase.h"

#include <vector>

namespace VSTGUI {

/** A line's dash pattern, in multiples of the line width; no dashes draws a solid line. */
class CLineStyle
{
public:
	using CoordVector = std::vector<CCoord>;

	CLineStyle () = default;
	explicit CLineStyle (CoordVector dashLengths, CCoord dashPhase = 0.)
	: dashLengths (std::move (dashLengths)), dashPhase (dashPhase)
	{
	}

	const CoordVector& getDashLengths () const { return dashLengths; }
	CCoord getDashPhase () const { return dashPhase; }
	bool operator== (const CLineStyle& o) const { return dashLengths == o.dashLengths && dashPhase == o.dashPhase; }

private:
	CoordVector dashLengths;
	CCoord dashPhase {0.};
};

extern const CLineStyle kLineSolid;
extern const CLineStyle kLineOnOffDash;

} // namespace VSTGUI
