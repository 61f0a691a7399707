// Automation lands on its sample: a render must not depend on the block size the host happens to
// use, a change must not take effect earlier than its point, and every continuous parameter
// moving at once must not click.
#include "AutomationSupport.h"

#include <gtest/gtest.h>

#include <cstdio>

namespace automation_test {
namespace {

constexpr double kSeconds = 5.0;
constexpr size_t kPointPeriod = 64;
constexpr double kSineLevel = 0.5011872336272722; // -6 dBFS

struct Lfo
{
	ParamID tag;
	double periodSeconds;
	double phase;
};

// Slow, unrelated periods, each swinging over most of its parameter's range.
const Lfo kLfos[] = {
    {kMixId, 3.7, 0.0}, {kShiftId, 4.3, 1.0}, {kDelayId, 2.9, 2.0},
    {kCentreId, 5.3, 3.0}, {kColorId, 3.1, 4.0}, {kDriveId, 4.7, 5.0},
};

constexpr double kLfoCentre = 0.5;
constexpr double kLfoDepth = 0.45;

double lfoValue (const Lfo& lfo, double seconds)
{
	return kLfoCentre + kLfoDepth * std::sin (2.0 * M_PI * seconds / lfo.periodSeconds + lfo.phase);
}

// Past the activation fade-in; every LFO starts there, a point every 64 frames.
size_t automationStart ()
{
	return framesOf (0.5);
}

RenderSettings lfoAutomation (int32 block, int32 sampleSize)
{
	RenderSettings settings = settingsWith ({{kDriveBypassId, 0.0}}, block, sampleSize);
	for (const Lfo& lfo : kLfos)
	{
		settings.parameters.push_back ({lfo.tag, lfoValue (lfo, 0.0)});
		addPoints (settings.changes, lfo.tag, [&lfo] (double t) { return lfoValue (lfo, t); }, automationStart (),
		           framesOf (kSeconds), kPointPeriod);
	}
	return settings;
}

// A sine under noise: tonal enough to show a step, broad enough to pass every stage.
AudioBuffer programme ()
{
	AudioBuffer audio = monoSine (220.0, kSineLevel, framesOf (kSeconds + 0.5));
	const AudioBuffer noise = monoNoise (0.05, audio.numFrames ());
	for (size_t i = 0; i < audio.numFrames (); ++i)
		audio.channels[0][i] += noise.channels[0][i];
	return audio;
}

class SampleAccurateAutomation : public testing::Test
{
protected:
	void SetUp () override { ASSERT_NE (module.findClass (kVstAudioEffectClass), nullptr); }

	PluginModule module {VELTRANE_BUNDLE_PATH};
	AudioBuffer input = programme ();
};

class BlockSizes : public SampleAccurateAutomation, public testing::WithParamInterface<int32>
{
};

// Many points fall into one long block; each must still take effect at its own sample.
TEST_P (BlockSizes, SameAutomationInBlocksOf32And8192GivesTheSameOutput)
{
	const int32 sampleSize = GetParam ();
	const AudioBuffer small = renderThrough (module, input, lfoAutomation (32, sampleSize));
	const AudioBuffer large = renderThrough (module, input, lfoAutomation (8192, sampleSize));
	const double difference = largestDifference (small, large);
	std::printf ("%d-bit: blocks of 32 and 8192 frames differ by up to %.3g\n", sampleSize == kSample64 ? 64 : 32,
	             difference);
	EXPECT_LE (difference, 1e-6);
}

INSTANTIATE_TEST_SUITE_P (Automation, BlockSizes, testing::Values (kSample32, kSample64),
                          [] (const testing::TestParamInfo<int32>& info) {
	                          return std::string (info.param == kSample64 ? "Samples64" : "Samples32");
                          });

// Every continuous parameter moves at once; no step may exceed twice the largest step of the
// renders that hold the LFOs' lowest, middle and highest values.
TEST_F (SampleAccurateAutomation, AllContinuousParametersMovingAtOnceDoNotClick)
{
	const AudioBuffer moving = renderThrough (module, input, lfoAutomation (64, kSample32));
	double held = 0.0;
	for (double value : {kLfoCentre - kLfoDepth, kLfoCentre, kLfoCentre + kLfoDepth})
	{
		RenderSettings settings = settingsWith ({{kDriveBypassId, 0.0}}, 64);
		for (const Lfo& lfo : kLfos)
			settings.parameters.push_back ({lfo.tag, value});
		held = std::max (held, largestStep (renderThrough (module, input, settings), automationStart (), framesOf (kSeconds)));
	}
	const double step = largestStep (moving, automationStart (), framesOf (kSeconds));
	std::printf ("six LFOs, a point every %zu frames: largest step %.4f, %.2f times the held renders' %.4f\n",
	             kPointPeriod, step, step / held, held);
	EXPECT_LE (step, 2.0 * held);
}

// With 8192-frame blocks a "Bypass" point at offset 8000 starts its crossfade on its own frame, as
// in 32-frame blocks, where the point opens a block. The fade's first frame still carries the old
// gains; from the next one on the output departs from the unbypassed render.
TEST_F (SampleAccurateAutomation, BypassPointTakesEffectAtItsOffset)
{
	constexpr size_t kPoint = 3 * 8192 + 8000;
	static_assert (kPoint % 32 == 0, "the point opens a 32-frame block");
	const auto firstChange = [this] (int32 block) {
		RenderSettings plain = settingsWith ({}, block, kSample64);
		plain.compensateLatency = false;
		RenderSettings bypassed = plain;
		bypassed.changes = {{kPoint, kBypassId, 1.0}};
		return firstDifference (renderThrough (module, input, plain), renderThrough (module, input, bypassed), 1e-9);
	};
	const size_t inLargeBlocks = firstChange (8192);
	const size_t inSmallBlocks = firstChange (32);
	std::printf ("a \"Bypass\" point at frame %zu, offset 8000 of its block, changes the output from frame %zu in "
	             "8192-frame blocks and from frame %zu in 32-frame blocks (%+.1f ms)\n",
	             kPoint, inLargeBlocks, inSmallBlocks,
	             (static_cast<double> (inLargeBlocks) - static_cast<double> (inSmallBlocks)) * 1000.0 / kRate);
	EXPECT_EQ (inSmallBlocks, kPoint + 1);
	EXPECT_EQ (inLargeBlocks, inSmallBlocks);
}

} // namespace
} // namespace automation_test
