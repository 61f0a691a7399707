#include "vstgui/lib/cgraphicspath.h"

#include <algorithm>

namespace VSTGUI {

void CGraphicsPath::addRect (const CRect& rect)
{
	elements.push_back ({Element::kRect, rect});
}

void CGraphicsPath::beginSubpath (const CPoint& start)
{
	elements.push_back ({Element::kBeginSubpath, CRect (start.x, start.y, start.x, start.y)});
}

void CGraphicsPath::addLine (const CPoint& to)
{
	elements.push_back ({Element::kLine, CRect (to.x, to.y, to.x, to.y)});
}

void CGraphicsPath::closeSubpath ()
{
	elements.push_back ({Element::kCloseSubpath, CRect ()});
}

CRect CGraphicsPath::getBoundingBox () const
{
	bool first = true;
	CRect box;
	for (const auto& e : elements)
	{
		if (e.type == Element::kCloseSubpath)
			continue;
		CRect r = e.rect;
		r.normalize ();
		if (first)
			box = r;
		else
			box = CRect (std::min (box.left, r.left), std::min (box.top, r.top), std::max (box.right, r.right),
			             std::max (box.bottom, r.bottom));
		first = false;
	}
	return box;
}

} // namespace VSTGUI
