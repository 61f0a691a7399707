// Drives a processor the way a host does: through IComponent and IAudioProcessor, with process
// data, parameter queues and state streams built here.
#pragma once

#include "plugin/processor/PlugParamIds.h"
#include "plugin/processor/PlugParamState.h"
#include "plugin/processor/PlugProcessorBase.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <vector>

namespace veltrane_test {

using namespace Steinberg;
using namespace Steinberg::Vst;

using Channels = std::vector<std::vector<double>>;
using Bytes = std::vector<uint8_t>;

inline void writeSample (HostProcessData& data, BusDirection dir, int32 channel, size_t i, double value)
{
	if (data.symbolicSampleSize == kSample32)
		data.getChannel32 (dir, 0, channel)[i] = static_cast<float> (value);
	else
		data.getChannel64 (dir, 0, channel)[i] = value;
}

inline double readSample (HostProcessData& data, BusDirection dir, int32 channel, size_t i)
{
	if (data.symbolicSampleSize == kSample32)
		return data.getChannel32 (dir, 0, channel)[i];
	return data.getChannel64 (dir, 0, channel)[i];
}

class ProcessorHost
{
public:
	/** Takes the single reference of a newly created processor and initializes it. */
	explicit ProcessorHost (PlugProcessorBase* created)
	: processor (owned (created))
	, component (FUnknownPtr<IComponent> (processor->unknownCast ()))
	, audio (FUnknownPtr<IAudioProcessor> (processor->unknownCast ()))
	{
		EXPECT_EQ (component->initialize (nullptr), kResultOk);
	}

	~ProcessorHost ()
	{
		component->setActive (false);
		component->terminate ();
	}

	ProcessorHost (const ProcessorHost&) = delete;
	ProcessorHost& operator= (const ProcessorHost&) = delete;

	/** Negotiates the buses, sets up and activates; false when any step is refused. */
	bool start (double rate, int32 block, int32 sampleSize = kSample64, int32 inChannels = 2)
	{
		SpeakerArrangement in = inChannels == 1 ? SpeakerArr::kMono : SpeakerArr::kStereo;
		SpeakerArrangement out = SpeakerArr::kStereo;
		if (audio->setBusArrangements (&in, 1, &out, 1) != kResultTrue)
			return false;
		if (!setup (rate, block, sampleSize))
			return false;
		if (component->setActive (true) != kResultOk)
			return false;
		return data.prepare (*component, block, sampleSize);
	}

	bool setup (double sampleRate, int32 block, int32 sampleSize = kSample64)
	{
		ProcessSetup processSetup {kRealtime, sampleSize, block, sampleRate};
		if (audio->setupProcessing (processSetup) != kResultOk)
			return false;
		rate = sampleRate;
		return true;
	}

	/** Queues a change for the next process call. */
	void queue (ParamID tag, ParamValue value) { queueAt (tag, 0, value); }

	/** Queues a change for the sample at offset of the next process call. */
	void queueAt (ParamID tag, int32 offset, ParamValue value)
	{
		int32 index = 0;
		if (IParamValueQueue* q = changes.addParameterData (tag, index))
			q->addPoint (offset, value, index);
	}

	/** One process call on the prepared buffers, carrying the queued changes. */
	tresult processOnce (int32 frames)
	{
		data.numSamples = frames;
		data.inputParameterChanges = &changes;
		const tresult result = audio->process (data);
		changes.clearQueue ();
		return result;
	}

	/** Runs the input through block by block; returns every output channel. */
	Channels run (const Channels& input)
	{
		const size_t frames = input.empty () ? 0 : input[0].size ();
		Channels output (static_cast<size_t> (data.outputs[0].numChannels), std::vector<double> (frames));
		const auto block = static_cast<size_t> (data.getBlockSize ());
		for (size_t done = 0; done < frames; done += block)
		{
			const size_t n = std::min (block, frames - done);
			for (int32 c = 0; c < data.inputs[0].numChannels; ++c)
				for (size_t i = 0; i < n; ++i)
					setInput (c, i, input[static_cast<size_t> (c) % input.size ()][done + i]);
			processOnce (static_cast<int32> (n));
			for (size_t c = 0; c < output.size (); ++c)
				for (size_t i = 0; i < n; ++i)
					output[c][done + i] = outputAt (static_cast<int32> (c), i);
		}
		return output;
	}

	void setInput (int32 channel, size_t i, double value) { writeSample (data, kInput, channel, i, value); }
	double outputAt (int32 channel, size_t i) { return readSample (data, kOutput, channel, i); }

	Bytes state ()
	{
		MemoryStream stream;
		EXPECT_EQ (component->getState (&stream), kResultOk);
		const auto* bytes = reinterpret_cast<const uint8_t*> (stream.getData ());
		return Bytes (bytes, bytes + stream.getSize ());
	}

	tresult loadState (Bytes bytes)
	{
		MemoryStream stream (bytes.data (), static_cast<TSize> (bytes.size ()));
		return component->setState (&stream);
	}

	/** Runs silence past the 300 ms fade-in, or a 250 ms bypass crossfade. */
	void settle () { run ({std::vector<double> (static_cast<size_t> (0.35 * sampleRate ()), 0.0)}); }

	/** Whether the output is the input delayed by the reported latency, as it is while the global
	    bypass is in force; runs a short test signal on the left channel and silence on the right. */
	bool givesTheInputDelayedByTheLatency ()
	{
		const size_t latency = audio->getLatencySamples ();
		std::vector<double> signal (2 * latency + 256, 0.0);
		for (size_t i = 0; i < latency + 200; ++i)
			signal[i] = std::sin (0.05 * static_cast<double> (i * i));
		const Channels out = run ({signal, std::vector<double> (signal.size (), 0.0)});
		for (size_t n = 0; n < signal.size (); ++n)
		{
			const double expected = n < latency ? 0.0 : signal[n - latency];
			if (std::fabs (out[0][n] - expected) > 1e-12 || std::fabs (out[1][n]) > 1e-12)
				return false;
		}
		return true;
	}

	/** Whether a steady input is heard at all, as it is only while active. */
	bool respondsToInput ()
	{
		const Channels out = run ({std::vector<double> (static_cast<size_t> (0.35 * sampleRate ()), 1.0)});
		return out[0].back () != 0.0;
	}

	double sampleRate () const { return rate; }

	IPtr<PlugProcessorBase> processor;
	FUnknownPtr<IComponent> component;
	FUnknownPtr<IAudioProcessor> audio;
	HostProcessData data;
	ParameterChanges changes {32, 4};

private:
	double rate {44100.0};
};

/** A chunk of the given values and bypass field, laid out as the processor writes it. */
inline Bytes chunkOf (const std::vector<double>& values, int32 bypassField)
{
	PlugParamState record (kNumParamSlots);
	for (size_t i = 0; i < values.size (); ++i)
		record.setValue (static_cast<int32> (i), values[i]);
	record.setBypass (bypassField > 0);
	MemoryStream stream;
	record.writeState (&stream);
	const auto* bytes = reinterpret_cast<const uint8_t*> (stream.getData ());
	return Bytes (bytes, bytes + stream.getSize ());
}

inline double valueInChunk (const Bytes& chunk, int32 slot)
{
	double value = 0.0;
	std::memcpy (&value, chunk.data () + 8 + 8 * slot, sizeof value);
	return value;
}

inline std::vector<double> impulse (size_t frames, size_t at = 0, double height = 1.0)
{
	std::vector<double> signal (frames, 0.0);
	signal[at] = height;
	return signal;
}

} // namespace veltrane_test
