#pragma once

#include "vstgui/uidescription/iviewcreator.h"

#include <array>
#include <string>

namespace VSTGUI {

/** Reads and writes the attributes that every slider has: mode, orientation, handle offset and zoom. */
class SliderBaseCreator : public ViewCreatorAdapter
{
public:
	using ModeStrings = std::array<std::string, 6>;
	/** The names of the slider modes as UI descriptions spell them, indexed by mode. */
	static const ModeStrings& modeStrings ();

	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription* description) const override;
	bool getAttributeNames (StringList& attributeNames) const override;
	AttrType getAttributeType (const std::string& attributeName) const override;
	bool getAttributeValue (CView* view, const std::string& attributeName, std::string& stringValue,
	                        const IUIDescription* desc) const override;
	bool getPossibleListValues (const std::string& attributeName, ConstStringPtrList& values) const override;
};

} // namespace VSTGUI
