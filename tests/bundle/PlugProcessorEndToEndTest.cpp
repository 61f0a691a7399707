// The built bundle driven the way a host drives it: loaded, instantiated by class id, rendered.
#include "tests/support/BundlePath.h"
#include "tests/support/Signals.h"

#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/Renderer.h"

#include "plugin/processor/PlugParamIds.h"
#include "plugin/processor/PlugParamState.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <memory>

using namespace veltrane_test;
using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

namespace {

constexpr uint32 kLatencyAtBaseRates = 2047;

AudioBuffer noise (double sampleRate, double seconds)
{
	AudioBuffer audio;
	audio.sampleRate = sampleRate;
	uint32_t seed = 12345;
	for (int channel = 0; channel < 2; ++channel)
		audio.channels.push_back (repeatableNoise (static_cast<size_t> (sampleRate * seconds), seed, 0.4));
	return audio;
}

class BundleEndToEnd : public testing::Test
{
protected:
	void SetUp () override
	{
		if (!module.findClass (kVstAudioEffectClass))
			GTEST_SKIP () << "the bundle's factory has no \"Audio Module Class\" class yet";
		plugin = std::make_unique<PluginInstance> (module);
	}

	PluginModule module {veltraneBundle ()};
	std::unique_ptr<PluginInstance> plugin;
};

struct RateCase
{
	double sampleRate;
	int32 sampleSize;
};

void PrintTo (const RateCase& c, std::ostream* os)
{
	*os << c.sampleRate << " Hz, " << (c.sampleSize == kSample64 ? 64 : 32) << "-bit";
}

std::string rateCaseName (const testing::TestParamInfo<RateCase>& info)
{
	return std::to_string (static_cast<int> (info.param.sampleRate)) + "Hz_" +
	       (info.param.sampleSize == kSample64 ? "64bit" : "32bit");
}

class ReportedLatency : public BundleEndToEnd, public testing::WithParamInterface<RateCase>
{
};

class BypassNull : public BundleEndToEnd, public testing::WithParamInterface<RateCase>
{
};

} // namespace

TEST_P (ReportedLatency, IsTheBaseBandsLatency)
{
	Renderer renderer (plugin->getProcessor ());
	RenderSettings settings;
	settings.sampleRate = GetParam ().sampleRate;
	settings.sampleSize = GetParam ().sampleSize;
	renderer.render (noise (settings.sampleRate, 0.05), settings);
	EXPECT_EQ (renderer.getLatency (), kLatencyAtBaseRates);
}

INSTANTIATE_TEST_SUITE_P (Bundle, ReportedLatency,
                          testing::Values (RateCase {44100, kSample32}, RateCase {48000, kSample32},
                                           RateCase {48000, kSample64}),
                          rateCaseName);

// Once the fade-in and the bypass crossfade are over, the output is the input, delayed by exactly the
// reported latency; one sample early or late would leave the noise, not a null.
TEST_P (BypassNull, OutputIsTheInputDelayedByTheLatency)
{
	Renderer renderer (plugin->getProcessor ());
	RenderSettings settings;
	settings.sampleRate = GetParam ().sampleRate;
	settings.sampleSize = GetParam ().sampleSize;
	settings.parameters = {{kBypassId, 1.0}};
	settings.compensateLatency = false;
	const AudioBuffer input = noise (settings.sampleRate, 1.5);
	const AudioBuffer output = renderer.render (input, settings);

	const size_t latency = renderer.getLatency ();
	ASSERT_EQ (output.numChannels (), 2u);
	ASSERT_EQ (output.numFrames (), input.numFrames () + latency);
	const auto settled = static_cast<size_t> (settings.sampleRate);
	const double tolerance = settings.sampleSize == kSample64 ? 1e-9 : 1e-6;
	for (size_t c = 0; c < 2; ++c)
	{
		for (size_t n = settled; n < output.numFrames (); ++n)
			ASSERT_NEAR (output.channels[c][n], input.channels[c][n - latency], tolerance)
			    << "channel " << c << " frame " << n;
	}
}

INSTANTIATE_TEST_SUITE_P (Bundle, BypassNull,
                          testing::Values (RateCase {44100, kSample32}, RateCase {48000, kSample64}),
                          rateCaseName);

TEST_F (BundleEndToEnd, ControllerMirrorsTheProcessorsChunkThroughTheHost)
{
	PlugParamState record (kNumParamSlots);
	record.setValue (kDelayId, 0.25);
	record.setValue (kShiftId, 0.75);
	record.setBypass (true);
	MemoryStream stream;
	ASSERT_EQ (record.writeState (&stream), kResultOk);
	plugin->loadState (StateChunk (stream.getData (), stream.getData () + stream.getSize ()));

	// The processor's own chunk, handed to a second controller the way a host reopens a project.
	const StateChunk saved = plugin->saveState ();
	EXPECT_EQ (saved.size (), 124u) << "an int64 header, 14 float64 values and an int32 bypass flag";
	PluginInstance reopened (module);
	reopened.loadState (saved);
	IEditController& controller = reopened.getController ().getController ();
	EXPECT_EQ (controller.getParamNormalized (kDelayId), 0.25);
	EXPECT_EQ (controller.getParamNormalized (kShiftId), 0.75);
	EXPECT_EQ (controller.getParamNormalized (kBypassId), 1.0);
}

TEST_F (BundleEndToEnd, ParameterValuesRenderedWithLandInTheProcessorsState)
{
	Renderer renderer (plugin->getProcessor ());
	RenderSettings settings;
	settings.parameters = {{kMixId, 0.2}, {kDriveBypassId, 0.0}};
	renderer.render (noise (48000, 0.05), settings);

	ControllerInstance& controller = plugin->getController ();
	controller.setComponentState (plugin->saveState ());
	EXPECT_EQ (controller.getController ().getParamNormalized (kMixId), 0.2);
	EXPECT_EQ (controller.getController ().getParamNormalized (kDriveBypassId), 0.0);
}
