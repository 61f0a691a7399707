#include "vstgui/uidescription/uidescriptionnode.h"

#include <expat.h>

#include <climits>

namespace VSTGUI {
namespace {

struct ParseState
{
	std::unique_ptr<UIDescriptionNode> root;
	std::vector<UIDescriptionNode*> open;
};

void XMLCALL startElement (void* userData, const XML_Char* name, const XML_Char** attributes)
{
	auto& state = *static_cast<ParseState*> (userData);
	auto node = std::make_unique<UIDescriptionNode> ();
	node->name = name;
	for (int i = 0; attributes[i] != nullptr; i += 2)
		node->attributes[attributes[i]] = attributes[i + 1];
	UIDescriptionNode* added = node.get ();
	if (state.open.empty ())
		state.root = std::move (node);
	else
		state.open.back ()->children.push_back (std::move (node));
	state.open.push_back (added);
}

void XMLCALL endElement (void* userData, const XML_Char* /*name*/)
{
	static_cast<ParseState*> (userData)->open.pop_back ();
}

} // namespace

std::unique_ptr<UIDescriptionNode> parseUIDescriptionXml (const std::string& text)
{
	if (text.size () > static_cast<size_t> (INT_MAX))
		return nullptr;
	ParseState state;
	XML_Parser parser = XML_ParserCreate ("UTF-8");
	if (parser == nullptr)
		return nullptr;
	XML_SetUserData (parser, &state);
	XML_SetElementHandler (parser, startElement, endElement);
	const bool ok = XML_Parse (parser, text.data (), static_cast<int> (text.size ()), XML_TRUE) ==
	                XML_STATUS_OK;
	XML_ParserFree (parser);
	if (!ok)
		return nullptr;
	return std::move (state.root);
}

} // namespace VSTGUI
