#include "vstgui/uidescription/viewcreator/standardviewcreators.h"

#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/cparamdisplay.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/cviewcontainer.h"
#include "vstgui/uidescription/iuidescription.h"
#include "vstgui/uidescription/uiattributes.h"
#include "vstgui/uidescription/uiviewfactory.h"

namespace VSTGUI {
namespace {

bool applyColor (const UIAttributes& attributes, const char* name, const IUIDescription* description,
                 CColor& color)
{
	const std::string* text = attributes.getAttributeValue (name);
	return text && description && description->getColor (text->c_str (), color);
}

bool isTrue (const std::string* text)
{
	return text && *text == "true";
}

// Placement: "origin" is relative to the parent container, "size" is width and height.
class ViewCreator : public ViewCreatorAdapter
{
public:
	IdStringPtr getViewName () const override { return "CView"; }
	IdStringPtr getBaseViewName () const override { return nullptr; }
	CView* create (const UIAttributes&, const IUIDescription*) const override
	{
		return new CView (CRect (0, 0, 0, 0));
	}
	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription*) const override
	{
		CPoint origin (view->getViewSize ().left, view->getViewSize ().top);
		CPoint size (view->getWidth (), view->getHeight ());
		attributes.getPointAttribute ("origin", origin);
		attributes.getPointAttribute ("size", size);
		const CRect placed (origin, size);
		view->setViewSize (placed);
		view->setMouseableArea (placed);
		if (const std::string* enabled = attributes.getAttributeValue ("mouse-enabled"))
			view->setMouseEnabled (isTrue (enabled));
		return true;
	}
};

// The value range; the tag and the listener come from the description and its controller.
class ControlCreator : public ViewCreatorAdapter
{
public:
	IdStringPtr getViewName () const override { return "CControl"; }
	IdStringPtr getBaseViewName () const override { return "CView"; }
	CView* create (const UIAttributes&, const IUIDescription*) const override { return nullptr; }
	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription*) const override
	{
		auto* control = dynamic_cast<CControl*> (view);
		if (control == nullptr)
			return false;
		double number = 0.;
		if (attributes.getDoubleAttribute ("min-value", number))
			control->setMin (static_cast<float> (number));
		if (attributes.getDoubleAttribute ("max-value", number))
			control->setMax (static_cast<float> (number));
		if (attributes.getDoubleAttribute ("default-value", number))
			control->setDefaultValue (static_cast<float> (number));
		if (attributes.getDoubleAttribute ("wheel-inc-value", number))
			control->setWheelInc (static_cast<float> (number));
		return true;
	}
};

class ViewContainerCreator : public ViewCreatorAdapter
{
public:
	IdStringPtr getViewName () const override { return "CViewContainer"; }
	IdStringPtr getBaseViewName () const override { return "CView"; }
	CView* create (const UIAttributes&, const IUIDescription*) const override
	{
		return new CViewContainer (CRect (0, 0, 0, 0));
	}
	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription* description) const override
	{
		auto* container = dynamic_cast<CViewContainer*> (view);
		if (container == nullptr)
			return false;
		CColor color;
		if (applyColor (attributes, "background-color", description, color))
			container->setBackgroundColor (color);
		if (const std::string* transparent = attributes.getAttributeValue ("transparent"))
			container->setTransparency (isTrue (transparent));
		return true;
	}
};

// "text-alignment" is "left", "center" or "right"; "text-inset" is "x, y".
class ParamDisplayCreator : public ViewCreatorAdapter
{
public:
	IdStringPtr getViewName () const override { return "CParamDisplay"; }
	IdStringPtr getBaseViewName () const override { return "CControl"; }
	CView* create (const UIAttributes&, const IUIDescription*) const override
	{
		return new CParamDisplay (CRect (0, 0, 0, 0));
	}
	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription* description) const override
	{
		auto* display = dynamic_cast<CParamDisplay*> (view);
		if (display == nullptr)
			return false;
		if (const std::string* name = attributes.getAttributeValue ("font"); name && description)
			display->setFont (description->getFont (name->c_str ()));
		CColor color;
		if (applyColor (attributes, "font-color", description, color))
			display->setFontColor (color);
		if (applyColor (attributes, "back-color", description, color))
			display->setBackColor (color);
		if (applyColor (attributes, "frame-color", description, color))
			display->setFrameColor (color);
		if (const std::string* align = attributes.getAttributeValue ("text-alignment"))
			display->setHoriAlign (*align == "left" ? kLeftText : *align == "right" ? kRightText : kCenterText);
		CPoint inset;
		if (attributes.getPointAttribute ("text-inset", inset))
			display->setTextInset (inset);
		if (const std::string* noFrame = attributes.getAttributeValue ("style-no-frame"))
			display->setStyle (isTrue (noFrame) ? CParamDisplay::StyleNoFrame : 0);
		if (const std::string* transparent = attributes.getAttributeValue ("transparent"))
			display->setTransparency (isTrue (transparent));
		return true;
	}
};

class TextLabelCreator : public ViewCreatorAdapter
{
public:
	IdStringPtr getViewName () const override { return "CTextLabel"; }
	IdStringPtr getBaseViewName () const override { return "CParamDisplay"; }
	CView* create (const UIAttributes&, const IUIDescription*) const override
	{
		return new CTextLabel (CRect (0, 0, 0, 0));
	}
	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription*) const override
	{
		auto* label = dynamic_cast<CTextLabel*> (view);
		if (label == nullptr)
			return false;
		if (const std::string* title = attributes.getAttributeValue ("title"))
			label->setText (UTF8String (*title));
		return true;
	}
};

class OnOffButtonCreator : public ViewCreatorAdapter
{
public:
	IdStringPtr getViewName () const override { return "COnOffButton"; }
	IdStringPtr getBaseViewName () const override { return "CControl"; }
	CView* create (const UIAttributes&, const IUIDescription*) const override
	{
		return new COnOffButton (CRect (0, 0, 0, 0));
	}
	bool apply (CView* view, const UIAttributes& attributes, const IUIDescription* description) const override
	{
		auto* button = dynamic_cast<COnOffButton*> (view);
		if (button == nullptr)
			return false;
		if (const std::string* name = attributes.getAttributeValue ("bitmap"); name && description)
			button->setBackground (description->getBitmap (name->c_str ()));
		return true;
	}
};

} // namespace

void registerStandardViewCreators ()
{
	static const ViewCreator view;
	static const ControlCreator control;
	static const ViewContainerCreator container;
	static const ParamDisplayCreator display;
	static const TextLabelCreator label;
	static const OnOffButtonCreator button;
	static const bool registered = [] {
		UIViewFactory::registerViewCreator (view);
		UIViewFactory::registerViewCreator (control);
		UIViewFactory::registerViewCreator (container);
		UIViewFactory::registerViewCreator (display);
		UIViewFactory::registerViewCreator (label);
		UIViewFactory::registerViewCreator (button);
		return true;
	}();
	(void)registered;
}

} // namespace VSTGUI
