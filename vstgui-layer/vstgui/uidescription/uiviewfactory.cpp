#include "vstgui/uidescription/uiviewfactory.h"

#include "vstgui/lib/cview.h"
#include "vstgui/uidescription/uiattributes.h"

#include <map>

namespace VSTGUI {

namespace {

// The class name of a created view is kept with the view under this id.
constexpr CViewAttributeID kViewClassNameAttribute = 0x63766372; // 'cvcr'

using Registry = std::map<std::string, const IViewCreator*>;

Registry& registry ()
{
	static Registry creators;
	return creators;
}

const IViewCreator* findCreator (IdStringPtr name)
{
	if (!name)
		return nullptr;
	auto it = registry ().find (name);
	return it == registry ().end () ? nullptr : it->second;
}

} // namespace

void UIViewFactory::registerViewCreator (const IViewCreator& viewCreator)
{
	registry ()[viewCreator.getViewName ()] = &viewCreator;
}

void UIViewFactory::unregisterViewCreator (const IViewCreator& viewCreator)
{
	auto it = registry ().find (viewCreator.getViewName ());
	if (it != registry ().end () && it->second == &viewCreator)
		registry ().erase (it);
}

const IViewCreator* UIViewFactory::getViewCreator (IdStringPtr className)
{
	return findCreator (className);
}

CView* UIViewFactory::createView (const UIAttributes& attributes, const IUIDescription* description) const
{
	auto className = attributes.getAttributeValue ("class");
	auto creator = className ? findCreator (className->c_str ()) : nullptr;
	if (!creator)
		return nullptr;
	CView* view = creator->create (attributes, description);
	if (!view)
		return nullptr;
	view->setAttribute (kViewClassNameAttribute, static_cast<uint32_t> (className->size () + 1), className->c_str ());
	applyAttributeValues (view, attributes, description);
	return view;
}

IdStringPtr UIViewFactory::getViewName (CView* view) const
{
	uint32_t size = 0;
	if (!view || !view->getAttributeSize (kViewClassNameAttribute, size))
		return nullptr;
	std::string name (size, '\0');
	if (!view->getAttribute (kViewClassNameAttribute, size, name.data (), size))
		return nullptr;
	auto creator = findCreator (name.c_str ());
	return creator ? creator->getViewName () : nullptr;
}

// Walks the creators from the view's own class up its base names; stops when visit answers true.
template <class Visit>
bool UIViewFactory::forEachCreatorOf (CView* view, Visit visit) const
{
	for (auto creator = findCreator (getViewName (view)); creator; creator = findCreator (creator->getBaseViewName ()))
	{
		if (visit (*creator))
			return true;
	}
	return false;
}

bool UIViewFactory::applyAttributeValues (CView* view, const UIAttributes& attributes,
                                          const IUIDescription* desc) const
{
	bool applied = false;
	forEachCreatorOf (view, [&] (const IViewCreator& creator) {
		applied = creator.apply (view, attributes, desc) || applied;
		return false;
	});
	return applied;
}

bool UIViewFactory::getAttributeNamesForView (CView* view, StringList& attributeNames) const
{
	bool found = false;
	forEachCreatorOf (view, [&] (const IViewCreator& creator) {
		found = creator.getAttributeNames (attributeNames) || found;
		return false;
	});
	return found;
}

bool UIViewFactory::getAttributeValue (CView* view, const std::string& attributeName, std::string& stringValue,
                                       const IUIDescription* desc) const
{
	return forEachCreatorOf (view, [&] (const IViewCreator& creator) {
		return creator.getAttributeValue (view, attributeName, stringValue, desc);
	});
}

IViewCreator::AttrType UIViewFactory::getAttributeType (CView* view, const std::string& attributeName) const
{
	auto type = IViewCreator::kUnknownType;
	forEachCreatorOf (view, [&] (const IViewCreator& creator) {
		type = creator.getAttributeType (attributeName);
		return type != IViewCreator::kUnknownType;
	});
	return type;
}

bool UIViewFactory::getPossibleAttributeListValues (CView* view, const std::string& attributeName,
                                                    ConstStringPtrList& values) const
{
	return forEachCreatorOf (view, [&] (const IViewCreator& creator) {
		return creator.getPossibleListValues (attributeName, values);
	});
}

} // namespace VSTGUI
