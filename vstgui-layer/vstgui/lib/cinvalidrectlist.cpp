#include "vstgui/lib/cinvalidrectlist.h"

#include <algorithm>

namespace VSTGUI {
namespace {

bool covers (const CRect& outer, const CRect& inner)
{
	return outer.left <= inner.left && outer.top <= inner.top && outer.right >= inner.right &&
	       outer.bottom >= inner.bottom;
}

} // namespace

bool CInvalidRectList::add (const CRect& rect)
{
	if (rect.isEmpty () ||
	    std::any_of (rects.begin (), rects.end (), [&] (const CRect& r) { return covers (r, rect); }))
		return false;
	rects.erase (std::remove_if (rects.begin (), rects.end (), [&] (const CRect& r) { return covers (rect, r); }),
	             rects.end ());
	rects.push_back (rect);
	return true;
}

} // namespace VSTGUI
