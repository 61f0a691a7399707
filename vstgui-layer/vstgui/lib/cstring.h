// Stands in for VSTGUI's UTF-8 string (vstgui/lib/cstring.h).
#pragma once

#include "vstgui/lib/vstguibase.h"

#include <string>

namespace VSTGUI {

class UTF8String
{
public:
	UTF8String (UTF8StringPtr str = nullptr) : string (str ? str : "") {}
	UTF8String (std::string str) : string (std::move (str)) {}

	const std::string& getString () const { return string; }
	UTF8StringPtr data () const { return string.data (); }
	operator UTF8StringPtr () const { return data (); }
	bool empty () const { return string.empty (); }
	size_t length () const { return string.length (); }

	bool operator== (const UTF8String& other) const { return string == other.string; }
	bool operator!= (const UTF8String& other) const { return string != other.string; }
	bool operator== (UTF8StringPtr other) const { return string == (other ? other : ""); }
	bool operator!= (UTF8StringPtr other) const { return !(*this == other); }

private:
	std::string string;
};

} // namespace VSTGUI
