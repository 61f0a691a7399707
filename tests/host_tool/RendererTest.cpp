// The host's instance and render path, against a small effect module whose output is known exactly.
#include "FixtureBundle.h"

#include "tests/support/BundlePath.h"

#include "tools/vst3host/HostError.h"
#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/Renderer.h"

#include "base/source/fstreamer.h"
#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace veltrane_test;
using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

namespace {

constexpr uint32 kTestLatency = 37;

AudioBuffer ramp (size_t channels, size_t frames)
{
	AudioBuffer audio;
	audio.sampleRate = 48000;
	audio.channels.assign (channels, std::vector<double> (frames));
	for (size_t c = 0; c < channels; ++c)
	{
		for (size_t n = 0; n < frames; ++n)
			audio.channels[c][n] = std::sin (0.01 * static_cast<double> (n + 1) * static_cast<double> (c + 1)) * 0.5;
	}
	return audio;
}

StateChunk gainChunk (double gain)
{
	MemoryStream stream;
	IBStreamer (&stream, kLittleEndian).writeDouble (gain);
	return StateChunk (stream.getData (), stream.getData () + stream.getSize ());
}

class TestEffectHost : public testing::Test
{
protected:
	PluginModule module {fixtureBundle ("TestEffect")};
	PluginInstance plugin {module};
	Renderer renderer {plugin.getProcessor ()};
};

struct RenderCase
{
	int32 blockSize;
	int32 sampleSize;
	bool compensate;
};

void PrintTo (const RenderCase& c, std::ostream* os)
{
	*os << "blocks of " << c.blockSize << ", " << (c.sampleSize == kSample64 ? 64 : 32) << "-bit"
	    << (c.compensate ? ", compensated" : "");
}

class Render : public TestEffectHost, public testing::WithParamInterface<RenderCase>
{
};

} // namespace

// Whatever the block size, the output is the input delayed by the latency, or aligned with it
// when compensated; the 32-bit path rounds each sample to float once.
TEST_P (Render, OutputIsTheDelayedInputAcrossBlocks)
{
	const AudioBuffer input = ramp (2, 300);
	RenderSettings settings;
	settings.blockSize = GetParam ().blockSize;
	settings.sampleSize = GetParam ().sampleSize;
	settings.compensateLatency = GetParam ().compensate;
	const AudioBuffer output = renderer.render (input, settings);

	EXPECT_EQ (renderer.getLatency (), kTestLatency);
	const size_t shift = GetParam ().compensate ? 0 : kTestLatency;
	ASSERT_EQ (output.numChannels (), 2u);
	ASSERT_EQ (output.numFrames (), input.numFrames () + kTestLatency - (GetParam ().compensate ? kTestLatency : 0));
	const double tolerance = GetParam ().sampleSize == kSample64 ? 0.0 : 1e-7;
	for (size_t c = 0; c < 2; ++c)
	{
		for (size_t n = 0; n < output.numFrames (); ++n)
		{
			const double expected = n >= shift ? input.channels[c][n - shift] : 0.0;
			ASSERT_NEAR (output.channels[c][n], expected, tolerance) << "channel " << c << " frame " << n;
		}
	}
}

INSTANTIATE_TEST_SUITE_P (Renderer, Render,
                          testing::Values (RenderCase {1, kSample32, true}, RenderCase {7, kSample64, true},
                                           RenderCase {64, kSample32, false}, RenderCase {512, kSample64, false},
                                           RenderCase {4096, kSample32, true}),
                          [] (const testing::TestParamInfo<RenderCase>& info) {
	                          const RenderCase& c = info.param;
	                          return "Block" + std::to_string (c.blockSize) +
	                                 (c.sampleSize == kSample64 ? "_64bit" : "_32bit") +
	                                 (c.compensate ? "_Compensated" : "_Raw");
                          });

TEST_F (TestEffectHost, MonoInputFeedsBothOutputChannels)
{
	const AudioBuffer input = ramp (1, 100);
	RenderSettings settings;
	settings.sampleSize = kSample64;
	const AudioBuffer output = renderer.render (input, settings);
	ASSERT_EQ (output.numChannels (), 2u);
	EXPECT_EQ (output.channels[0], input.channels[0]);
	EXPECT_EQ (output.channels[1], input.channels[0]);
}

TEST_F (TestEffectHost, ParametersArriveWithTheFirstBlockAndLandInTheSavedState)
{
	RenderSettings settings;
	settings.sampleSize = kSample64;
	settings.parameters = {{0, 0.5}};
	const AudioBuffer input = ramp (2, 64);
	const AudioBuffer output = renderer.render (input, settings);
	EXPECT_EQ (output.channels[1][10], 0.5 * input.channels[1][10]);
	EXPECT_EQ (plugin.saveState (), gainChunk (0.5));
}

TEST_F (TestEffectHost, LoadedStateReachesProcessorAndController)
{
	plugin.loadState (gainChunk (0.25));
	EXPECT_EQ (plugin.getController ().getController ().getParamNormalized (0), 0.25);
	RenderSettings settings;
	settings.sampleSize = kSample64;
	const AudioBuffer input = ramp (2, 64);
	EXPECT_EQ (renderer.render (input, settings).channels[0][5], 0.25 * input.channels[0][5]);
}

TEST_F (TestEffectHost, ControllerStartsFromTheProcessorsState)
{
	const auto parameters = plugin.getController ().getParameters ();
	ASSERT_EQ (parameters.size (), 1u);
	EXPECT_EQ (parameters[0].title, "Gain");
	EXPECT_EQ (parameters[0].value, 1.0);
}

TEST_F (TestEffectHost, RefusedStateIsReported)
{
	EXPECT_THROW (plugin.loadState (StateChunk (3, 0)), HostError);
}

TEST_F (TestEffectHost, RefusesInputItCannotLayOut)
{
	RenderSettings settings;
	EXPECT_THROW (renderer.render (ramp (3, 10), settings), HostError);
	EXPECT_THROW (renderer.render (AudioBuffer (), settings), HostError);
	settings.blockSize = 0;
	EXPECT_THROW (renderer.render (ramp (2, 10), settings), HostError);
}
