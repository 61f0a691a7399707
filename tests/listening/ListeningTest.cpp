// What a user hears from the built bundle: each row renders short signals through it the way a
// host does and measures the output's mid (L + R) / 2, which holds the dry signal, and side
// (L - R) / 2, which holds the wet one.
#include "tests/support/Signals.h"

#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/Renderer.h"

#include "plugin/processor/PlugParameters.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <map>
#include <memory>
#include <numeric>
#include <string>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

namespace {

using Samples = std::vector<double>;
using Parameters = std::vector<std::pair<ParamID, ParamValue>>;

constexpr double kPi = 3.14159265358979323846;
// Past the 300 ms fade-in and the 250 ms bypass crossfades that follow the first parameter values.
constexpr double kSettledSeconds = 0.4;

double decibels (double ratio)
{
	return 20.0 * std::log10 (ratio);
}

struct Heard
{
	Samples left;
	Samples right;
	uint32 latency {0};
	uint32 tail {0};

	Samples mid () const { return combine (1.0); }
	Samples side () const { return combine (-1.0); }

private:
	Samples combine (double sign) const
	{
		Samples out (left.size ());
		for (size_t n = 0; n < out.size (); ++n)
			out[n] = (left[n] + sign * right[n]) * 0.5;
		return out;
	}
};

struct Take
{
	double sampleRate = 48000;
	Parameters parameters;
	int32 sampleSize = kSample32;
	bool keepLatency = false;
};

// A new instance for each render, so values set for one render never reach the next.
Heard listen (const Samples& mono, const Take& take)
{
	PluginModule module (VELTRANE_BUNDLE_PATH);
	PluginInstance plugin (module);
	Renderer renderer (plugin.getProcessor ());
	RenderSettings settings;
	settings.sampleRate = take.sampleRate;
	settings.sampleSize = take.sampleSize;
	settings.parameters = take.parameters;
	settings.compensateLatency = !take.keepLatency;
	AudioBuffer input;
	input.sampleRate = take.sampleRate;
	input.channels = {mono, mono};
	AudioBuffer output = renderer.render (input, settings);
	Heard heard;
	heard.left = std::move (output.channels[0]);
	heard.right = std::move (output.channels[1]);
	heard.latency = renderer.getLatency ();
	heard.tail = plugin.getProcessor ().getProcessor ().getTailSamples ();
	return heard;
}

size_t frameAt (double seconds, double sampleRate)
{
	return static_cast<size_t> (std::lround (seconds * sampleRate));
}

Samples impulseAt (double seconds, double sampleRate, double length)
{
	Samples s (frameAt (length, sampleRate), 0.0);
	s[frameAt (seconds, sampleRate)] = 0.5;
	return s;
}

// A sum of equal sines at the given frequencies, with phases spread so the peaks stay low.
Samples sines (const std::vector<double>& frequencies, double sampleRate, double length, double level)
{
	Samples s (frameAt (length, sampleRate), 0.0);
	for (size_t k = 0; k < frequencies.size (); ++k)
	{
		const double phase = 2.0 * kPi * static_cast<double> (k * k) / static_cast<double> (frequencies.size ());
		for (size_t n = 0; n < s.size (); ++n)
			s[n] += level * std::sin (2.0 * kPi * frequencies[k] * static_cast<double> (n) / sampleRate + phase);
	}
	return s;
}

Samples noise (double sampleRate, double length, double level)
{
	uint32_t seed = 2024;
	return veltrane_test::repeatableNoise (frameAt (length, sampleRate), seed, level);
}

double rms (const Samples& s, size_t from, size_t to)
{
	double sum = 0.0;
	for (size_t n = from; n < to; ++n)
		sum += s[n] * s[n];
	return std::sqrt (sum / static_cast<double> (to - from));
}

double rmsFrom (const Samples& s, double seconds, double sampleRate)
{
	return rms (s, frameAt (seconds, sampleRate), s.size ());
}

size_t loudestFrame (const Samples& s, size_t from)
{
	return static_cast<size_t> (std::max_element (s.begin () + static_cast<std::ptrdiff_t> (from), s.end (),
	                                              [] (double a, double b) { return std::fabs (a) < std::fabs (b); }) -
	                            s.begin ());
}

double peak (const Samples& s)
{
	return std::fabs (s[loudestFrame (s, 0)]);
}

// --- what the rows expect, from the parameter table and the decorrelation tables ---

double delayMsOf (double v)
{
	return curveOf (ParamTarget::kDelayMs).at (v);
}

double mixGainOf (double v)
{
	return std::pow (10.0, curveOf (ParamTarget::kOutputGainDb).at (v) / 20.0);
}

double shiftHzOf (double v)
{
	return curveOf (ParamTarget::kShiftHz).at (v);
}

// Where the first table's peak lies after the start of its main body, a quarter of the way in:
// the peaks lie at 264 of 1024 samples at 44.1 kHz, 576 of 2048 at 96 kHz and 1153 of 4096 at 192 kHz.
double tablePeakAfterBodyMs (double sampleRate)
{
	const std::map<double, std::pair<double, double>> peakAndLength = {
	    {44100.0, {264.0, 1024.0}}, {96000.0, {576.0, 2048.0}}, {192000.0, {1153.0, 4096.0}}};
	const auto& [index, length] = peakAndLength.at (sampleRate);
	return (index - length / 4.0) / sampleRate * 1000.0;
}

// --- measurements ---

// How long after the dry impulse (the mid's peak) the wet one (the side's peak) arrives.
double wetPeakAfterDryMs (double sampleRate, const Parameters& parameters)
{
	const double at = kSettledSeconds;
	const Heard heard = listen (impulseAt (at, sampleRate, at + 0.08), {sampleRate, parameters});
	const size_t from = frameAt (at - 0.01, sampleRate);
	const size_t dry = loudestFrame (heard.mid (), from);
	const size_t wet = loudestFrame (heard.side (), from);
	return (static_cast<double> (wet) - static_cast<double> (dry)) / sampleRate * 1000.0;
}

// The side's phase against the input sine, every few periods: its slope is the side's shift.
double sideShiftHz (double v)
{
	constexpr double rate = 48000.0;
	constexpr double tone = 1000.0;
	constexpr double length = 3.6;
	const Heard heard = listen (sines ({tone}, rate, length, 0.5), {rate, {{kShiftId, v}}});
	const Samples side = heard.side ();
	const size_t window = frameAt (10.0 / tone, rate);
	std::vector<double> times, phases;
	for (size_t start = frameAt (kSettledSeconds, rate); start + window <= side.size (); start += window)
	{
		double in = 0.0, quadrature = 0.0;
		for (size_t n = start; n < start + window; ++n)
		{
			const double angle = 2.0 * kPi * tone * static_cast<double> (n) / rate;
			in += side[n] * std::cos (angle);
			quadrature -= side[n] * std::sin (angle);
		}
		double phase = std::atan2 (quadrature, in);
		if (!phases.empty ())
			phase -= 2.0 * kPi * std::round ((phase - phases.back ()) / (2.0 * kPi));
		phases.push_back (phase);
		times.push_back (static_cast<double> (start) / rate);
	}
	const double meanTime = std::accumulate (times.begin (), times.end (), 0.0) / static_cast<double> (times.size ());
	const double meanPhase = std::accumulate (phases.begin (), phases.end (), 0.0) / static_cast<double> (phases.size ());
	double covariance = 0.0, variance = 0.0;
	for (size_t k = 0; k < times.size (); ++k)
	{
		covariance += (times[k] - meanTime) * (phases[k] - meanPhase);
		variance += (times[k] - meanTime) * (times[k] - meanTime);
	}
	return covariance / variance / (2.0 * kPi);
}

// The amplitude of one frequency in the side, from its settled part.
double sideLevelAt (double frequency, const Parameters& parameters)
{
	constexpr double rate = 48000.0;
	const Heard heard = listen (sines ({frequency}, rate, 0.6, 0.5), {rate, parameters});
	return rmsFrom (heard.side (), 0.45, rate);
}

// The side of many tones from 400 Hz to 1.1 kHz: the decorrelation tables are flat there at
// every rate, also where a band's tables were sampled at a higher rate than the one in force.
double wetLevelAt (double sampleRate)
{
	std::vector<double> tones;
	for (double f = 400.0; f <= 1100.0; f += 25.0)
		tones.push_back (f);
	const Heard heard = listen (sines (tones, sampleRate, 0.6, 0.03), {sampleRate, {}});
	return rmsFrom (heard.side (), 0.3, sampleRate);
}

// --- the rows ---

struct Row
{
	std::string name;
	std::function<void ()> check;
};

void PrintTo (const Row& row, std::ostream* os)
{
	*os << row.name;
}

std::string rateName (double sampleRate)
{
	return std::to_string (static_cast<int> (sampleRate));
}

std::string percentName (double v)
{
	return std::to_string (static_cast<int> (std::lround (v * 100.0)));
}

void addDelayRows (std::vector<Row>& rows)
{
	for (const double rate : {44100.0, 96000.0, 192000.0})
	{
		for (const double v : {0.0, 0.5, 1.0})
		{
			rows.push_back ({"Delay" + percentName (v) + "At" + rateName (rate), [rate, v] {
				                 const double expected = delayMsOf (v) + tablePeakAfterBodyMs (rate);
				                 EXPECT_NEAR (wetPeakAfterDryMs (rate, {{kDelayId, v}}), expected, 0.1);
			                 }});
		}
	}
}

// "Mix" v puts the wet part in at v and lowers the whole output by v x 6 dB; the wet pair adds
// nothing to the mid, which is the dry one times that gain.
void addMixRows (std::vector<Row>& rows)
{
	for (const double v : {0.0, 0.5, 1.0})
	{
		rows.push_back ({"Mix" + percentName (v), [v] {
			                 constexpr double rate = 48000.0;
			                 const Samples in = noise (rate, 0.5, 0.4);
			                 const Heard dryOnly = listen (in, {rate, {{kMixId, 0.0}}});
			                 const Heard fullWet = listen (in, {rate, {{kMixId, 1.0}}});
			                 const Heard heard = listen (in, {rate, {{kMixId, v}}});
			                 const double midGain = rmsFrom (heard.mid (), kSettledSeconds, rate) /
			                                        rmsFrom (dryOnly.mid (), kSettledSeconds, rate);
			                 EXPECT_NEAR (decibels (midGain), decibels (mixGainOf (v)), 0.01);
			                 const double sideRatio = rmsFrom (heard.side (), kSettledSeconds, rate) /
			                                          rmsFrom (fullWet.side (), kSettledSeconds, rate);
			                 EXPECT_NEAR (sideRatio, v * mixGainOf (v) / mixGainOf (1.0), 1e-3);
		                 }});
	}
}

// The wet path's high-pass is a Linkwitz-Riley one, 6.02 dB down at its cutoff: against "Centre"
// at 0 (its lowest cutoff), the side at the cutoff of "Centre" at 0.5 and at 1 is 6 dB lower.
void addCentreRows (std::vector<Row>& rows)
{
	const ParamCurve cutoffOf = curveOf (ParamTarget::kCentreCutoffHz);
	for (const double v : {0.5, 1.0})
	{
		rows.push_back ({"Centre" + percentName (v), [v, cutoffOf] {
			                 const double cutoff = cutoffOf.at (v);
			                 const double lowest = sideLevelAt (cutoff, {{kCentreId, 0.0}});
			                 const double ratio = sideLevelAt (cutoff, {{kCentreId, v}}) / lowest;
			                 // The lowest cutoff's response is itself down by the same law at the cutoff.
			                 const double ratioToLowest = cutoffOf.at (0.0) / cutoff;
			                 const double reference = 1.0 / (1.0 + ratioToLowest * ratioToLowest);
			                 EXPECT_NEAR (decibels (ratio), -6.02 - decibels (reference), 0.2) << cutoff << " Hz";
		                 }});
	}
}

// "Color" v weighs the first convolution and the second by the table's levels; everything after
// the blend is linear, so the side is that blend of the two sides alone.
void addColorRows (std::vector<Row>& rows)
{
	for (const double v : {0.25, 0.5, 0.8})
	{
		rows.push_back ({"Color" + percentName (v), [v] {
			                 constexpr double rate = 48000.0;
			                 const Samples in = noise (rate, 0.5, 0.4);
			                 auto sideOf = [&in] (double color) {
				                 Take take {rate, {{kColorId, color}}, kSample64};
				                 return listen (in, take).side ();
			                 };
			                 const Samples a = sideOf (0.0), b = sideOf (1.0), blend = sideOf (v);
			                 const double wa = curveOf (ParamTarget::kColorLevelA).at (v);
			                 const double wb = curveOf (ParamTarget::kColorLevelB).at (v);
			                 double worst = 0.0;
			                 for (size_t n = frameAt (kSettledSeconds, rate); n < blend.size (); ++n)
				                 worst = std::max (worst, std::fabs (blend[n] - (wa * a[n] + wb * b[n])));
			                 EXPECT_LT (worst, 1e-9 * peak (blend));
		                 }});
	}
}

// The LFO's phase wander is bounded, so over 3 s it moves the measured shift by a few hundredths
// of a hertz at most.
void addShiftRows (std::vector<Row>& rows)
{
	for (const double v : {0.0, 0.5, 1.0})
	{
		rows.push_back ({"Shift" + percentName (v),
		                 [v] { EXPECT_NEAR (sideShiftHz (v), shiftHzOf (v), 0.05) << "mapped " << shiftHzOf (v); }});
	}
}

// A bypassed stage hands over to its compensation delay: the wet impulse keeps its place. Without
// the convolutions it arrives exactly "Delay" after the dry one, where their main body begins.
void addBypassRows (std::vector<Row>& rows)
{
	struct Case
	{
		const char* name;
		Parameters parameters;
		double afterDelayMs;
	};
	constexpr double rate = 44100.0;
	const double withTables = tablePeakAfterBodyMs (rate);
	const Case cases[] = {{"ShiftBypass", {{kShiftBypassId, 1.0}}, withTables},
	                      {"DriveOn", {{kDriveBypassId, 0.0}}, withTables},
	                      {"DecorrBypass", {{kDecorrBypassId, 1.0}}, 0.0},
	                      {"DecorrAndShiftBypass", {{kDecorrBypassId, 1.0}, {kShiftBypassId, 1.0}}, 0.0}};
	for (const Case& c : cases)
	{
		rows.push_back ({c.name, [c, rate] {
			                 const double expected = delayMsOf (0.5) + c.afterDelayMs;
			                 EXPECT_NEAR (wetPeakAfterDryMs (rate, c.parameters), expected, 0.1);
		                 }});
	}
}

void addWetLevelRows (std::vector<Row>& rows)
{
	for (const double rate : {8000.0, 22050.0, 44100.0, 48000.0, 96000.0, 192000.0, 384000.0})
	{
		rows.push_back ({"WetLevelAt" + rateName (rate), [rate] {
			                 static const double reference = wetLevelAt (44100.0);
			                 EXPECT_NEAR (decibels (wetLevelAt (rate) / reference), 0.0, 1.0);
		                 }});
	}
}

// Bursts that are not numbers, or infinite, in a signal: the output stays finite, and once
// latency + tail frames have passed after the burst it is what the clean signal gives.
void addBurstRows (std::vector<Row>& rows)
{
	struct Case
	{
		const char* name;
		double value;
		int32 sampleSize;
	};
	const Case cases[] = {{"NaNBurst32", std::numeric_limits<double>::quiet_NaN (), kSample32},
	                      {"NaNBurst64", std::numeric_limits<double>::quiet_NaN (), kSample64},
	                      {"InfBurst32", std::numeric_limits<double>::infinity (), kSample32},
	                      {"MinusInfBurst64", -std::numeric_limits<double>::infinity (), kSample64}};
	for (const Case& c : cases)
	{
		rows.push_back ({c.name, [c] {
			                 constexpr double rate = 48000.0;
			                 const Samples clean = sines ({220.0, 1250.0}, rate, 0.9, 0.3);
			                 Samples hurt = clean;
			                 const size_t burst = frameAt (0.3, rate), burstEnd = burst + 64;
			                 std::fill (hurt.begin () + static_cast<std::ptrdiff_t> (burst),
			                            hurt.begin () + static_cast<std::ptrdiff_t> (burstEnd), c.value);
			                 const Heard expected = listen (clean, {rate, {}, c.sampleSize});
			                 const Heard heard = listen (hurt, {rate, {}, c.sampleSize});
			                 const size_t recovered = burstEnd + heard.latency + heard.tail;
			                 ASSERT_LT (recovered, heard.left.size ());
			                 const double level = peak (expected.left);
			                 for (const auto& [out, ref] : {std::make_pair (&heard.left, &expected.left),
			                                                std::make_pair (&heard.right, &expected.right)})
			                 {
				                 for (size_t n = 0; n < out->size (); ++n)
				                 {
					                 ASSERT_TRUE (std::isfinite ((*out)[n])) << "frame " << n;
					                 if (n >= recovered)
					                 {
						                 ASSERT_LT (std::fabs ((*out)[n] - (*ref)[n]), 1e-4 * level) << "frame " << n;
					                 }
				                 }
			                 }
		                 }});
	}
}

// Noise that stops: once the reported latency and tail have passed, what rings on is below
// -80 dB of the output's peak. The longest "Delay" and the full wet part ring the longest.
void addTailRows (std::vector<Row>& rows)
{
	for (const double rate : {44100.0, 96000.0, 192000.0})
	{
		rows.push_back ({"TailAt" + rateName (rate), [rate] {
			                 const Samples burst = noise (rate, 0.5, 0.5);
			                 Samples in = burst;
			                 in.resize (burst.size () + frameAt (0.3, rate), 0.0);
			                 Take take {rate, {{kMixId, 1.0}, {kDelayId, 1.0}, {kColorId, 0.5}}};
			                 take.keepLatency = true;
			                 const Heard heard = listen (in, take);
			                 const size_t end = burst.size () + heard.latency + heard.tail;
			                 ASSERT_LT (end, heard.left.size ());
			                 const double level = std::max (peak (heard.left), peak (heard.right));
			                 for (const Samples* out : {&heard.left, &heard.right})
			                 {
				                 const double after = std::fabs ((*out)[loudestFrame (*out, end)]);
				                 EXPECT_LT (decibels (after / level), -80.0) << "latency " << heard.latency << ", tail " << heard.tail;
			                 }
		                 }});
	}
}

std::vector<Row> allRows ()
{
	std::vector<Row> rows;
	addDelayRows (rows);
	addMixRows (rows);
	addCentreRows (rows);
	addColorRows (rows);
	addShiftRows (rows);
	addBypassRows (rows);
	addWetLevelRows (rows);
	addBurstRows (rows);
	addTailRows (rows);
	return rows;
}

class Listening : public testing::TestWithParam<Row>
{
};

TEST_P (Listening, SoundsAsSet)
{
	GetParam ().check ();
}

INSTANTIATE_TEST_SUITE_P (Bundle, Listening, testing::ValuesIn (allRows ()),
                          [] (const testing::TestParamInfo<Row>& info) { return info.param.name; });

} // namespace
