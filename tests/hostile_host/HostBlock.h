// Host-side buffers for one process call: one stereo input bus and one stereo output bus, which a
// test may then take away or falsify the way a careless host does.
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <vector>

class HostBlock
{
public:
	static constexpr Steinberg::int32 kChannels = 2;

	/** Zeroed buffers of frames samples per channel, in the width of sampleSize (32 or 64 bits). */
	HostBlock (Steinberg::int32 frames, Steinberg::int32 sampleSize);
	HostBlock (const HostBlock&) = delete;
	HostBlock& operator= (const HostBlock&) = delete;

	Steinberg::Vst::ProcessData& data () { return processData; }
	Steinberg::Vst::AudioBusBuffers& input () { return inputBus; }
	Steinberg::Vst::AudioBusBuffers& output () { return outputBus; }
	Steinberg::int32 frames () const { return frameCount; }

	void setInput (Steinberg::int32 channel, Steinberg::int32 frame, double value);
	double getOutput (Steinberg::int32 channel, Steinberg::int32 frame) const;
	void fillOutputs (double value);

	/** No input bus at all: numInputs 0 and no bus array. */
	void removeInputBus ();
	/** An inactive input bus: its channel pointers are null. */
	void nullInputChannels ();
	/** An input bus without a channel array. */
	void nullInputArray ();

private:
	Steinberg::int32 frameCount;
	Steinberg::int32 width;
	std::vector<std::vector<float>> samples32;
	std::vector<std::vector<double>> samples64;
	std::vector<void*> pointers;
	std::vector<void*> nullPointers;
	Steinberg::Vst::AudioBusBuffers inputBus {};
	Steinberg::Vst::AudioBusBuffers outputBus {};
	Steinberg::Vst::ProcessData processData {};
};
