// The edit controller: the parameter list the host shows and the mirror of the processor's state.
#pragma once

#include "plugin/controller/PlugAboutController.h"
#include "plugin/processor/PlugParameters.h"

#include "public.sdk/source/vst/vsteditcontroller.h"
#include "vstgui/plugin-bindings/vst3editor.h"

#include <vector>

namespace Steinberg {
namespace Vst {

/** No entry lets an exception out to the host: those that do work answer kResultFalse (createView
    none) when it throws. */
class PlugController : public EditController, public VSTGUI::VST3EditorDelegate
{
public:
	using AboutController = PlugAboutController<PlugController>;

	static FUnknown* createInstance (void* context);

	/** Registers the parameters; answers the base's failure (for instance when already initialized). */
	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	/** Mirrors a processor state chunk: all of it or, when it is incomplete, none of it. */
	tresult PLUGIN_API setComponentState (IBStream* state) SMTG_OVERRIDE;
	/** Reads every text getParamStringByValue gives, and numbers; kResultFalse for a text that
	    gives no finite value; a finite one is limited to 0 ... 1. */
	tresult PLUGIN_API getParamValueByString (ParamID tag, TChar* string, ParamValue& valueNormalized) SMTG_OVERRIDE;
	/** kResultFalse for a value that is not a number, which is not stored. */
	tresult PLUGIN_API setParamNormalized (ParamID tag, ParamValue value) SMTG_OVERRIDE;
	/** kResultFalse for an index outside the list (the SDK's container would throw). */
	tresult PLUGIN_API getParameterInfo (int32 paramIndex, ParameterInfo& info) SMTG_OVERRIDE;
	/** The editor for the view type "editor", built from the template "view" of "plug.uidesc". */
	IPlugView* PLUGIN_API createView (FIDString name) SMTG_OVERRIDE;
	/** An about-box controller for "AboutController"; the view that carries it owns it. */
	VSTGUI::IController* createSubController (VSTGUI::UTF8StringPtr name,
	                                          const VSTGUI::IUIDescription* description,
	                                          VSTGUI::VST3Editor* editor) override;

private:
	friend AboutController;

	tresult mirrorComponentState (IBStream* state);
	bool runsInAUWrapper () const;
	void registerParameters ();
	void addRangeParameter (const PlugParameter& row);
	void addSwitch (const PlugParameter& row);

	// The live about controllers, in creation order; each takes itself out as it goes.
	std::vector<AboutController*> aboutControllers;
};

} // namespace Vst
} // namespace Steinberg
