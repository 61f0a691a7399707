#pragma once

#include "vstgui/lib/controls/sliderbasecreator.h"

namespace VSTGUI {

/** Creates CSlider views for the class name "CSlider" and handles their bitmaps, draw style and colours. */
class SliderCreator : public SliderBaseCreator
{
public:
	SliderCreator ();

	IdStringPtr getViewName () const override;
	IdStringPtr getBaseViewName () const override;
	UTF8StringPtr getDisplayName () const override;
	CView* create (const UIAttributes& attributes, const IUIDescription* description) const override;
	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription* description) const override;
	bool getAttributeNames (StringList& attributeNames) const override;
	AttrType getAttributeType (const std::string& attributeName) const override;
	bool getAttributeValue (CView* view, const std::string& attributeName, std::string& stringValue,
	                        const IUIDescription* desc) const override;
};

} // namespace VSTGUI
