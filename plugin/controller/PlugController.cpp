#include "plugin/controller/PlugController.h"

#include "plugin/controller/KSRangeParameter.h"
#include "plugin/controller/KSSwitchParameter.h"
#include "plugin/processor/PlugParameters.h"
#include "plugin/processor/PlugParamState.h"

#include "pluginterfaces/base/ustring.h"
#include "pluginterfaces/vst/ivsthostapplication.h"
#include "public.sdk/source/common/guardedcall.h"

#include <algorithm>
#include <cmath>
#include <cstring>

namespace Steinberg {
namespace Vst {

FUnknown* PlugController::createInstance (void* /*context*/)
{
	return static_cast<IEditController*> (new PlugController);
}

tresult PLUGIN_API PlugController::initialize (FUnknown* context)
{
	return guardedCall (kResultFalse, [&] {
		const tresult result = EditController::initialize (context);
		if (result != kResultOk)
			return result;
		// A host without a context may initialize twice; the list must still exist once.
		if (parameters.getParameterCount () == 0)
			registerParameters ();
		return tresult (kResultOk);
	});
}

void PlugController::registerParameters ()
{
	for (const PlugParameter& parameter : kPlugParameters)
	{
		if (parameter.display.stepCount == 0)
			addRangeParameter (parameter);
		else
			addSwitch (parameter);
	}
}

void PlugController::addRangeParameter (const PlugParameter& row)
{
	const ParamDisplay& display = row.display;
	auto* parameter = new KSRangeParameter (row.title, row.tag, display.units, row.flags, nullptr, display.plainMin,
	                                        display.plainMax, display.plainOf (row.defaultValue));
	parameter->setPrecision (display.precision);
	parameters.addParameter (parameter);
}

void PlugController::addSwitch (const PlugParameter& row)
{
	parameters.addParameter (new KSSwitchParameter (row.title, row.tag, row.defaultValue, row.flags));
}

tresult PLUGIN_API PlugController::getParamValueByString (ParamID tag, TChar* string, ParamValue& valueNormalized)
{
	return guardedCall (kResultFalse, [&] {
		ParamValue parsed = 0.0;
		if (!string || EditController::getParamValueByString (tag, string, parsed) != kResultTrue ||
		    !std::isfinite (parsed))
			return kResultFalse;
		valueNormalized = std::clamp (parsed, 0.0, 1.0);
		return kResultTrue;
	});
}

tresult PLUGIN_API PlugController::setParamNormalized (ParamID tag, ParamValue value)
{
	if (std::isnan (value))
		return kResultFalse;
	return guardedCall (kResultFalse, [&] { return EditController::setParamNormalized (tag, value); });
}

tresult PLUGIN_API PlugController::getParameterInfo (int32 paramIndex, ParameterInfo& info)
{
	if (paramIndex < 0 || paramIndex >= parameters.getParameterCount ())
		return kResultFalse;
	return EditController::getParameterInfo (paramIndex, info);
}

tresult PLUGIN_API PlugController::setComponentState (IBStream* state)
{
	return guardedCall (kResultFalse, [&] { return mirrorComponentState (state); });
}

tresult PlugController::mirrorComponentState (IBStream* state)
{
	// Seeded with the current values, so that a value the chunk cannot give keeps its current one.
	PlugParamState record (kNumParamSlots);
	for (int32 slot = 0; slot < kNumParamSlots; ++slot)
		record.setValue (slot, getParamNormalized (static_cast<ParamID> (slot)));
	record.setBypass (getParamNormalized (kBypassId) > 0.5);

	const tresult result = record.readState (state);
	if (result != kResultOk)
		return result;
	for (int32 slot = 0; slot < kNumParamSlots; ++slot)
		setParamNormalized (static_cast<ParamID> (slot), record.getValue (slot));
	setParamNormalized (kBypassId, record.getBypass () ? 1.0 : 0.0);
	return kResultOk;
}

IPlugView* PLUGIN_API PlugController::createView (FIDString name)
{
	if (name == nullptr || std::strcmp (name, "editor") != 0)
		return nullptr;
	setKnobMode (kLinearMode);
	return guardedCall (nullptr, [this] () -> IPlugView* { return new VSTGUI::VST3Editor (this, "view", "plug.uidesc"); });
}

VSTGUI::IController* PlugController::createSubController (VSTGUI::UTF8StringPtr name,
                                                          const VSTGUI::IUIDescription* /*description*/,
                                                          VSTGUI::VST3Editor* /*editor*/)
{
	if (name == nullptr || std::strcmp (name, "AboutController") != 0)
		return nullptr;
	auto* about = new AboutController (this, runsInAUWrapper ());
	aboutControllers.push_back (about);
	return about;
}

bool PlugController::runsInAUWrapper () const
{
	FUnknownPtr<IVst3ToAUWrapper> wrapper (hostContext);
	return wrapper.get () != nullptr;
}

} // namespace Vst
} // namespace Steinberg
