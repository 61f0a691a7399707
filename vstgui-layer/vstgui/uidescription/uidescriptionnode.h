// Stands in for VSTGUI's parsed UI-description tree (vstgui/uidescription/uinode.h), kept as plain elements.
#pragma once

#include <map>
#include <memory>
#include <string>
#include <vector>

namespace VSTGUI {

/** One XML element of a UI description: its name, attributes and child elements in file order. */
struct UIDescriptionNode
{
	std::string name;
	std::map<std::string, std::string> attributes;
	std::vector<std::unique_ptr<UIDescriptionNode>> children;

	const std::string* attribute (const std::string& key) const
	{
		auto entry = attributes.find (key);
		return entry == attributes.end () ? nullptr : &entry->second;
	}
	const UIDescriptionNode* child (const std::string& elementName) const
	{
		for (const auto& node : children)
			if (node->name == elementName)
				return node.get ();
		return nullptr;
	}
};

/** Parses XML text into a node tree; nullptr when the text is not well-formed. */
std::unique_ptr<UIDescriptionNode> parseUIDescriptionXml (const std::string& text);

} // namespace VSTGUI
