// Stands in for VSTGUI's font description (vstgui/lib/cfont.h).
#pragma once

#include "vstgui/lib/cstring.h"
#include "vstgui/lib/vstguibase.h"

namespace VSTGUI {

enum CTxtFace : int32_t
{
	kNormalFace = 0,
	kBoldFace = 1 << 1,
	kItalicFace = 1 << 2,
};

enum CHoriTxtAlign
{
	kLeftText = 0,
	kCenterText,
	kRightText,
};

/** A font by family name, size in points and face bits; shared by reference counting. */
class CFontDesc : public CBaseObject
{
public:
	explicit CFontDesc (const UTF8String& name = "sans-serif", CCoord size = 12., int32_t style = kNormalFace)
	: name (name), size (size), style (style)
	{
	}

	const UTF8String& getName () const { return name; }
	CCoord getSize () const { return size; }
	int32_t getStyle () const { return style; }

private:
	UTF8String name;
	CCoord size;
	int32_t style;
};

using CFontRef = CFontDesc*;

} // namespace VSTGUI
