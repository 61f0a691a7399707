#include "vstgui/uidescription/uiattributes.h"

#include <locale>
#include <sstream>

namespace VSTGUI {

bool UIAttributes::hasAttribute (const std::string& name) const
{
	return attributes.find (name) != attributes.end ();
}

const std::string* UIAttributes::getAttributeValue (const std::string& name) const
{
	auto it = attributes.find (name);
	return it == attributes.end () ? nullptr : &it->second;
}

void UIAttributes::setAttribute (const std::string& name, const std::string& value)
{
	attributes[name] = value;
}

void UIAttributes::removeAttribute (const std::string& name)
{
	attributes.erase (name);
}

bool UIAttributes::getDoubleAttribute (const std::string& name, double& value) const
{
	auto text = getAttributeValue (name);
	return text && stringToDouble (*text, value);
}

bool UIAttributes::getPointAttribute (const std::string& name, CPoint& point) const
{
	auto text = getAttributeValue (name);
	return text && stringToPoint (*text, point);
}

bool UIAttributes::stringToDouble (const std::string& text, double& value)
{
	std::istringstream stream (text);
	stream.imbue (std::locale::classic ());
	double parsed = 0.;
	if (!(stream >> parsed))
		return false;
	stream >> std::ws;
	if (!stream.eof ())
		return false;
	value = parsed;
	return true;
}

bool UIAttributes::stringToPoint (const std::string& text, CPoint& point)
{
	const auto comma = text.find (',');
	if (comma == std::string::npos)
		return false;
	CPoint parsed;
	if (!stringToDouble (text.substr (0, comma), parsed.x) || !stringToDouble (text.substr (comma + 1), parsed.y))
		return false;
	point = parsed;
	return true;
}

std::string UIAttributes::doubleToString (double value, uint32_t precision)
{
	std::ostringstream stream;
	stream.imbue (std::locale::classic ());
	stream.precision (precision);
	stream << value;
	return stream.str ();
}

std::string UIAttributes::pointToString (const CPoint& point, uint32_t precision)
{
	return doubleToString (point.x, precision) + ", " + doubleToString (point.y, precision);
}

} // namespace VSTGUI
