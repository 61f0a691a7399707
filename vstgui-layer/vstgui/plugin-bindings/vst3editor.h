// Stands in for VSTGUI's VST3 editor and its delegate (vstgui/plugin-bindings/vst3editor.h).
#pragma once

#include "vstgui/lib/cframe.h"
#include "vstgui/uidescription/icontroller.h"
#include "vstgui/uidescription/uidescription.h"

#include "public.sdk/source/vst/vsteditcontroller.h"

#include <string>
#include <utility>
#include <vector>

namespace VSTGUI {

class CParamDisplay;
class VST3Editor;
class X11EditorWindow;

/** What an edit controller may add to the editors it creates; every default changes nothing. */
class VST3EditorDelegate
{
public:
	virtual ~VST3EditorDelegate () = default;

	virtual CView* createCustomView (UTF8StringPtr /*name*/, const UIAttributes& /*attributes*/,
	                                 const IUIDescription* /*description*/, VST3Editor* /*editor*/)
	{
		return nullptr;
	}
	virtual CView* verifyView (CView* view, const UIAttributes& /*attributes*/,
	                           const IUIDescription* /*description*/, VST3Editor* /*editor*/)
	{
		return view;
	}
	virtual bool findParameter (const CPoint& /*pos*/, Steinberg::Vst::ParamID& /*paramID*/,
	                            VST3Editor* /*editor*/)
	{
		return false;
	}
	virtual void didOpen (VST3Editor* /*editor*/) {}
	virtual void willClose (VST3Editor* /*editor*/) {}
	virtual IController* createSubController (UTF8StringPtr /*name*/,
	                                          const IUIDescription* /*description*/,
	                                          VST3Editor* /*editor*/)
	{
		return nullptr;
	}
};

/** The plug-in view that builds its views from one template of a UI description and ties the
    tagged controls to the controller's parameters. */
class VST3Editor : public Steinberg::Vst::EditorView, public IController
{
public:
	/** xmlFile is looked for in the bundle's resources unless it is an absolute path. */
	VST3Editor (Steinberg::Vst::EditController* controller, UTF8StringPtr templateName,
	            UTF8StringPtr xmlFile);
	~VST3Editor () override;

	/** Builds the view tree from the template; the window, if any, is the caller's. */
	bool open ();
	/** Deletes the sub-controllers first, then the views they drove. */
	void close ();

	CFrame* getFrame () const { return frame; }

	//---from IPlugView
	Steinberg::tresult PLUGIN_API isPlatformTypeSupported (Steinberg::FIDString type) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API attached (void* parent, Steinberg::FIDString type) SMTG_OVERRIDE;
	Steinberg::tresult PLUGIN_API removed () SMTG_OVERRIDE;

	//---from IController
	void valueChanged (CControl* control) override;
	void controlBeginEdit (CControl* control) override;
	void controlEndEdit (CControl* control) override;
	CView* createView (const UIAttributes& attributes, const IUIDescription* description) override;
	CView* verifyView (CView* view, const UIAttributes& attributes,
	                   const IUIDescription* description) override;
	IController* createSubController (UTF8StringPtr name,
	                                  const IUIDescription* description) override;

	//---from FObject: a parameter of the controller has changed
	void PLUGIN_API update (Steinberg::FUnknown* changedUnknown, Steinberg::int32 message) SMTG_OVERRIDE;

private:
	Steinberg::tresult attachWindow (void* parent, Steinberg::FIDString type);
	Steinberg::Vst::Parameter* parameterOf (const CControl* control) const;
	void collectControls (CView* view);
	void closeOpenEdits ();
	void showParameterValue (CControl* control);
	void showValueTextOf (CParamDisplay* display);
	void watchParameters (bool state);

	VST3EditorDelegate* delegate {nullptr};
	std::string templateName;
	SharedPointer<UIDescription> description;
	SharedPointer<CFrame> frame;
	UIDescription::SubControllers subControllers;
	std::vector<CControl*> controls;
	Steinberg::IPtr<X11EditorWindow> window;
};

} // namespace VSTGUI
