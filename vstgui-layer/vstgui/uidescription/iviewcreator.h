// Stands in for VSTGUI's view-creator interface (vstgui/uidescription/iviewcreator.h).
#pragma once

#include "vstgui/lib/vstguibase.h"

#include <list>
#include <string>

namespace VSTGUI {

class CView;
class IUIDescription;
class UIAttributes;

using StringList = std::list<std::string>;
using ConstStringPtrList = std::list<const std::string*>;

/** Creates views of one class and reads and writes their attributes. */
class IViewCreator
{
public:
	enum AttrType
	{
		kUnknownType,
		kBooleanType,
		kIntegerType,
		kFloatType,
		kStringType,
		kColorType,
		kFontType,
		kBitmapType,
		kPointType,
		kRectType,
		kTagType,
		kListType,
		kGradientType,
	};

	virtual ~IViewCreator () noexcept = default;

	virtual IdStringPtr getViewName () const = 0;
	virtual IdStringPtr getBaseViewName () const = 0;
	virtual CView* create (const UIAttributes& attributes, const IUIDescription* description) const = 0;
	virtual bool apply (CView* view, const UIAttributes& attributes, const IUIDescription* description) const = 0;
	virtual bool getAttributeNames (StringList& attributeNames) const = 0;
	virtual AttrType getAttributeType (const std::string& attributeName) const = 0;
	virtual bool getAttributeValue (CView* view, const std::string& attributeName, std::string& stringValue,
	                                const IUIDescription* desc) const = 0;
	virtual bool getPossibleListValues (const std::string& attributeName, ConstStringPtrList& values) const = 0;
	virtual UTF8StringPtr getDisplayName () const = 0;
};

/** Defaults for a creator that knows no attributes of its own. */
class ViewCreatorAdapter : public IViewCreator
{
public:
	bool apply (CView*, const UIAttributes&, const IUIDescription*) const override { return true; }
	bool getAttributeNames (StringList&) const override { return true; }
	AttrType getAttributeType (const std::string&) const override { return kUnknownType; }
	bool getAttributeValue (CView*, const std::string&, std::string&, const IUIDescription*) const override
	{
		return false;
	}
	bool getPossibleListValues (const std::string&, ConstStringPtrList&) const override { return false; }
	UTF8StringPtr getDisplayName () const override { return getViewName (); }
};

} // namespace VSTGUI
