// Stands in for VSTGUI's view factory (vstgui/uidescription/uiviewfactory.h).
#pragma once

#include "vstgui/uidescription/iviewcreator.h"

#include <string>

namespace VSTGUI {

/** Finds view creators by class name, creates views from attributes and reads attributes back.
    A class's creator is asked first, then the creator of its base class name, and so on. */
class UIViewFactory
{
public:
	static void registerViewCreator (const IViewCreator& viewCreator);
	static void unregisterViewCreator (const IViewCreator& viewCreator);
	/** The creator registered under a class name, or null. */
	static const IViewCreator* getViewCreator (IdStringPtr className);

	/** A new view of the class named by the attribute "class", with all attributes applied; null for an unknown class. */
	CView* createView (const UIAttributes& attributes, const IUIDescription* description) const;
	bool applyAttributeValues (CView* view, const UIAttributes& attributes, const IUIDescription* desc) const;
	bool getAttributeNamesForView (CView* view, StringList& attributeNames) const;
	bool getAttributeValue (CView* view, const std::string& attributeName, std::string& stringValue,
	                        const IUIDescription* desc) const;
	IViewCreator::AttrType getAttributeType (CView* view, const std::string& attributeName) const;
	bool getPossibleAttributeListValues (CView* view, const std::string& attributeName,
	                                     ConstStringPtrList& values) const;
	/** The class name the view was created under, or null. */
	IdStringPtr getViewName (CView* view) const;

private:
	template <class Visit>
	bool forEachCreatorOf (CView* view, Visit visit) const;
};

} // namespace VSTGUI
