#include "vstgui/uidescription/uidescription.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/icontroller.h"
#include "vstgui/uidescription/viewcreator/standardviewcreators.h"

#include <cmath>
#include <cstdint>
#include <fstream>
#include <sstream>

namespace VSTGUI {
namespace {

SharedPointer<UIAttributes> attributesOf (const UIDescriptionNode& node)
{
	auto attributes = makeOwned<UIAttributes> ();
	for (const auto& [name, value] : node.attributes)
		attributes->setAttribute (name, value);
	return attributes;
}

std::string folderOf (const std::string& path)
{
	const auto slash = path.find_last_of ('/');
	return slash == std::string::npos ? std::string () : path.substr (0, slash + 1);
}

bool parseHexByte (const std::string& text, size_t at, uint8_t& byte)
{
	int value = 0;
	for (size_t i = at; i < at + 2; ++i)
	{
		const char c = text[i];
		int digit = 0;
		if (c >= '0' && c <= '9')
			digit = c - '0';
		else if (c >= 'a' && c <= 'f')
			digit = c - 'a' + 10;
		else if (c >= 'A' && c <= 'F')
			digit = c - 'A' + 10;
		else
			return false;
		value = value * 16 + digit;
	}
	byte = static_cast<uint8_t> (value);
	return true;
}

} // namespace

UIDescription::UIDescription (const CResourceDescription& xmlFile) : path (xmlFile.name)
{
	registerStandardViewCreators ();
}

UIDescription::~UIDescription () noexcept = default;

bool UIDescription::parse ()
{
	std::ifstream file (path, std::ios::binary);
	if (!file)
		return false;
	std::ostringstream text;
	text << file.rdbuf ();
	return parseText (text.str ());
}

bool UIDescription::parseText (const std::string& xml)
{
	auto parsed = parseUIDescriptionXml (xml);
	if (!parsed || parsed->name != "vstgui-ui-description")
		return false;
	root = std::move (parsed);
	readResources (*root);
	return true;
}

void UIDescription::readResources (const UIDescriptionNode& description)
{
	colors.clear ();
	fonts.clear ();
	bitmapPaths.clear ();
	bitmaps.clear ();
	controlTags.clear ();
	templates.clear ();
	for (const auto& section : description.children)
	{
		for (const auto& entry : section->children)
		{
			const std::string* name = entry->attribute ("name");
			if (name == nullptr)
				continue;
			if (section->name == "colors" && entry->name == "color")
			{
				CColor color;
				if (const std::string* rgba = entry->attribute ("rgba"); rgba && parseColor (*rgba, color))
					colors[*name] = color;
			}
			else if (section->name == "fonts" && entry->name == "font")
			{
				readFont (*name, *entry);
			}
			else if (section->name == "bitmaps" && entry->name == "bitmap")
			{
				if (const std::string* file = entry->attribute ("path"))
					bitmapPaths[*name] = file->empty () || file->front () == '/' ? *file : folderOf (path) + *file;
			}
			else if (section->name == "control-tags" && entry->name == "control-tag")
			{
				double tag = 0.;
				const std::string* text = entry->attribute ("tag");
				if (text && UIAttributes::stringToDouble (*text, tag) && tag == std::floor (tag) &&
				    tag >= INT32_MIN && tag <= INT32_MAX)
					controlTags[*name] = static_cast<int32_t> (tag);
			}
		}
		if (section->name == "template")
			if (const std::string* name = section->attribute ("name"))
				templates[*name] = Template {section.get (), attributesOf (*section)};
	}
}

// "font-name" is the family, "size" the size in points; "bold" and "italic" are "true" or not.
void UIDescription::readFont (const std::string& name, const UIDescriptionNode& entry)
{
	const std::string* family = entry.attribute ("font-name");
	const std::string* sizeText = entry.attribute ("size");
	double size = 0.;
	if (family == nullptr || sizeText == nullptr || !UIAttributes::stringToDouble (*sizeText, size) || size <= 0.)
		return;
	int32_t style = kNormalFace;
	if (const std::string* bold = entry.attribute ("bold"); bold && *bold == "true")
		style |= kBoldFace;
	if (const std::string* italic = entry.attribute ("italic"); italic && *italic == "true")
		style |= kItalicFace;
	fonts[name] = makeOwned<CFontDesc> (UTF8String (*family), size, style);
}

const UIAttributes* UIDescription::getViewAttributes (UTF8StringPtr name) const
{
	if (name == nullptr)
		return nullptr;
	auto entry = templates.find (name);
	return entry == templates.end () ? nullptr : entry->second.attributes.get ();
}

CView* UIDescription::createView (UTF8StringPtr name, IController* controller,
                                  SubControllers* subControllers) const
{
	if (name == nullptr)
		return nullptr;
	auto entry = templates.find (name);
	if (entry == templates.end ())
		return nullptr;
	return buildView (*entry->second.node, controller, subControllers);
}

CView* UIDescription::buildView (const UIDescriptionNode& node, IController* controller,
                                 SubControllers* subControllers) const
{
	const auto attributes = attributesOf (node);
	IController* subController = nullptr;
	if (const std::string* subName = attributes->getAttributeValue ("sub-controller");
	    subName && controller && subControllers)
		subController = controller->createSubController (subName->c_str (), this);
	IController* viewController = subController ? subController : controller;

	CView* view = nullptr;
	if (attributes->hasAttribute ("custom-view-name") && viewController)
		view = viewController->createView (*attributes, this);
	if (view == nullptr)
		view = factory.createView (*attributes, this);
	if (view == nullptr)
	{
		delete subController;
		return nullptr;
	}
	bindControl (view, *attributes, viewController);

	if (auto* container = dynamic_cast<CViewContainer*> (view))
	{
		for (const auto& child : node.children)
			if (child->name == "view")
				if (CView* childView = buildView (*child, viewController, subControllers))
					container->addView (childView);
	}
	if (viewController)
	{
		// A controller that hands back another view answers for the one it was given.
		if (CView* verified = viewController->verifyView (view, *attributes, this))
			view = verified;
	}
	if (subController)
		subControllers->emplace_back (view, subController);
	return view;
}

void UIDescription::bindControl (CView* view, const UIAttributes& attributes,
                                 IController* controller) const
{
	auto* control = dynamic_cast<CControl*> (view);
	if (control == nullptr)
		return;
	const std::string* tagName = attributes.getAttributeValue ("control-tag");
	if (tagName)
	{
		int32_t tag = getTagForName (tagName->c_str ());
		if (controller)
			tag = controller->getTagForName (tagName->c_str (), tag);
		control->setTag (tag);
	}
	if (controller)
		control->setListener (controller->getControlListener (tagName ? tagName->c_str () : nullptr));
}

int32_t UIDescription::getTagForName (UTF8StringPtr name) const
{
	if (name == nullptr)
		return -1;
	auto entry = controlTags.find (name);
	if (entry != controlTags.end ())
		return entry->second;
	double number = 0.;
	if (UIAttributes::stringToDouble (name, number) && number == std::floor (number) &&
	    number >= INT32_MIN && number <= INT32_MAX)
		return static_cast<int32_t> (number);
	return -1;
}

CBitmap* UIDescription::getBitmap (UTF8StringPtr name) const
{
	if (name == nullptr)
		return nullptr;
	if (auto cached = bitmaps.find (name); cached != bitmaps.end ())
		return cached->second;
	auto entry = bitmapPaths.find (name);
	if (entry == bitmapPaths.end ())
		return nullptr;
	auto bitmap = makeOwned<CBitmap> (CResourceDescription (entry->second.c_str ()));
	if (!bitmap->isLoaded ())
		return nullptr;
	bitmaps[name] = bitmap;
	return bitmap;
}

bool UIDescription::getColor (UTF8StringPtr name, CColor& color) const
{
	if (name == nullptr)
		return false;
	if (auto entry = colors.find (name); entry != colors.end ())
	{
		color = entry->second;
		return true;
	}
	return parseColor (name, color);
}

CFontDesc* UIDescription::getFont (UTF8StringPtr name) const
{
	if (name == nullptr)
		return nullptr;
	auto entry = fonts.find (name);
	return entry == fonts.end () ? nullptr : entry->second.get ();
}

bool UIDescription::lookupBitmapName (const CBitmap* bitmap, std::string& bitmapName) const
{
	for (const auto& [name, loaded] : bitmaps)
	{
		if (loaded.get () == bitmap)
		{
			bitmapName = name;
			return true;
		}
	}
	return false;
}

bool UIDescription::lookupColorName (const CColor& color, std::string& colorName) const
{
	for (const auto& [name, known] : colors)
	{
		if (known == color)
		{
			colorName = name;
			return true;
		}
	}
	return false;
}

bool UIDescription::parseColor (const std::string& text, CColor& color)
{
	if ((text.size () != 7 && text.size () != 9) || text.front () != '#')
		return false;
	CColor parsed;
	if (!parseHexByte (text, 1, parsed.red) || !parseHexByte (text, 3, parsed.green) ||
	    !parseHexByte (text, 5, parsed.blue))
		return false;
	if (text.size () == 9 && !parseHexByte (text, 7, parsed.alpha))
		return false;
	color = parsed;
	return true;
}

} // namespace VSTGUI
