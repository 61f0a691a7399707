// The built bundle loaded as a host loads it, with the calls a careless host makes: any setup,
// any input bus, any process data.
#pragma once

#include "HostBlock.h"

#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/PluginModule.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

using Channels = std::vector<std::vector<double>>;

/** How the input of one process call reaches the plug-in. */
enum class InputForm
{
	kPresent,
	kNoBus,
	kNullChannels,
	kNullArray,
};

class HostileHost
{
public:
	/** Loads the bundle and creates processor and controller; stereo in and out. */
	HostileHost ();
	~HostileHost ();
	HostileHost (const HostileHost&) = delete;
	HostileHost& operator= (const HostileHost&) = delete;

	Steinberg::Vst::IAudioProcessor& processor () { return plugin->getProcessor ().getProcessor (); }
	Steinberg::Vst::IComponent& component () { return plugin->getProcessor ().getComponent (); }
	Steinberg::Vst::IEditController& controller () { return plugin->getController ().getController (); }

	Steinberg::tresult setup (double sampleRate, Steinberg::int32 maxBlock, Steinberg::int32 sampleSize);
	/** setActive (true), then setProcessing (true) when that succeeded. */
	Steinberg::tresult activate ();

	/** Runs two channels of input through in calls of block frames, in the sample size of the
	    last setup; formAt tells for the first frame of each call how its input reaches the
	    plug-in. Every process call must answer kResultOk. */
	Channels render (const Channels& input, Steinberg::int32 block,
	                 const std::function<InputForm (size_t frame)>& formAt = nullptr);

private:
	Veltrane::Host::PluginModule module;
	std::unique_ptr<Veltrane::Host::PluginInstance> plugin;
	Steinberg::int32 sampleSize {Steinberg::Vst::kSample32};
	bool active {false};
};

/** Channels of uniform noise at ±amplitude, the same on every run. */
Channels noise (size_t frames, double amplitude, uint32_t seed = 19);
/** Output samples that are NaN or infinite. */
size_t nonFiniteCount (const Channels& audio);
/** The largest magnitude from frame start on; 0 for none. */
double peakFrom (const Channels& audio, size_t start);
/** The largest |a - b| from frame start on. */
double largestDifference (const Channels& a, const Channels& b, size_t start = 0);
