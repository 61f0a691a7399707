// Stands in for VSTGUI's UI-description interface (vstgui/uidescription/iuidescription.h).
#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/vstguibase.h"

#include <string>

namespace VSTGUI {

class CBitmap;
class CFontDesc;

/** The named resources of a UI description that view creators look up. */
class IUIDescription
{
public:
	virtual ~IUIDescription () noexcept = default;

	/** The bitmap of that name, or null. */
	virtual CBitmap* getBitmap (UTF8StringPtr name) const = 0;
	/** A colour name of the description, or a colour text such as "#rrggbbaa". */
	virtual bool getColor (UTF8StringPtr name, CColor& color) const = 0;
	/** The font of that name, or null. */
	virtual CFontDesc* getFont (UTF8StringPtr /*name*/) const { return nullptr; }
	virtual bool lookupBitmapName (const CBitmap* bitmap, std::string& bitmapName) const = 0;
	virtual bool lookupColorName (const CColor& color, std::string& colorName) const = 0;
};

} // namespace VSTGUI
