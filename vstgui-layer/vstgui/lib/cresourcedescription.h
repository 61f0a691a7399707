// Stands in for VSTGUI's resource description (vstgui/lib/cresourcedescription.h).
#pragma once

#include "vstgui/lib/vstguibase.h"

#include <string>

namespace VSTGUI {

/** Names a resource by text or by number; the stand-in reads a named resource as a file path. */
class CResourceDescription
{
public:
	enum Type : uint32_t
	{
		kIntegerType,
		kStringType,
		kUnknownType,
	};

	CResourceDescription () = default;
	CResourceDescription (int32_t id) : type (kIntegerType), id (id) {}
	CResourceDescription (UTF8StringPtr name) : type (name ? kStringType : kUnknownType), name (name ? name : "") {}

	Type type {kUnknownType};
	int32_t id {0};
	std::string name;
};

} // namespace VSTGUI
