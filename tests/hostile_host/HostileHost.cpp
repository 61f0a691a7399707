#include "HostileHost.h"

#include "pluginterfaces/vst/vstspeaker.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

using namespace Steinberg;
using namespace Steinberg::Vst;

HostileHost::HostileHost ()
: module (VELTRANE_BUNDLE_PATH)
, plugin (std::make_unique<Veltrane::Host::PluginInstance> (module))
{
	SpeakerArrangement in = SpeakerArr::kStereo;
	SpeakerArrangement out = SpeakerArr::kStereo;
	processor ().setBusArrangements (&in, 1, &out, 1);
}

HostileHost::~HostileHost ()
{
	if (active)
	{
		processor ().setProcessing (false);
		component ().setActive (false);
	}
	plugin = nullptr;
}

tresult HostileHost::setup (double sampleRate, int32 maxBlock, int32 size)
{
	ProcessSetup processSetup {kOffline, size, maxBlock, sampleRate};
	const tresult result = processor ().setupProcessing (processSetup);
	if (result == kResultOk)
		sampleSize = size;
	return result;
}

tresult HostileHost::activate ()
{
	const tresult result = component ().setActive (true);
	if (result == kResultOk)
	{
		active = true;
		processor ().setProcessing (true);
	}
	return result;
}

Channels HostileHost::render (const Channels& input, int32 block, const std::function<InputForm (size_t)>& formAt)
{
	const size_t frames = input.empty () ? 0 : input[0].size ();
	Channels output (HostBlock::kChannels, std::vector<double> (frames));
	for (size_t start = 0; start < frames; start += static_cast<size_t> (block))
	{
		const auto n = static_cast<int32> (std::min (frames - start, static_cast<size_t> (block)));
		HostBlock call (n, sampleSize);
		for (int32 c = 0; c < HostBlock::kChannels; ++c)
			for (int32 i = 0; i < n; ++i)
				call.setInput (c, i, input[static_cast<size_t> (c)][start + static_cast<size_t> (i)]);
		switch (formAt ? formAt (start) : InputForm::kPresent)
		{
			case InputForm::kPresent: break;
			case InputForm::kNoBus: call.removeInputBus (); break;
			case InputForm::kNullChannels: call.nullInputChannels (); break;
			case InputForm::kNullArray: call.nullInputArray (); break;
		}
		EXPECT_EQ (processor ().process (call.data ()), kResultOk) << "at frame " << start;
		for (int32 c = 0; c < HostBlock::kChannels; ++c)
			for (int32 i = 0; i < n; ++i)
				output[static_cast<size_t> (c)][start + static_cast<size_t> (i)] = call.getOutput (c, i);
	}
	return output;
}

Channels noise (size_t frames, double amplitude, uint32_t seed)
{
	Channels audio (HostBlock::kChannels, std::vector<double> (frames));
	for (auto& channel : audio)
		for (double& sample : channel)
		{
			seed = seed * 1664525u + 1013904223u;
			sample = amplitude * (static_cast<double> (seed >> 8) / static_cast<double> (1u << 23) - 1.0);
		}
	return audio;
}

size_t nonFiniteCount (const Channels& audio)
{
	size_t count = 0;
	for (const auto& channel : audio)
		count += static_cast<size_t> (std::count_if (channel.begin (), channel.end (), [] (double s) { return !std::isfinite (s); }));
	return count;
}

double peakFrom (const Channels& audio, size_t start)
{
	double peak = 0.0;
	for (const auto& channel : audio)
		for (size_t i = start; i < channel.size (); ++i)
			peak = std::max (peak, std::fabs (channel[i]));
	return peak;
}

double largestDifference (const Channels& a, const Channels& b, size_t start)
{
	double largest = 0.0;
	for (size_t c = 0; c < a.size () && c < b.size (); ++c)
		for (size_t i = start; i < a[c].size () && i < b[c].size (); ++i)
			largest = std::max (largest, std::fabs (a[c][i] - b[c][i]));
	return largest;
}
