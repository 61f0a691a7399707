// Stands in for VSTGUI's attribute set of a UI-description element (vstgui/uidescription/uiattributes.h).
#pragma once

#include "vstgui/lib/cpoint.h"

#include <string>
#include <unordered_map>

namespace VSTGUI {

/** Attribute texts by name, with parsers and printers for the numeric forms (classic locale). */
class UIAttributes : public CBaseObject
{
public:
	bool hasAttribute (const std::string& name) const;
	/** The attribute's text, or null when it is absent. */
	const std::string* getAttributeValue (const std::string& name) const;
	void setAttribute (const std::string& name, const std::string& value);
	void removeAttribute (const std::string& name);

	bool getDoubleAttribute (const std::string& name, double& value) const;
	bool getPointAttribute (const std::string& name, CPoint& point) const;

	/** A whole text holding one number, blanks around it allowed. */
	static bool stringToDouble (const std::string& text, double& value);
	/** Two numbers separated by a comma. */
	static bool stringToPoint (const std::string& text, CPoint& point);
	static std::string doubleToString (double value, uint32_t precision = 6);
	/** The x and y numbers, separated by a comma and a blank. */
	static std::string pointToString (const CPoint& point, uint32_t precision = 6);

private:
	std::unordered_map<std::string, std::string> attributes;
};

} // namespace VSTGUI
