#include "vstgui/plugin-bindings/vst3editor.h"

#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/cparamdisplay.h"
#include "vstgui/plugin-bindings/bundleresources.h"
#include "vstgui/plugin-bindings/x11editorwindow.h"

#include "base/source/updatehandler.h"
#include "pluginterfaces/base/ustring.h"
#include "public.sdk/source/common/guardedcall.h"
#include "public.sdk/source/vst/vstparameters.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace VSTGUI {
namespace {

std::string asciiOf (const Steinberg::Vst::TChar* text)
{
	char ascii[128] {};
	Steinberg::UString (const_cast<Steinberg::Vst::TChar*> (text), 128).toAscii (ascii, sizeof (ascii));
	return ascii;
}

} // namespace

VST3Editor::VST3Editor (Steinberg::Vst::EditController* controller, UTF8StringPtr templateName,
                        UTF8StringPtr xmlFile)
: EditorView (controller)
, delegate (dynamic_cast<VST3EditorDelegate*> (controller))
, templateName (templateName ? templateName : "")
{
	// Parameter objects tell their dependents of changes only through the update handler.
	Steinberg::UpdateHandler::instance ();
	const std::string path = findBundleResource (xmlFile ? xmlFile : "");
	auto parsed = makeOwned<UIDescription> (CResourceDescription (path.c_str ()));
	if (!parsed->parse ())
		return;
	description = parsed;
	CPoint size;
	const UIAttributes* attributes = description->getViewAttributes (this->templateName.c_str ());
	if (attributes && attributes->getPointAttribute ("size", size))
		rect = Steinberg::ViewRect (0, 0, static_cast<Steinberg::int32> (std::lround (size.x)),
		                            static_cast<Steinberg::int32> (std::lround (size.y)));
}

VST3Editor::~VST3Editor ()
{
	close ();
}

bool VST3Editor::open ()
{
	if (frame)
		return true;
	if (!description)
		return false;
	CView* view = description->createView (templateName.c_str (), this, &subControllers);
	if (view == nullptr)
		return false;
	frame = owned (new CFrame (CRect (0, 0, rect.getWidth (), rect.getHeight ())));
	frame->setTransparency (true);
	frame->addView (view);
	collectControls (frame);
	for (CControl* control : controls)
		showParameterValue (control);
	watchParameters (true);
	if (delegate)
		delegate->didOpen (this);
	return true;
}

void VST3Editor::close ()
{
	if (!frame)
		return;
	if (delegate)
		delegate->willClose (this);
	watchParameters (false);
	closeOpenEdits ();
	controls.clear ();
	// A sub-controller goes before the views it drives, which may still tell it of their end.
	for (auto entry = subControllers.rbegin (); entry != subControllers.rend (); ++entry)
		delete entry->second;
	subControllers.clear ();
	frame = nullptr;
}

// The host hears the end of every edit it saw begin, even when the editor closes during a drag.
void VST3Editor::closeOpenEdits ()
{
	for (CControl* control : controls)
		while (control->isEditing ())
			control->endEdit ();
}

void VST3Editor::collectControls (CView* view)
{
	if (auto* control = dynamic_cast<CControl*> (view); control && parameterOf (control))
	{
		controls.push_back (control);
		if (auto* display = dynamic_cast<CParamDisplay*> (control))
			showValueTextOf (display);
	}
	if (auto* container = dynamic_cast<CViewContainer*> (view))
		for (CView* child : container->getChildren ())
			collectControls (child);
}

Steinberg::Vst::Parameter* VST3Editor::parameterOf (const CControl* control) const
{
	if (controller == nullptr || control == nullptr || control->getTag () < 0)
		return nullptr;
	return controller->getParameterObject (static_cast<Steinberg::Vst::ParamID> (control->getTag ()));
}

// A display bound to a parameter shows the controller's text for the value, and its units.
void VST3Editor::showValueTextOf (CParamDisplay* display)
{
	display->setValueToStringFunction2 ([this] (float value, std::string& result, CParamDisplay* shown) {
		auto* parameter = parameterOf (shown);
		if (parameter == nullptr || shown->getRange () == 0.f)
			return false;
		const double normalized = (value - shown->getMin ()) / shown->getRange ();
		Steinberg::Vst::String128 text {};
		if (controller->getParamStringByValue (parameter->getInfo ().id, normalized, text) !=
		    Steinberg::kResultOk)
			return false;
		result = asciiOf (text);
		if (const std::string units = asciiOf (parameter->getInfo ().units); !units.empty ())
			result += " " + units;
		return true;
	});
}

void VST3Editor::showParameterValue (CControl* control)
{
	if (auto* parameter = parameterOf (control))
	{
		control->setValueNormalized (static_cast<float> (parameter->getNormalized ()));
		control->invalid ();
	}
}

void VST3Editor::watchParameters (bool state)
{
	std::vector<Steinberg::Vst::Parameter*> watched;
	for (CControl* control : controls)
	{
		auto* parameter = parameterOf (control);
		if (std::find (watched.begin (), watched.end (), parameter) != watched.end ())
			continue;
		watched.push_back (parameter);
		if (state)
			parameter->addDependent (this);
		else
			parameter->removeDependent (this);
	}
}

void PLUGIN_API VST3Editor::update (Steinberg::FUnknown* changedUnknown, Steinberg::int32 message)
{
	Steinberg::guardedCall ([&] {
		auto* parameter = Steinberg::FCast<Steinberg::Vst::Parameter> (changedUnknown);
		if (parameter == nullptr || message != kChanged)
		{
			EditorView::update (changedUnknown, message);
			return;
		}
		for (CControl* control : controls)
			if (control->getTag () == static_cast<int32_t> (parameter->getInfo ().id) && !control->isEditing ())
				showParameterValue (control);
	});
}

void VST3Editor::valueChanged (CControl* control)
{
	if (!parameterOf (control))
		return;
	const auto tag = static_cast<Steinberg::Vst::ParamID> (control->getTag ());
	const double normalized = control->getValueNormalized ();
	controller->setParamNormalized (tag, normalized);
	controller->performEdit (tag, controller->getParamNormalized (tag));
}

void VST3Editor::controlBeginEdit (CControl* control)
{
	if (parameterOf (control))
		controller->beginEdit (static_cast<Steinberg::Vst::ParamID> (control->getTag ()));
}

void VST3Editor::controlEndEdit (CControl* control)
{
	if (parameterOf (control))
		controller->endEdit (static_cast<Steinberg::Vst::ParamID> (control->getTag ()));
}

CView* VST3Editor::createView (const UIAttributes& attributes, const IUIDescription* uiDescription)
{
	const std::string* name = attributes.getAttributeValue ("custom-view-name");
	if (delegate == nullptr || name == nullptr)
		return nullptr;
	return delegate->createCustomView (name->c_str (), attributes, uiDescription, this);
}

CView* VST3Editor::verifyView (CView* view, const UIAttributes& attributes,
                               const IUIDescription* uiDescription)
{
	return delegate ? delegate->verifyView (view, attributes, uiDescription, this) : view;
}

IController* VST3Editor::createSubController (UTF8StringPtr name, const IUIDescription* uiDescription)
{
	return delegate ? delegate->createSubController (name, uiDescription, this) : nullptr;
}

Steinberg::tresult PLUGIN_API VST3Editor::isPlatformTypeSupported (Steinberg::FIDString type)
{
	if (type && std::strcmp (type, Steinberg::kPlatformTypeX11EmbedWindowID) == 0)
		return Steinberg::kResultTrue;
	return Steinberg::kResultFalse;
}

Steinberg::tresult PLUGIN_API VST3Editor::attached (void* parent, Steinberg::FIDString type)
{
	return Steinberg::guardedCall (Steinberg::kResultFalse, [&] { return attachWindow (parent, type); });
}

Steinberg::tresult VST3Editor::attachWindow (void* parent, Steinberg::FIDString type)
{
	if (isAttached () || isPlatformTypeSupported (type) != Steinberg::kResultTrue || !open ())
		return Steinberg::kResultFalse;
	X11EditorWindow::Client client;
	client.paint = [this] (cairo_surface_t* surface) {
		if (!frame)
			return;
		auto context = owned (new CDrawContext (surface));
		frame->drawInvalidRects (context);
	};
	client.needsRedraw = [this] { return frame && !frame->getInvalidRects ().empty (); };
	client.expose = [this] (const CRect& rect) {
		if (frame)
			frame->invalidRect (rect);
	};
	client.mouse = [this] (X11EditorWindow::MouseAction action, CPoint where, CButtonState buttons) {
		if (!frame)
			return;
		switch (action)
		{
			case X11EditorWindow::MouseAction::kDown: frame->onMouseDown (where, buttons); break;
			case X11EditorWindow::MouseAction::kUp: frame->onMouseUp (where, buttons); break;
			case X11EditorWindow::MouseAction::kMoved: frame->onMouseMoved (where, buttons); break;
		}
	};
	client.wheel = [this] (CPoint where, CMouseWheelAxis axis, float distance, CButtonState buttons) {
		if (frame)
			frame->onWheel (where, axis, distance, buttons);
	};
	client.key = [this] (bool down, VstKeyCode key) {
		if (!frame)
			return;
		if (down)
			frame->onKeyDown (key);
		else
			frame->onKeyUp (key);
	};
	window = Steinberg::owned (new X11EditorWindow (std::move (client)));
	const auto parentWindow = static_cast<uint32_t> (reinterpret_cast<uintptr_t> (parent));
	frame->setPlatformFrame (window);
	if (!window->open (parentWindow, rect.getWidth (), rect.getHeight (), plugFrame))
	{
		frame->setPlatformFrame (nullptr);
		window = nullptr;
		close ();
		return Steinberg::kResultFalse;
	}
	return EditorView::attached (parent, type);
}

Steinberg::tresult PLUGIN_API VST3Editor::removed ()
{
	return Steinberg::guardedCall (Steinberg::kResultFalse, [this] {
		if (window)
		{
			if (frame)
				frame->setPlatformFrame (nullptr);
			window->close ();
			window = nullptr;
		}
		close ();
		return EditorView::removed ();
	});
}

} // namespace VSTGUI
