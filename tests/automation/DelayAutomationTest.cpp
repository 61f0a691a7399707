// "Delay" automated the way a DAW sends it: a new value every block, and changes that land while
// the 0.4 s crossfade of an earlier change still runs. The wet delay must follow, and the heard
// signal must never jump.
#include "AutomationSupport.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <string>

namespace automation_test {
namespace {

constexpr double kFadeSeconds = 0.4;
constexpr double kSineHz = 220.0;
constexpr double kSineLevel = 0.5011872336272722; // -6 dBFS
// Past the activation fade-in and the crossfades the starting values set off.
constexpr double kFirstChangeSeconds = 1.0;

double delayFramesFor (double normalized)
{
	return std::trunc ((normalized * 42.0 + 3.0) * 0.001 * kRate);
}

// The wet path as a plain delay: no decorrelation, no frequency shift, all of it in the output.
const std::vector<std::pair<ParamID, ParamValue>> kPlainWetPath {
    {kMixId, 1.0}, {kDecorrBypassId, 1.0}, {kShiftBypassId, 1.0}, {kCentreId, 0.0}};

class DelayAutomation : public testing::Test
{
protected:
	void SetUp () override { ASSERT_NE (module.findClass (kVstAudioEffectClass), nullptr); }

	PluginModule module {VELTRANE_BUNDLE_PATH};
};

// A ramp from 0 to 1 over 6 s, one value per 256-frame block. In windows of 100 ms the side
// signal is matched against the input: the lag of the best match is the delay heard there. It
// must be a delay the automation asked for within the last one and a half fades (a change waits
// for the running fade, then fades in; it dominates half way through that fade).
TEST_F (DelayAutomation, RampWithAValuePerBlockIsFollowedWithinAboutOneFade)
{
	constexpr int32 kBlock = 256;
	constexpr double kRampSeconds = 6.0;
	constexpr double kAllowedLagSeconds = 1.5 * kFadeSeconds;
	const size_t rampStart = framesOf (kFirstChangeSeconds);
	const size_t rampEnd = rampStart + framesOf (kRampSeconds);
	const AudioBuffer input = monoNoise (0.5, rampEnd + framesOf (1.5));
	const Curve ramp = [&] (double t) { return std::clamp ((t - kFirstChangeSeconds) / kRampSeconds, 0.0, 1.0); };

	RenderSettings settings = settingsWith (kPlainWetPath, kBlock);
	settings.parameters.push_back ({kDelayId, 0.0});
	addPoints (settings.changes, kDelayId, ramp, rampStart, rampEnd + kBlock, kBlock);
	const std::vector<double> side = sideOf (renderThrough (module, input, settings));

	const size_t window = framesOf (0.1);
	const auto maxLag = static_cast<size_t> (delayFramesFor (1.0)) + 48;
	double worstError = 0.0;
	double worstLag = 0.0;
	double worstLagAt = 0.0;
	double aheadBy = 0.0;
	for (size_t begin = rampStart; begin + window <= rampEnd + framesOf (1.0); begin += window)
	{
		const double heard = static_cast<double> (strongestLag (side, input.channels[0], begin, begin + window, maxLag));
		const double windowEnd = static_cast<double> (begin + window) / kRate;
		// How long before the window's end the automation asked for the delay heard in it.
		double askedAgo = 0.0;
		while (askedAgo < 10.0 && delayFramesFor (ramp (windowEnd - askedAgo)) > heard + 2.0)
			askedAgo += 0.001;
		if (askedAgo > worstLag)
		{
			worstLag = askedAgo;
			worstLagAt = windowEnd - 0.1;
		}
		aheadBy = std::max (aheadBy, heard - delayFramesFor (ramp (windowEnd)));
		worstError = std::max (worstError, std::abs (heard - delayFramesFor (ramp (windowEnd - 0.05))) / (0.001 * kRate));
	}
	std::printf ("ramp of \"Delay\", a value per %d frames: heard delay up to %.2f ms from the one asked for, "
	             "asked for up to %.3f s before the end of its 100 ms window (at %.1f s)\n",
	             kBlock, worstError, worstLag, worstLagAt);
	EXPECT_LE (aheadBy, 2.0) << "a delay was heard before the automation asked for it";
	EXPECT_LE (worstLag, kAllowedLagSeconds + 0.1) << "window at " << worstLagAt << " s";
}

struct StepCase
{
	const char* name;
	double start;
	// Seconds after the first change, and the value sent then.
	std::vector<std::pair<double, double>> steps;
	bool plainWetPath;
};

std::ostream& operator<< (std::ostream& os, const StepCase& c)
{
	return os << c.name;
}

const StepCase kStepCases[] = {
    {"IntoARunningFade", 0.1, {{0.0, 0.6}, {0.35, 0.35}}, true},
    {"IntoARunningFadeDefaults", 0.1, {{0.0, 0.6}, {0.35, 0.35}}, false},
    {"TenStepsFiftyMsApart", 0.5,
     {{0.0, 0.9}, {0.05, 0.2}, {0.10, 0.7}, {0.15, 0.1}, {0.20, 1.0}, {0.25, 0.4}, {0.30, 0.8}, {0.35, 0.0},
      {0.40, 0.6}, {0.45, 0.3}},
     true},
    {"TenStepsFiftyMsApartDefaults", 0.5,
     {{0.0, 0.9}, {0.05, 0.2}, {0.10, 0.7}, {0.15, 0.1}, {0.20, 1.0}, {0.25, 0.4}, {0.30, 0.8}, {0.35, 0.0},
      {0.40, 0.6}, {0.45, 0.3}},
     false},
};

class DelaySteps : public DelayAutomation, public testing::WithParamInterface<StepCase>
{
};

// On a 220 Hz sine a jump of the heard signal is a sample step far larger than the sine's own;
// no step may exceed twice the largest step of the renders that hold each value throughout.
TEST_P (DelaySteps, NeverStepFurtherThanTwiceTheHeldRenders)
{
	const StepCase& c = GetParam ();
	constexpr int32 kBlock = 64;
	const size_t first = framesOf (kFirstChangeSeconds);
	const size_t end = first + framesOf (c.steps.back ().first + 3.0 * kFadeSeconds);
	const AudioBuffer input = monoSine (kSineHz, kSineLevel, end + framesOf (0.5));
	const auto settingsAt = [&] (double value) {
		RenderSettings settings = settingsWith (c.plainWetPath ? kPlainWetPath : decltype (kPlainWetPath) {}, kBlock);
		settings.parameters.push_back ({kDelayId, value});
		return settings;
	};

	RenderSettings changed = settingsAt (c.start);
	double held = largestStep (renderThrough (module, input, changed), first, end);
	for (const auto& [seconds, value] : c.steps)
	{
		changed.changes.push_back ({first + framesOf (seconds), kDelayId, value});
		held = std::max (held, largestStep (renderThrough (module, input, settingsAt (value)), first, end));
	}
	const double step = largestStep (renderThrough (module, input, changed), first, end);
	std::printf ("%s: largest step %.4f, %.2f times the held renders' %.4f\n", c.name, step, step / held, held);
	EXPECT_LE (step, 2.0 * held);
}

INSTANTIATE_TEST_SUITE_P (Delay, DelaySteps, testing::ValuesIn (kStepCases),
                          [] (const testing::TestParamInfo<StepCase>& info) { return std::string (info.param.name); });

} // namespace
} // namespace automation_test
