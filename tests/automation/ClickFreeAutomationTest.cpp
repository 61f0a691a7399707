// A user automating the switches and "Shift" in a host: a change delivered through the parameter
// queue must not click. On a mono sine, which has nothing of its own above 8 kHz, a click shows
// as a burst of high-frequency energy and as a sample step larger than the signal ever takes.
#include "AutomationSupport.h"

#include "plugin/processor/PlugParamIds.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <iterator>
#include <tuple>
#include <utility>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

namespace {

constexpr double kRate = 48000.0;
constexpr double kSineHz = 440.0;
constexpr double kSineLevel = 0.5011872336272722; // -6 dBFS
constexpr double kHighBandHz = 8000.0;
constexpr size_t kWindowFrames = 480;             // 10 ms
constexpr size_t kSettleFrames = 4800;            // 100 ms after the latency
constexpr double kAllowedDb = 3.0;
// High-band levels (mean square, dB re full scale) below this count as this: under the noise
// floor of 16-bit audio, and 30 dB under the quietest click this test has caught.
constexpr double kInaudibleDb = -100.0;
constexpr uint32 kLatency = 2047; // at 48 kHz
// Block-aligned for every block size tested, and after the activation fade-in and the
// crossfades that the starting values set off have ended. The sine's phase differs at each.
constexpr size_t kChangeFrames[] = {38 * 512, 39 * 512, 40 * 512};

struct Change
{
	const char* name;
	ParamID tag;
	double from;
	double to;
};

const Change kChanges[] = {
    {"BypassOn", kBypassId, 0.0, 1.0},
    {"BypassOff", kBypassId, 1.0, 0.0},
    {"DecorrBypassOn", kDecorrBypassId, 0.0, 1.0},
    {"DecorrBypassOff", kDecorrBypassId, 1.0, 0.0},
    {"ShiftBypassOn", kShiftBypassId, 0.0, 1.0},
    {"ShiftBypassOff", kShiftBypassId, 1.0, 0.0},
    {"DriveBypassOn", kDriveBypassId, 0.0, 1.0},
    {"DriveBypassOff", kDriveBypassId, 1.0, 0.0},
    {"ShiftUp", kShiftId, 0.0, 1.0},
    {"ShiftDown", kShiftId, 1.0, 0.0},
    {"ShiftMidway", kShiftId, 0.2, 0.8},
};

// An 8th-order Butterworth high-pass as four biquads; 440 Hz lies about 200 dB below its pass band.
std::vector<double> highBand (const std::vector<double>& signal)
{
	const double qs[] = {0.50979558, 0.60134489, 0.89997622, 2.56291545};
	const double w = 2.0 * M_PI * kHighBandHz / kRate;
	std::vector<double> out (signal);
	for (double q : qs)
	{
		const double alpha = std::sin (w) / (2.0 * q);
		const double c = std::cos (w);
		const double a0 = 1.0 + alpha;
		const double b0 = (1.0 + c) / 2.0 / a0, b1 = -(1.0 + c) / a0, b2 = b0;
		const double a1 = -2.0 * c / a0, a2 = (1.0 - alpha) / a0;
		double x1 = 0, x2 = 0, y1 = 0, y2 = 0;
		for (double& s : out)
		{
			const double y = b0 * s + b1 * x1 + b2 * x2 - a1 * y1 - a2 * y2;
			x2 = x1;
			x1 = s;
			y2 = y1;
			y1 = y;
			s = y;
		}
	}
	return out;
}

double powerDb (const std::vector<double>& signal, size_t begin, size_t end)
{
	double sum = 0.0;
	for (size_t i = begin; i < end; ++i)
		sum += signal[i] * signal[i];
	return 10.0 * std::log10 (sum / static_cast<double> (end - begin));
}

double audibleDb (double levelDb)
{
	return std::max (kInaudibleDb, levelDb);
}

// A render and its part above 8 kHz, channel by channel.
struct Analysed
{
	explicit Analysed (AudioBuffer rendered) : audio (std::move (rendered))
	{
		for (const auto& channel : audio.channels)
			high.push_back (highBand (channel));
	}

	AudioBuffer audio;
	std::vector<std::vector<double>> high;
};

struct Figures
{
	double highBandExcessDb = -HUGE_VAL; // the changed render's worst window over the louder unchanged one
	double changedHighBandDb = -HUGE_VAL;   // the loudest window of the changed render
	double unchangedHighBandDb = -HUGE_VAL; // the loudest window of the unchanged renders
	double stepExcessDb = -HUGE_VAL;     // the changed render's largest step over the unchanged ones'
};

class ClickFreeAutomation : public testing::TestWithParam<std::tuple<Change, int32>>
{
protected:
	void SetUp () override { ASSERT_NE (module.findClass (kVstAudioEffectClass), nullptr); }

	// A crossfade of the global bypass also blends in the undelayed input, so the input runs on
	// for a latency past the last window.
	static size_t inputFrames () { return kChangeFrames[std::size (kChangeFrames) - 1] + 2 * kLatency + kSettleFrames; }

	Analysed render (const RenderSettings& settings)
	{
		PluginInstance plugin (module);
		Renderer renderer (plugin.getProcessor ());
		Analysed out (renderer.render (input, settings));
		latency = renderer.getLatency ();
		return out;
	}

	RenderSettings settingsFor (ParamID tag, double value) const
	{
		RenderSettings settings;
		settings.sampleRate = kRate;
		settings.blockSize = std::get<1> (GetParam ());
		settings.compensateLatency = false;
		settings.parameters = {{tag, value}};
		return settings;
	}

	// Compares, channel by channel, from the change to the latency plus 100 ms.
	void compare (const Analysed& changed, const Analysed& before, const Analysed& after, size_t at,
	              Figures& figures) const
	{
		const size_t end = at + latency + kSettleFrames;
		for (size_t c = 0; c < changed.audio.numChannels (); ++c)
		{
			for (size_t w = at; w < end; w += kWindowFrames)
			{
				const double level = powerDb (changed.high[c], w, w + kWindowFrames);
				const double louder = std::max (powerDb (before.high[c], w, w + kWindowFrames),
				                                powerDb (after.high[c], w, w + kWindowFrames));
				figures.highBandExcessDb = std::max (figures.highBandExcessDb, audibleDb (level) - audibleDb (louder));
				figures.changedHighBandDb = std::max (figures.changedHighBandDb, level);
				figures.unchangedHighBandDb = std::max (figures.unchangedHighBandDb, louder);
			}
			const double step = automation_test::largestStep (changed.audio.channels[c], at, end);
			const double unchanged = std::max (automation_test::largestStep (before.audio.channels[c], at, end),
			                                   automation_test::largestStep (after.audio.channels[c], at, end));
			figures.stepExcessDb = std::max (figures.stepExcessDb, 20.0 * std::log10 (step / unchanged));
		}
	}

	PluginModule module {VELTRANE_BUNDLE_PATH};
	AudioBuffer input = automation_test::monoSine (kSineHz, kSineLevel, inputFrames ());
	uint32 latency = 0;
};

TEST_P (ClickFreeAutomation, ChangeIsNoLouderAboveEightKilohertzAndStepsNoFurtherThanHeldValues)
{
	const Change& change = std::get<0> (GetParam ());
	const Analysed before = render (settingsFor (change.tag, change.from));
	const Analysed after = render (settingsFor (change.tag, change.to));
	ASSERT_EQ (latency, kLatency);

	Figures figures;
	for (size_t at : kChangeFrames)
	{
		RenderSettings settings = settingsFor (change.tag, change.from);
		settings.changes = {{at, change.tag, change.to}};
		compare (render (settings), before, after, at, figures);
	}
	std::printf ("%s, block %d: above 8 kHz up to %.1f dB FS (unchanged up to %.1f dB FS), worst window %+.1f dB over "
	             "the louder unchanged one; largest step %+.1f dB over the unchanged ones\n",
	             change.name, std::get<1> (GetParam ()), figures.changedHighBandDb, figures.unchangedHighBandDb,
	             figures.highBandExcessDb, figures.stepExcessDb);
	EXPECT_LE (figures.highBandExcessDb, kAllowedDb);
	EXPECT_LE (figures.stepExcessDb, kAllowedDb);
}

INSTANTIATE_TEST_SUITE_P (SwitchesAndShift, ClickFreeAutomation,
                          testing::Combine (testing::ValuesIn (kChanges), testing::Values (64, 512)),
                          [] (const testing::TestParamInfo<std::tuple<Change, int32>>& info) {
	                          return std::string (std::get<0> (info.param).name) + "_Block" +
	                                 std::to_string (std::get<1> (info.param));
                          });

} // namespace
