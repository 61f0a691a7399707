#include "vstgui/lib/controls/sliderbasecreator.h"

#include "vstgui/lib/controls/csliderbase.h"
#include "vstgui/uidescription/uiattributes.h"

namespace VSTGUI {

namespace {

const std::string kAttrMode = "mode";
const std::string kAttrOrientation = "orientation";
const std::string kAttrReverseOrientation = "reverse-orientation";
const std::string kAttrHandleOffset = "handle-offset";
const std::string kAttrZoomFactor = "zoom-factor";
const std::string kAttrFreeClick = "free-click";

const std::string kHorizontalName = "horizontal";
const std::string kVerticalName = "vertical";
const std::string kTrue = "true";
const std::string kFalse = "false";

int32_t withOrientation (int32_t style, bool vertical)
{
	style &= ~(kHorizontal | kVertical);
	return style | (vertical ? kVertical : kHorizontal);
}

int32_t withReversal (int32_t style, bool reverse)
{
	if (style & kVertical)
	{
		style &= ~(kTop | kBottom);
		return style | (reverse ? kTop : kBottom);
	}
	if (style & kHorizontal)
	{
		style &= ~(kLeft | kRight);
		return style | (reverse ? kRight : kLeft);
	}
	return style;
}

bool isReversed (int32_t style)
{
	return ((style & kVertical) && (style & kTop)) || ((style & kHorizontal) && (style & kRight));
}

} // namespace

const SliderBaseCreator::ModeStrings& SliderBaseCreator::modeStrings ()
{
	static const ModeStrings strings {"touch", "relative touch", "free click", "KS free click", "ramp", "use global"};
	return strings;
}

bool SliderBaseCreator::apply (CView* view, const UIAttributes& attributes, const IUIDescription*) const
{
	auto slider = dynamic_cast<CSliderBase*> (view);
	if (!slider)
		return false;

	if (auto freeClick = attributes.getAttributeValue (kAttrFreeClick))
		slider->setSliderMode (*freeClick == kTrue ? CSliderMode::FreeClick : CSliderMode::Touch);
	if (auto mode = attributes.getAttributeValue (kAttrMode))
	{
		const auto& names = modeStrings ();
		for (size_t index = 0; index < names.size (); ++index)
		{
			if (*mode == names[index])
			{
				slider->setSliderMode (static_cast<CSliderMode> (index));
				break;
			}
		}
	}
	CPoint offset;
	if (attributes.getPointAttribute (kAttrHandleOffset, offset))
		slider->setOffsetHandle (offset);
	double zoom;
	if (attributes.getDoubleAttribute (kAttrZoomFactor, zoom))
		slider->setZoomFactor (static_cast<float> (zoom));
	// The orientation comes first, so that the reversal picks the pair of bits for it.
	if (auto orientation = attributes.getAttributeValue (kAttrOrientation))
		slider->setStyle (withOrientation (slider->getStyle (), *orientation == kVerticalName));
	if (auto reverse = attributes.getAttributeValue (kAttrReverseOrientation))
		slider->setStyle (withReversal (slider->getStyle (), *reverse == kTrue));
	return true;
}

bool SliderBaseCreator::getAttributeNames (StringList& attributeNames) const
{
	for (const auto* name : {&kAttrMode, &kAttrOrientation, &kAttrReverseOrientation, &kAttrHandleOffset,
	                         &kAttrZoomFactor})
		attributeNames.push_back (*name);
	return true;
}

IViewCreator::AttrType SliderBaseCreator::getAttributeType (const std::string& attributeName) const
{
	if (attributeName == kAttrMode || attributeName == kAttrOrientation)
		return kListType;
	if (attributeName == kAttrReverseOrientation)
		return kBooleanType;
	if (attributeName == kAttrHandleOffset)
		return kPointType;
	if (attributeName == kAttrZoomFactor)
		return kFloatType;
	return kUnknownType;
}

bool SliderBaseCreator::getAttributeValue (CView* view, const std::string& attributeName, std::string& stringValue,
                                           const IUIDescription*) const
{
	auto slider = dynamic_cast<CSliderBase*> (view);
	if (!slider)
		return false;
	if (attributeName == kAttrMode)
	{
		const auto index = static_cast<size_t> (slider->getSliderMode ());
		// A mode set from code may lie outside the named ones; it has no text.
		if (index >= modeStrings ().size ())
			return false;
		stringValue = modeStrings ()[index];
		return true;
	}
	if (attributeName == kAttrOrientation)
	{
		stringValue = (slider->getStyle () & kVertical) ? kVerticalName : kHorizontalName;
		return true;
	}
	if (attributeName == kAttrReverseOrientation)
	{
		stringValue = isReversed (slider->getStyle ()) ? kTrue : kFalse;
		return true;
	}
	if (attributeName == kAttrHandleOffset)
	{
		stringValue = UIAttributes::pointToString (slider->getOffsetHandle ());
		return true;
	}
	if (attributeName == kAttrZoomFactor)
	{
		stringValue = UIAttributes::doubleToString (slider->getZoomFactor ());
		return true;
	}
	return false;
}

bool SliderBaseCreator::getPossibleListValues (const std::string& attributeName, ConstStringPtrList& values) const
{
	if (attributeName == kAttrOrientation)
	{
		values.push_back (&kHorizontalName);
		values.push_back (&kVerticalName);
		return true;
	}
	if (attributeName == kAttrMode)
	{
		for (const auto& name : modeStrings ())
			values.push_back (&name);
		return true;
	}
	return false;
}

} // namespace VSTGUI
