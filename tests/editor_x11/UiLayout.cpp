#include "UiLayout.h"

#include <expat.h>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>
#include <map>

namespace {

struct Origin
{
	int x;
	int y;
};

struct Parser
{
	std::map<std::string, int> tags;
	std::vector<Origin> origins; // of the open view elements, the template's first
	std::vector<LaidOutView> views;
	bool inTemplate {false};
};

std::string attribute (const char** attributes, const char* name)
{
	for (int i = 0; attributes[i]; i += 2)
		if (std::strcmp (attributes[i], name) == 0)
			return attributes[i + 1];
	return {};
}

bool readPair (const std::string& text, int& a, int& b)
{
	return std::sscanf (text.c_str (), "%d , %d", &a, &b) == 2;
}

void openView (Parser& parser, const char** attributes)
{
	int x = 0, y = 0, width = 0, height = 0;
	readPair (attribute (attributes, "origin"), x, y);
	readPair (attribute (attributes, "size"), width, height);
	const Origin parent = parser.origins.back ();
	const Origin origin {parent.x + x, parent.y + y};
	parser.origins.push_back (origin);
	const auto tag = parser.tags.find (attribute (attributes, "control-tag"));
	parser.views.push_back ({attribute (attributes, "class"), tag == parser.tags.end () ? -1 : tag->second,
	                         {origin.x, origin.y, width, height}});
}

void XMLCALL startElement (void* data, const char* name, const char** attributes)
{
	auto& parser = *static_cast<Parser*> (data);
	if (std::strcmp (name, "control-tag") == 0)
		parser.tags[attribute (attributes, "name")] = std::stoi (attribute (attributes, "tag"));
	else if (std::strcmp (name, "template") == 0 && attribute (attributes, "name") == "view")
	{
		parser.inTemplate = true;
		parser.origins.push_back ({0, 0});
	}
	else if (std::strcmp (name, "view") == 0 && parser.inTemplate)
		openView (parser, attributes);
}

void XMLCALL endElement (void* data, const char* name)
{
	auto& parser = *static_cast<Parser*> (data);
	if (!parser.inTemplate)
		return;
	if (std::strcmp (name, "view") == 0)
		parser.origins.pop_back ();
	else if (std::strcmp (name, "template") == 0)
		parser.inTemplate = false;
}

} // namespace

UiLayout::UiLayout (const std::string& path)
{
	std::ifstream file (path);
	const std::string text ((std::istreambuf_iterator<char> (file)), std::istreambuf_iterator<char> ());
	Parser parser;
	XML_Parser xml = XML_ParserCreate (nullptr);
	XML_SetUserData (xml, &parser);
	XML_SetElementHandler (xml, startElement, endElement);
	const bool parsed = XML_Parse (xml, text.data (), static_cast<int> (text.size ()), 1) == XML_STATUS_OK;
	XML_ParserFree (xml);
	if (parsed)
		views = parser.views;
}

std::vector<LaidOutView> UiLayout::find (const std::string& viewClass, int tag) const
{
	std::vector<LaidOutView> found;
	for (const auto& view : views)
		if (view.viewClass == viewClass && (tag == -1 || view.tag == tag))
			found.push_back (view);
	return found;
}
