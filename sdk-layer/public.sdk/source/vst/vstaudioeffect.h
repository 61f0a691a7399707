// Stands in for the VST3 SDK's AudioEffect (public.sdk/source/vst/vstaudioeffect.h), missing from the Debian SDK.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "public.sdk/source/vst/vstcomponent.h"

namespace Steinberg {
namespace Vst {

/** A component that processes audio: buses, processing setup and empty processing defaults. */
class AudioEffect : public Component, public IAudioProcessor, public IProcessContextRequirements
{
public:
	AudioEffect ();

	AudioBus* addAudioInput (const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
	                         int32 flags = BusInfo::kDefaultActive);
	AudioBus* addAudioOutput (const TChar* name, SpeakerArrangement arr, BusType busType = kMain,
	                          int32 flags = BusInfo::kDefaultActive);
	AudioBus* getAudioInput (int32 index);
	AudioBus* getAudioOutput (int32 index);

	//---from IAudioProcessor-------
	tresult PLUGIN_API setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
	                                       SpeakerArrangement* outputs, int32 numOuts) SMTG_OVERRIDE;
	tresult PLUGIN_API getBusArrangement (BusDirection dir, int32 index,
	                                      SpeakerArrangement& arr) SMTG_OVERRIDE;
	tresult PLUGIN_API canProcessSampleSize (int32 symbolicSampleSize) SMTG_OVERRIDE;
	uint32 PLUGIN_API getLatencySamples () SMTG_OVERRIDE;
	tresult PLUGIN_API setupProcessing (ProcessSetup& setup) SMTG_OVERRIDE;
	tresult PLUGIN_API setProcessing (TBool state) SMTG_OVERRIDE;
	tresult PLUGIN_API process (ProcessData& data) SMTG_OVERRIDE;
	uint32 PLUGIN_API getTailSamples () SMTG_OVERRIDE;

	//---from IProcessContextRequirements-------
	uint32 PLUGIN_API getProcessContextRequirements () SMTG_OVERRIDE;

	OBJ_METHODS (AudioEffect, Component)
	DEFINE_INTERFACES
		DEF_INTERFACE (IAudioProcessor)
		DEF_INTERFACE (IProcessContextRequirements)
	END_DEFINE_INTERFACES (Component)
	REFCOUNT_METHODS (Component)

protected:
	ProcessSetup processSetup;

private:
	static AudioBus* addAudioBus (BusList& list, const TChar* name, SpeakerArrangement arr,
	                              BusType busType, int32 flags);
	static AudioBus* audioBusAt (BusList& list, int32 index);
	static void setArrangements (BusList& list, const SpeakerArrangement* arrangements);
};

} // namespace Vst
} // namespace Steinberg
