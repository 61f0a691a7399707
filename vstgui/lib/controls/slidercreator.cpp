#include "vstgui/lib/controls/slidercreator.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/controls/cslider.h"
#include "vstgui/uidescription/iuidescription.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uiviewfactory.h"

#include <cstdio>
#include <utility>

namespace VSTGUI {

namespace {

const std::string kAttrHandleBitmap = "handle-bitmap";
const std::string kAttrBitmapOffset = "bitmap-offset";
const std::string kAttrDrawFrame = "draw-frame";
const std::string kAttrDrawBack = "draw-back";
const std::string kAttrDrawValue = "draw-value";
const std::string kAttrDrawValueFromCenter = "draw-value-from-center";
const std::string kAttrDrawValueInverted = "draw-value-inverted";
const std::string kAttrFrameWidth = "frame-width";
const std::string kAttrDrawFrameColor = "draw-frame-color";
const std::string kAttrDrawBackColor = "draw-back-color";
const std::string kAttrDrawValueColor = "draw-value-color";

const std::pair<const std::string*, int32_t> kDrawStyleAttributes[] = {
    {&kAttrDrawFrame, CSlider::kDrawFrame},
    {&kAttrDrawBack, CSlider::kDrawBack},
    {&kAttrDrawValue, CSlider::kDrawValue},
    {&kAttrDrawValueFromCenter, CSlider::kDrawValueFromCenter},
    {&kAttrDrawValueInverted, CSlider::kDrawInverted},
};

using ColorGetter = CColor (CSlider::*) () const;
using ColorSetter = void (CSlider::*) (CColor);
const struct
{
	const std::string* name;
	ColorGetter get;
	ColorSetter set;
} kColorAttributes[] = {
    {&kAttrDrawFrameColor, &CSlider::getFrameColor, &CSlider::setFrameColor},
    {&kAttrDrawBackColor, &CSlider::getBackColor, &CSlider::setBackColor},
    {&kAttrDrawValueColor, &CSlider::getValueColor, &CSlider::setValueColor},
};

// An empty text means transparent; anything else is looked up by the description.
bool stringToColor (const std::string& text, CColor& color, const IUIDescription* description)
{
	if (text.empty ())
	{
		color = kTransparentCColor;
		return true;
	}
	return description && description->getColor (text.c_str (), color);
}

std::string colorToString (const CColor& color, const IUIDescription* description)
{
	std::string name;
	if (description && description->lookupColorName (color, name))
		return name;
	char text[10];
	std::snprintf (text, sizeof (text), "#%02x%02x%02x%02x", color.red, color.green, color.blue, color.alpha);
	return text;
}

bool bitmapToString (const CBitmap* bitmap, std::string& text, const IUIDescription* description)
{
	if (description && description->lookupBitmapName (bitmap, text))
		return true;
	const auto& resource = bitmap->getResourceDescription ();
	if (resource.type == CResourceDescription::kStringType)
		text = resource.name;
	else if (resource.type == CResourceDescription::kIntegerType)
		text = std::to_string (resource.id);
	return true;
}

const std::string* findColorAttribute (const std::string& name)
{
	for (const auto& attribute : kColorAttributes)
		if (*attribute.name == name)
			return attribute.name;
	return nullptr;
}

// Registered with the view factory while the module loads, and never unregistered.
const SliderCreator sliderCreator;

} // namespace

SliderCreator::SliderCreator ()
{
	UIViewFactory::registerViewCreator (*this);
}

IdStringPtr SliderCreator::getViewName () const
{
	return "CSlider";
}

IdStringPtr SliderCreator::getBaseViewName () const
{
	return "CControl";
}

UTF8StringPtr SliderCreator::getDisplayName () const
{
	return "Slider";
}

CView* SliderCreator::create (const UIAttributes&, const IUIDescription*) const
{
	return new CSlider (CRect (0, 0, 0, 0), nullptr, -1, 0, 0, nullptr, nullptr, CPoint (0, 0), kLeft | kHorizontal);
}

bool SliderCreator::apply (CView* view, const UIAttributes& attributes, const IUIDescription* description) const
{
	auto slider = dynamic_cast<CSlider*> (view);
	if (!slider)
		return false;

	if (auto name = attributes.getAttributeValue (kAttrHandleBitmap))
		slider->setHandle (!name->empty () && description ? description->getBitmap (name->c_str ()) : nullptr);
	CPoint offset;
	if (attributes.getPointAttribute (kAttrBitmapOffset, offset))
		slider->setBackgroundOffset (offset);

	int32_t drawStyle = slider->getDrawStyle ();
	for (const auto& [name, bit] : kDrawStyleAttributes)
	{
		if (auto text = attributes.getAttributeValue (*name))
			drawStyle = *text == "true" ? (drawStyle | bit) : (drawStyle & ~bit);
	}
	slider->setDrawStyle (drawStyle);

	double frameWidth;
	if (attributes.getDoubleAttribute (kAttrFrameWidth, frameWidth))
		slider->setFrameWidth (frameWidth);
	for (const auto& attribute : kColorAttributes)
	{
		CColor color;
		auto text = attributes.getAttributeValue (*attribute.name);
		if (text && stringToColor (*text, color, description))
			(slider->*attribute.set) (color);
	}
	return SliderBaseCreator::apply (view, attributes, description);
}

bool SliderCreator::getAttributeNames (StringList& attributeNames) const
{
	SliderBaseCreator::getAttributeNames (attributeNames);
	attributeNames.push_back (kAttrHandleBitmap);
	attributeNames.push_back (kAttrBitmapOffset);
	for (const auto& entry : kDrawStyleAttributes)
		attributeNames.push_back (*entry.first);
	attributeNames.push_back (kAttrFrameWidth);
	for (const auto& attribute : kColorAttributes)
		attributeNames.push_back (*attribute.name);
	return true;
}

IViewCreator::AttrType SliderCreator::getAttributeType (const std::string& attributeName) const
{
	if (attributeName == kAttrHandleBitmap)
		return kBitmapType;
	if (attributeName == kAttrBitmapOffset)
		return kPointType;
	for (const auto& entry : kDrawStyleAttributes)
		if (attributeName == *entry.first)
			return kBooleanType;
	if (attributeName == kAttrFrameWidth)
		return kFloatType;
	if (findColorAttribute (attributeName))
		return kColorType;
	return SliderBaseCreator::getAttributeType (attributeName);
}

bool SliderCreator::getAttributeValue (CView* view, const std::string& attributeName, std::string& stringValue,
                                       const IUIDescription* desc) const
{
	auto slider = dynamic_cast<CSlider*> (view);
	if (!slider)
		return false;
	if (attributeName == kAttrHandleBitmap)
	{
		// Without a handle bitmap there is nothing to name; the caller's text stays.
		if (auto handle = slider->getHandle ())
			return bitmapToString (handle, stringValue, desc);
		return true;
	}
	if (attributeName == kAttrBitmapOffset)
	{
		stringValue = UIAttributes::pointToString (slider->getBackgroundOffset ());
		return true;
	}
	for (const auto& [name, bit] : kDrawStyleAttributes)
	{
		if (attributeName == *name)
		{
			stringValue = (slider->getDrawStyle () & bit) ? "true" : "false";
			return true;
		}
	}
	if (attributeName == kAttrFrameWidth)
	{
		stringValue = UIAttributes::doubleToString (slider->getFrameWidth ());
		return true;
	}
	for (const auto& attribute : kColorAttributes)
	{
		if (attributeName == *attribute.name)
		{
			stringValue = colorToString ((slider->*attribute.get) (), desc);
			return true;
		}
	}
	return SliderBaseCreator::getAttributeValue (view, attributeName, stringValue, desc);
}

} // namespace VSTGUI
