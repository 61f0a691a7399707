// Stands in for VSTGUI's list of rectangles to redraw (vstgui/lib/cinvalidrectlist.h).
#pragma once

#include "vstgui/lib/crect.h"

#include <vector>

namespace VSTGUI {

/** Rectangles waiting to be drawn; one that lies inside another is not kept twice. */
class CInvalidRectList
{
public:
	/** Answers false when rect is empty or already covered. */
	bool add (const CRect& rect);
	bool empty () const { return rects.empty (); }
	void clear () { rects.clear (); }
	const std::vector<CRect>& data () const { return rects; }

private:
	std::vector<CRect> rects;
};

} // namespace VSTGUI
