// Stands in for the VST3 SDK's AudioEffect (public.sdk/source/vst/vstaudioeffect.cpp), missing from the Debian SDK.
#include "public.sdk/source/vst/vstaudioeffect.h"

namespace Steinberg {
namespace Vst {

AudioEffect::AudioEffect ()
{
	processSetup.processMode = kRealtime;
	processSetup.symbolicSampleSize = kSample32;
	processSetup.maxSamplesPerBlock = 1024;
	processSetup.sampleRate = 44100.0;
}

AudioBus* AudioEffect::addAudioBus (BusList& list, const TChar* name, SpeakerArrangement arr,
                                    BusType busType, int32 flags)
{
	auto* bus = new AudioBus (name, busType, flags, arr);
	list.emplace_back (owned (bus));
	return bus;
}

AudioBus* AudioEffect::addAudioInput (const TChar* name, SpeakerArrangement arr, BusType busType,
                                      int32 flags)
{
	return addAudioBus (audioInputs, name, arr, busType, flags);
}

AudioBus* AudioEffect::addAudioOutput (const TChar* name, SpeakerArrangement arr, BusType busType,
                                       int32 flags)
{
	return addAudioBus (audioOutputs, name, arr, busType, flags);
}

AudioBus* AudioEffect::audioBusAt (BusList& list, int32 index)
{
	if (index < 0 || index >= static_cast<int32> (list.size ()))
		return nullptr;
	return FCast<AudioBus> (list[static_cast<size_t> (index)].get ());
}

AudioBus* AudioEffect::getAudioInput (int32 index)
{
	return audioBusAt (audioInputs, index);
}

AudioBus* AudioEffect::getAudioOutput (int32 index)
{
	return audioBusAt (audioOutputs, index);
}

void AudioEffect::setArrangements (BusList& list, const SpeakerArrangement* arrangements)
{
	for (int32 i = 0; i < static_cast<int32> (list.size ()); ++i)
	{
		if (AudioBus* bus = audioBusAt (list, i))
			bus->setArrangement (arrangements[i]);
	}
}

tresult PLUGIN_API AudioEffect::setBusArrangements (SpeakerArrangement* inputs, int32 numIns,
                                                    SpeakerArrangement* outputs, int32 numOuts)
{
	if (numIns != static_cast<int32> (audioInputs.size ()) ||
	    numOuts != static_cast<int32> (audioOutputs.size ()))
		return kResultFalse;
	if ((numIns > 0 && !inputs) || (numOuts > 0 && !outputs))
		return kInvalidArgument;
	setArrangements (audioInputs, inputs);
	setArrangements (audioOutputs, outputs);
	return kResultTrue;
}

tresult PLUGIN_API AudioEffect::getBusArrangement (BusDirection dir, int32 index,
                                                   SpeakerArrangement& arr)
{
	AudioBus* bus = dir == kInput ? getAudioInput (index) : getAudioOutput (index);
	if (!bus)
		return kResultFalse;
	arr = bus->getArrangement ();
	return kResultTrue;
}

tresult PLUGIN_API AudioEffect::canProcessSampleSize (int32 symbolicSampleSize)
{
	return symbolicSampleSize == kSample32 ? kResultTrue : kResultFalse;
}

uint32 PLUGIN_API AudioEffect::getLatencySamples ()
{
	return 0;
}

tresult PLUGIN_API AudioEffect::setupProcessing (ProcessSetup& setup)
{
	processSetup.processMode = setup.processMode;
	processSetup.maxSamplesPerBlock = setup.maxSamplesPerBlock;
	processSetup.sampleRate = setup.sampleRate;
	if (canProcessSampleSize (setup.symbolicSampleSize) != kResultTrue)
		return kResultFalse;
	processSetup.symbolicSampleSize = setup.symbolicSampleSize;
	return kResultOk;
}

tresult PLUGIN_API AudioEffect::setProcessing (TBool /*state*/)
{
	return kNotImplemented;
}

tresult PLUGIN_API AudioEffect::process (ProcessData& /*data*/)
{
	return kResultOk;
}

uint32 PLUGIN_API AudioEffect::getTailSamples ()
{
	return kNoTail;
}

uint32 PLUGIN_API AudioEffect::getProcessContextRequirements ()
{
	return 0;
}

} // namespace Vst
} // namespace Steinberg
