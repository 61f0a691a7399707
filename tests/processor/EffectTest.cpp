#include "tests/support/WetPathProcessor.h"
#include "tests/support/ProcessorHost.h"
#include "tests/support/Signals.h"

#include "plugin/processor/PlugBlockIds.h"
#include "plugin/processor/PlugProcessor.h"

#include "dsp/Delay.h"
#include "dsp/DSPAlgo.h"
#include "dsp/HShifterConvCont.h"
#include "dsp/HighPassLR.h"
#include "dsp/LorenzLFO.h"
#include "dsp/MidSideStatic.h"
#include "dsp/Triode.h"

#include <algorithm>
#include <cmath>
#include <new>

using namespace veltrane_test;
using KOREMU::DSPLib::kBypassParamNo;

namespace {

std::vector<double> noise (size_t frames, uint32_t seed)
{
	return repeatableNoise (frames, seed, 0.4);
}

double peakOf (const Channels& channels)
{
	double peak = 0.0;
	for (const auto& channel : channels)
		for (double v : channel)
			peak = std::max (peak, std::fabs (v));
	return peak;
}

// The frame at which the dry path brings an impulse out: with "Mix" at 0 only the dry signal is
// heard, through the mid/side high-pass, which passes an impulse's first sample almost whole.
size_t dryArrival (ProcessorHost& host)
{
	host.queue (kMixId, 0.0);
	host.settle ();
	const Channels out = host.run ({impulse (host.audio->getLatencySamples () + 64)});
	const auto first = std::find_if (out[0].begin (), out[0].end (), [] (double v) { return std::fabs (v) > 1e-6; });
	EXPECT_TRUE (first != out[0].end () && *first > 0.9);
	return static_cast<size_t> (first - out[0].begin ());
}

// --- latency and bands ---

struct BandCase
{
	double rate;
	uint32 latency;
};

class Bands : public testing::TestWithParam<BandCase>
{
};

TEST_P (Bands, LatencyAndTailAreTheSameBeforeAndAfterActivationAndAlignBothDelays)
{
	const BandCase& c = GetParam ();
	ProcessorHost host (new PlugProcessor);
	ASSERT_TRUE (host.setup (c.rate, 256));
	EXPECT_EQ (host.audio->getLatencySamples (), c.latency);
	const uint32 tail = host.audio->getTailSamples ();

	ASSERT_TRUE (host.start (c.rate, 256));
	EXPECT_EQ (host.audio->getLatencySamples (), c.latency);
	EXPECT_EQ (host.audio->getTailSamples (), tail);
	EXPECT_EQ (dryArrival (host), c.latency);
}

INSTANTIATE_TEST_SUITE_P (CommonRates, Bands,
                          testing::Values (BandCase {44100.0, 2047}, BandCase {48000.0, 2047},
                                           BandCase {88200.0, 3327}, BandCase {96000.0, 3327},
                                           BandCase {176400.0, 5887}, BandCase {192000.0, 5887}),
                          [] (const testing::TestParamInfo<BandCase>& info) {
	                          return std::to_string (static_cast<int> (info.param.rate));
                          });

TEST (BandLimits, FallMidwayBetweenTheCommonRates)
{
	const std::pair<double, int32> cases[] = {{8000.0, 0},   {46050.0, 0},  {46051.0, 1},  {68100.0, 1},
	                                          {68101.0, 2},  {92100.0, 2},  {92101.0, 3},  {136200.0, 3},
	                                          {136201.0, 4}, {184200.0, 4}, {184201.0, 5}, {384000.0, 5}};
	for (const auto& c : cases)
		EXPECT_EQ (PlugProcessor::bandOf (c.first), c.second) << c.first;
}

// --- sound ---

Channels monoRun (ProcessorHost& host, const std::vector<double>& signal, size_t settle)
{
	host.run ({std::vector<double> (settle, 0.0)});
	return host.run ({signal});
}

TEST (Effect, MonoInputReachesBothOutputsAndTheWetPairIsAntiPhase)
{
	// Same input, "Mix" 0.5 against "Mix" 0: the mid signal differs only by the output gain of
	// -3 dB, because the wet pair (w, -w) adds nothing to it; the side signal is the wet part.
	ProcessorHost wet (new PlugProcessor);
	ProcessorHost dry (new PlugProcessor);
	std::vector<double> defaults = {0.5, 0.1, 0.0, 0.5, 0.0, 0.0, 0.0, 1.0, 0.0};
	defaults.resize (kNumParamSlots, 0.0);
	ASSERT_EQ (wet.loadState (chunkOf (defaults, 0)), kResultOk);
	defaults[kMixId] = 0.0;
	ASSERT_EQ (dry.loadState (chunkOf (defaults, 0)), kResultOk);
	ASSERT_TRUE (wet.start (44100.0, 512, kSample64, 1));
	ASSERT_TRUE (dry.start (44100.0, 512, kSample64, 1));
	SpeakerArrangement in = 0;
	wet.audio->getBusArrangement (kInput, 0, in);
	EXPECT_EQ (in, SpeakerArr::kMono);

	const size_t settle = 14336; // past the fade-in
	const std::vector<double> signal = impulse (8192, 100);
	Channels a = monoRun (wet, signal, settle);
	Channels b = monoRun (dry, signal, settle);
	const double gain = std::pow (10.0, -3.0 / 20.0);
	double side = 0.0;
	for (size_t n = 0; n < signal.size (); ++n)
	{
		ASSERT_NEAR (b[0][n], b[1][n], 1e-12) << n;
		ASSERT_NEAR (a[0][n] + a[1][n], gain * (b[0][n] + b[1][n]), 1e-9) << n;
		side += std::abs (a[0][n] - a[1][n]);
	}
	EXPECT_GT (side, 0.1);
	// The dry impulse arrives after exactly the reported latency.
	EXPECT_NEAR (b[0][100 + 2047], 1.0, 0.01);
	EXPECT_NEAR (b[0][100 + 2046], 0.0, 1e-6);
}

TEST (Effect, ThirtyTwoBitProcessingRunsTheSameGraph)
{
	// With float-exact input the graph computes the same in both widths; only the output is rounded.
	ProcessorHost narrow (new PlugProcessor);
	ProcessorHost wide (new PlugProcessor);
	ASSERT_TRUE (narrow.start (48000.0, 256, kSample32));
	ASSERT_TRUE (wide.start (48000.0, 256, kSample64));
	std::vector<double> left (16384, 0.0);
	std::vector<double> right (16384, 0.0);
	for (size_t i = 0; i < left.size (); i += 97)
		left[i] = 0.5;
	for (size_t i = 0; i < right.size (); i += 131)
		right[i] = -0.25;
	Channels a = narrow.run ({left, right});
	Channels b = wide.run ({left, right});
	for (size_t c = 0; c < 2; ++c)
		for (size_t n = 0; n < left.size (); ++n)
			ASSERT_EQ (a[c][n], static_cast<double> (static_cast<float> (b[c][n]))) << c << " " << n;
}

class GlobalBypassAtRate : public testing::TestWithParam<double>
{
};

TEST_P (GlobalBypassAtRate, GivesTheInputDelayedByTheReportedLatency)
{
	const double rate = GetParam ();
	ProcessorHost host (new PlugProcessor);
	ASSERT_TRUE (host.start (rate, 512));
	const size_t latency = host.audio->getLatencySamples ();
	host.run ({std::vector<double> (static_cast<size_t> (0.35 * rate), 0.0)});
	host.queue (kBypassId, 1.0);
	host.run ({std::vector<double> (static_cast<size_t> (0.3 * rate), 0.0)});

	std::vector<double> left (4 * latency, 0.0);
	std::vector<double> right (4 * latency, 0.0);
	for (size_t i = 0; i < latency; ++i)
	{
		left[i] = std::sin (0.01 * static_cast<double> (i));
		right[i] = 0.5 * std::cos (0.03 * static_cast<double> (i));
	}
	Channels out = host.run ({left, right});
	for (size_t n = 0; n < left.size (); ++n)
	{
		ASSERT_NEAR (out[0][n], n < latency ? 0.0 : left[n - latency], 1e-12) << n;
		ASSERT_NEAR (out[1][n], n < latency ? 0.0 : right[n - latency], 1e-12) << n;
	}
}

INSTANTIATE_TEST_SUITE_P (Rates, GlobalBypassAtRate,
                          testing::Values (44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0));

// --- parameter mapping ---

struct Mapping
{
	const char* name;
	ParamID tag;
	double value;
	int32 block;
	int32 paramNo;
	int32 sub;
	double expected;
};

class ParameterMapping : public testing::TestWithParam<Mapping>
{
};

TEST_P (ParameterMapping, ReachesItsBlockWithItsFormula)
{
	const Mapping& m = GetParam ();
	auto* processor = new WetPathProcessor;
	ProcessorHost host (processor);
	ASSERT_TRUE (host.start (44100.0, 64));
	host.queue (m.tag, m.value);
	host.processOnce (0);
	EXPECT_NEAR (processor->wetBlockValue (m.block, m.paramNo, m.sub), m.expected,
	             1e-12 * std::max (1.0, std::abs (m.expected)));
}

using namespace KOREMU::DSPLib;

INSTANTIATE_TEST_SUITE_P (
    Tags, ParameterMapping,
    testing::Values (
        Mapping {"ShiftFrequency", kShiftId, 0.5, kBlockShifter, HShifterConvCont::kFrequencyShiftParam, 0, 0.5005},
        Mapping {"ShiftRate", kShiftId, 1.0, kBlockShiftLfo, LorenzLFO::kRateParamNo, 0, 3.32},
        Mapping {"ShiftDepth", kShiftId, 0.5, kBlockShiftLfo, LorenzLFO::kDepthParamNo, 0, 1.95},
        Mapping {"ShiftBypassOn", kShiftBypassId, 0.6, kBlockShifter, kBypassParamNo, 0, 1.0},
        Mapping {"ShiftBypassOnDelay", kShiftBypassId, 0.6, kBlockShiftDelay, kBypassParamNo, 0, 0.0},
        Mapping {"ShiftBypassOff", kShiftBypassId, 0.4, kBlockShifter, kBypassParamNo, 0, 0.0},
        Mapping {"ShiftBypassOffDelay", kShiftBypassId, 0.4, kBlockShiftDelay, kBypassParamNo, 0, 1.0},
        Mapping {"DelayHalf", kDelayId, 0.5, kBlockDelay, Delay::kDelayMsParam, 0, 24.0},
        Mapping {"DelayFull", kDelayId, 1.0, kBlockDelay, Delay::kDelayMsParam, 0, 45.0},
        Mapping {"CentreHalf", kCentreId, 0.5, kBlockCentreFilter, HighPassLR::kFrequencyCutParamNo, 0, 20.0 * std::sqrt (75.0)},
        Mapping {"CentreFull", kCentreId, 1.0, kBlockCentreFilter, HighPassLR::kFrequencyCutParamNo, 0, 1500.0},
        Mapping {"DriveDistortionLow", kDriveId, 0.0, kBlockDrive, Triode::kDistortionParam, 0, 2.0},
        Mapping {"DriveDistortionHigh", kDriveId, 1.0, kBlockDrive, Triode::kDistortionParam, 0, 50.0},
        Mapping {"DriveQLow", kDriveId, 0.0, kBlockDrive, Triode::kQParam, 0, -3.0},
        Mapping {"DriveQHigh", kDriveId, 1.0, kBlockDrive, Triode::kQParam, 0, -0.02},
        Mapping {"DriveOutGain", kDriveId, 0.5, kBlockDrive, Triode::kOutGainParam, 0, 1.45},
        Mapping {"DriveBypassOff", kDriveBypassId, 0.5, kBlockDrive, kBypassParamNo, 0, 0.0},
        Mapping {"DriveBypassOn", kDriveBypassId, 0.51, kBlockDrive, kBypassParamNo, 0, 1.0},
        Mapping {"DecorrBypassOn", kDecorrBypassId, 1.0, kBlockDecorr, kBypassParamNo, 0, 1.0},
        Mapping {"DecorrBypassOnDelay", kDecorrBypassId, 1.0, kBlockDecorrDelay, kBypassParamNo, 0, 0.0},
        Mapping {"DecorrBypassNaNKeepsStage", kDecorrBypassId, NAN, kBlockDecorr, kBypassParamNo, 0, 0.0},
        Mapping {"DecorrBypassNaNKeepsDelay", kDecorrBypassId, NAN, kBlockDecorrDelay, kBypassParamNo, 0, 1.0}),
    [] (const testing::TestParamInfo<Mapping>& info) { return std::string (info.param.name); });

// --- "Mix" and "Color", heard ---

// The output for a signal, with the values set and every glide, crossfade and the fade-in over.
Channels renderWith (const std::vector<std::pair<ParamID, double>>& values, const Channels& signal)
{
	ProcessorHost host (new PlugProcessor);
	EXPECT_TRUE (host.start (44100.0, 512));
	for (const auto& [tag, value] : values)
		host.queue (tag, value);
	host.settle ();
	return host.run (signal);
}

// The same 0.35 s of silence as renderWith's, then the signal delayed by the latency, through a
// mid/side high-pass like the processor's output stage.
Channels dryThroughTheOutputStage (const Channels& signal, size_t latency)
{
	const size_t lead = static_cast<size_t> (0.35 * 44100.0) + latency;
	const size_t frames = signal[0].size ();
	std::vector<std::vector<double>> in (2, std::vector<double> (lead + frames, 0.0));
	std::vector<std::vector<double>> out (2, std::vector<double> (lead + frames, 0.0));
	for (size_t c = 0; c < 2; ++c)
		std::copy (signal[c].begin (), signal[c].end () - static_cast<std::ptrdiff_t> (latency), in[c].begin () + static_cast<std::ptrdiff_t> (lead));
	KOREMU::DSPLib::MidSideStatic stage (1);
	stage.setSampleRate (44100.0);
	stage.setBlockSize (static_cast<int32> (lead + frames));
	stage.setup ();
	double* inputs[] = {in[0].data (), in[1].data ()};
	double* outputs[] = {out[0].data (), out[1].data ()};
	stage.process64 (inputs, outputs, static_cast<int32> (lead + frames));
	const size_t from = lead - latency;
	return {std::vector<double> (out[0].begin () + static_cast<std::ptrdiff_t> (from), out[0].begin () + static_cast<std::ptrdiff_t> (from + frames)),
	        std::vector<double> (out[1].begin () + static_cast<std::ptrdiff_t> (from), out[1].begin () + static_cast<std::ptrdiff_t> (from + frames))};
}

double decibelFactor (double decibels)
{
	return std::pow (10.0, decibels / 20.0);
}

// "Mix" v: the dry signal at unity, the wet pair at v, and the whole output lowered by v x 6 dB.
TEST (MixMapping, KeepsTheDryAtUnityAddsTheWetInProportionAndLowersTheOutput)
{
	const Channels signal = {noise (8192, 1), noise (8192, 2)};
	const Channels none = renderWith ({{kMixId, 0.0}}, signal);
	const Channels quarter = renderWith ({{kMixId, 0.25}}, signal);
	const Channels full = renderWith ({{kMixId, 1.0}}, signal);
	const double tolerance = 1e-9 * peakOf (full);

	// At 0 each channel is its own dry input, delayed and through the output stage, at 0 dB.
	const Channels dry = dryThroughTheOutputStage (signal, 2047);
	for (size_t c = 0; c < 2; ++c)
		for (size_t n = 0; n < signal[c].size (); ++n)
			ASSERT_NEAR (none[c][n], dry[c][n], tolerance) << c << " " << n;

	const double quarterGain = decibelFactor (-1.5);
	const double fullGain = decibelFactor (-6.0);
	for (size_t n = 0; n < signal[0].size (); ++n)
	{
		// The anti-phase wet pair leaves the mid alone: only the gain moves it.
		ASSERT_NEAR (full[0][n] + full[1][n], fullGain * (none[0][n] + none[1][n]), tolerance) << n;
		// On each channel the wet part grows with v, in proportion.
		for (size_t c = 0; c < 2; ++c)
		{
			const double wet = full[c][n] / fullGain - none[c][n];
			ASSERT_NEAR (quarter[c][n], quarterGain * (none[c][n] + 0.25 * wet), tolerance) << c << " " << n;
		}
	}
}

// With the convolutions and the shifter bypassed the wet path only delays and high-passes: once it
// has arrived, a tone far above the high-passes comes back in the side at the wet level, lowered
// by the output gain.
TEST (MixMapping, PutsTheWetPairInAtTheValue)
{
	const double frequency = 5512.5; // 8 samples a period at 44.1 kHz
	std::vector<double> tone (8820);
	for (size_t n = 0; n < tone.size (); ++n)
		tone[n] = 0.5 * std::sin (2.0 * kPi * frequency * static_cast<double> (n) / 44100.0);
	const size_t arrived = 4410; // past the delay of 24 ms and the two compensation delays
	for (const auto& [v, decibels] : {std::pair {0.25, -1.5}, std::pair {1.0, -6.0}})
	{
		const Channels out =
		    renderWith ({{kMixId, v}, {kDecorrBypassId, 1.0}, {kShiftBypassId, 1.0}}, {tone, tone});
		double sideEnergy = 0.0, toneEnergy = 0.0;
		for (size_t n = arrived; n < tone.size (); ++n)
		{
			const double side = (out[0][n] - out[1][n]) * 0.5;
			sideEnergy += side * side;
			toneEnergy += tone[n] * tone[n];
		}
		EXPECT_NEAR (std::sqrt (sideEnergy / toneEnergy), v * decibelFactor (decibels), 2e-3 * v) << v;
	}
}

// "Color" v blends the first convolution at cos (v pi / 2) with the second at sin (v pi / 2);
// with a mono input the side holds the wet part alone, and everything after the blend is linear.
TEST (ColorMapping, BlendsTheTwoConvolutionsAtEqualPower)
{
	const std::vector<double> mono = noise (8192, 3);
	auto sideOf = [&mono] (double color) {
		const Channels out = renderWith ({{kColorId, color}}, {mono, mono});
		std::vector<double> side (mono.size ());
		for (size_t n = 0; n < side.size (); ++n)
			side[n] = (out[0][n] - out[1][n]) * 0.5;
		return side;
	};
	const std::vector<double> a = sideOf (0.0), b = sideOf (1.0), blend = sideOf (1.0 / 3.0);
	const double tolerance = 1e-9 * peakOf ({blend});
	for (size_t n = 0; n < blend.size (); ++n)
		ASSERT_NEAR (blend[n], std::cos (kPi / 6.0) * a[n] + 0.5 * b[n], tolerance) << n;
}

// --- activation ---

TEST (Activation, PutsEveryBypassStateInPlace)
{
	auto* processor = new WetPathProcessor;
	ProcessorHost host (processor);
	ASSERT_TRUE (host.start (44100.0, 64));
	// Defaults: drive bypassed, shifter and decorrelation running, their delays bypassed.
	const std::pair<int32, double> states[] = {{kBlockDrive, 1.0},      {kBlockShifter, 0.0}, {kBlockShiftDelay, 1.0},
	                                           {kBlockDecorr, 0.0},     {kBlockDecorrDelay, 1.0}};
	for (const auto& s : states)
		EXPECT_EQ (processor->wetBlockValue (s.first, kBypassParamNo), s.second) << s.first;
	// The effect path runs, and the global bypass's delay stands aside: the dry signal comes out
	// after the latency once, not twice.
	EXPECT_EQ (dryArrival (host), host.audio->getLatencySamples ());
}

// With the shifter bypassed every block that runs is time-invariant, and the drive is bypassed,
// so the processor is linear and time-invariant but for the fade-in: an impulse inside the first
// 250 ms gives the response of an impulse long after, scaled by the fade-in's gain at its frame.
// A block crossfading its bypass at activation would show in the early response.
class ActivationWithout : public testing::TestWithParam<std::vector<ParamID>>
{
};

TEST_P (ActivationWithout, CrossfadesAnyBypass)
{
	std::vector<double> values (kNumParamSlots, 0.0);
	for (const PlugParameter& row : kPlugParameters)
	{
		if (row.tag < static_cast<ParamID> (kNumParamSlots))
			values[row.tag] = row.defaultValue;
	}
	for (ParamID tag : GetParam ())
		values[tag] = 1.0;
	auto responseAt = [&values] (size_t at) {
		ProcessorHost host (new PlugProcessor);
		EXPECT_EQ (host.loadState (chunkOf (values, 0)), kResultOk);
		EXPECT_TRUE (host.start (44100.0, 64));
		const Channels out = host.run ({impulse (at + 8192, at)});
		return Channels {std::vector<double> (out[0].begin () + static_cast<std::ptrdiff_t> (at), out[0].end ()),
		                 std::vector<double> (out[1].begin () + static_cast<std::ptrdiff_t> (at), out[1].end ())};
	};
	const size_t early = 2205; // 50 ms
	const Channels during = responseAt (early);
	const Channels after = responseAt (22050);
	const double fadeInGain = static_cast<double> (early) / (300.0 * 44.1);
	const double tolerance = 1e-9 * peakOf (after);
	for (size_t c = 0; c < 2; ++c)
		for (size_t n = 0; n < during[c].size (); ++n)
			ASSERT_NEAR (during[c][n], fadeInGain * after[c][n], tolerance) << c << " " << n;
}

INSTANTIATE_TEST_SUITE_P (Bypasses, ActivationWithout,
                          testing::Values (std::vector<ParamID> {kShiftBypassId},
                                           std::vector<ParamID> {kShiftBypassId, kDecorrBypassId}),
                          [] (const testing::TestParamInfo<std::vector<ParamID>>& info) {
	                          return info.param.size () == 1 ? std::string ("ShiftBypassed") : std::string ("ShiftAndDecorrBypassed");
                          });

// Fails once, after the whole graph exists but before any of it is set up.
class FailingOnce : public PlugProcessor
{
protected:
	void buildDSP () override
	{
		PlugProcessor::buildDSP ();
		if (!failed)
		{
			failed = true;
			throw std::bad_alloc ();
		}
	}

private:
	bool failed {false};
};

TEST (Activation, AFailureTearsThePartialGraphDownAndTheNextAttemptWorks)
{
	ProcessorHost host (new FailingOnce);
	EXPECT_FALSE (host.start (44100.0, 64));
	ASSERT_TRUE (host.data.prepare (*host.component, 64, kSample64));
	for (size_t i = 0; i < 64; ++i)
	{
		host.setInput (0, i, 1.0);
		writeSample (host.data, kOutput, 0, i, 4.0);
	}
	EXPECT_EQ (host.processOnce (64), kResultOk);
	for (size_t i = 0; i < 64; ++i)
		ASSERT_EQ (host.outputAt (0, i), 0.0);

	EXPECT_EQ (host.component->setActive (true), kResultOk);
	EXPECT_TRUE (host.respondsToInput ());
	EXPECT_EQ (host.audio->getLatencySamples (), 2047u);
}

TEST (State, DefaultChunkHoldsTheDefaults)
{
	ProcessorHost host (new PlugProcessor);
	const Bytes chunk = host.state ();
	ASSERT_EQ (chunk.size (), 124u);
	const double defaults[] = {0.5, 0.1, 0.0, 0.5, 0.0, 0.0, 0.0, 1.0, 0.0, 0.0, 0.0, 0.0, 0.0, 0.0};
	for (int32 i = 0; i < kNumParamSlots; ++i)
		EXPECT_EQ (valueInChunk (chunk, i), defaults[i]) << i;
	EXPECT_EQ (Bytes (chunk.begin () + 8, chunk.begin () + 16), (Bytes {0, 0, 0, 0, 0, 0, 0xE0, 0x3F}));
	EXPECT_EQ (Bytes (chunk.end () - 4, chunk.end ()), (Bytes {0, 0, 0, 0}));
}

} // namespace
