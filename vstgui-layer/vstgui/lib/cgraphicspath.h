// Stands in for VSTGUI's graphics path (vstgui/lib/cgraphicspath.h).
#pragma once

#include "vstgui/lib/crect.h"

#include <vector>

namespace VSTGUI {

/** A recorded outline of rectangles and line segments that a draw context fills or strokes. */
class CGraphicsPath : public CBaseObject
{
public:
	struct Element
	{
		enum Type
		{
			kBeginSubpath,
			kLine,
			kRect,
			kCloseSubpath,
		};
		Type type;
		CRect rect; // the rectangle for kRect; the point in its top-left corner otherwise
	};
	using ElementList = std::vector<Element>;

	void addRect (const CRect& rect);
	void beginSubpath (const CPoint& start);
	void addLine (const CPoint& to);
	void closeSubpath ();

	const ElementList& getElements () const { return elements; }
	/** The smallest rectangle holding every point of the path; empty for an empty path. */
	CRect getBoundingBox () const;

private:
	ElementList elements;
};

} // namespace VSTGUI
