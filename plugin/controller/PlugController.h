// The edit controller: the parameter list the host shows and the mirror of the processor's state.
#pragma once

#include "public.sdk/source/vst/vsteditcontroller.h"

namespace Steinberg {
namespace Vst {

class PlugController : public EditController
{
public:
	static FUnknown* createInstance (void* context);

	/** Registers the parameters; answers the base's failure (for instance when already initialized). */
	tresult PLUGIN_API initialize (FUnknown* context) SMTG_OVERRIDE;
	/** Mirrors a processor state chunk: all of it or, when it is incomplete, none of it. */
	tresult PLUGIN_API setComponentState (IBStream* state) SMTG_OVERRIDE;
	/** kResultFalse for an index outside the list (the SDK's container would throw). */
	tresult PLUGIN_API getParameterInfo (int32 paramIndex, ParameterInfo& info) SMTG_OVERRIDE;

private:
	void registerParameters ();
	void addRangeParameter (const TChar* title, ParamID tag, ParamValue defaultPlain);
	void addSwitch (const TChar* title, ParamID tag, ParamValue defaultNormalized, int32 flags);
};

} // namespace Vst
} // namespace Steinberg
