// Stands in for VSTGUI's IController (vstgui/uidescription/icontroller.h).
#pragma once

#include "vstgui/lib/controls/icontrollistener.h"

namespace VSTGUI {

class CView;
class IUIDescription;
class UIAttributes;

/** What a UI description asks of the object that drives the views it builds. */
class IController : public IControlListener
{
public:
	virtual int32_t getTagForName (UTF8StringPtr /*name*/, int32_t registeredTag) const
	{
		return registeredTag;
	}
	virtual IControlListener* getControlListener (UTF8StringPtr /*controlTagName*/) { return this; }
	virtual CView* createView (const UIAttributes& /*attributes*/,
	                           const IUIDescription* /*description*/)
	{
		return nullptr;
	}
	virtual CView* verifyView (CView* view, const UIAttributes& /*attributes*/,
	                           const IUIDescription* /*description*/)
	{
		return view;
	}
	virtual IController* createSubController (UTF8StringPtr /*name*/,
	                                          const IUIDescription* /*description*/)
	{
		return nullptr;
	}
};

} // namespace VSTGUI
