#include "ProcessorHost.h"

#include "plugin/processor/PlugBlockIds.h"
#include "plugin/processor/PlugProcessor.h"

#include "dsp/Delay.h"
#include "dsp/DSPAlgo.h"
#include "dsp/Gain.h"
#include "dsp/HShifterConvCont.h"
#include "dsp/HighPassLR.h"
#include "dsp/LorenzLFO.h"
#include "dsp/SmplDelay.h"
#include "dsp/Triode.h"

#include <cmath>
#include <new>

using namespace veltrane_test;
using KOREMU::DSPLib::kBypassParamNo;

namespace {

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
	EXPECT_EQ (host.blockValue (kBlockDryDelay, KOREMU::DSPLib::SmplDelay::kDelaySamplesParam), c.latency);
	EXPECT_EQ (host.blockValue (kBlockBypassDelay, KOREMU::DSPLib::SmplDelay::kDelaySamplesParam), c.latency);
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

INSTANTIATE_TEST_SUITE_P (Rates, GlobalBypassAtRate, testing::Values (44100.0, 96000.0, 192000.0));

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
	ProcessorHost host (new PlugProcessor);
	ASSERT_TRUE (host.start (44100.0, 64));
	host.queue (m.tag, m.value);
	host.processOnce (0);
	EXPECT_NEAR (host.blockValue (m.block, m.paramNo, m.sub), m.expected, 1e-12 * std::max (1.0, std::abs (m.expected)));
}

using namespace KOREMU::DSPLib;

INSTANTIATE_TEST_SUITE_P (
    Tags, ParameterMapping,
    testing::Values (
        Mapping {"MixDryLeft", kMixId, 0.3, kBlockDryWetMixer, 0, 0, 1.0},
        Mapping {"MixDryRight", kMixId, 0.3, kBlockDryWetMixer, 0, 5, 1.0},
        Mapping {"MixWetLeft", kMixId, 0.3, kBlockDryWetMixer, 0, 2, 0.3},
        Mapping {"MixWetRight", kMixId, 0.3, kBlockDryWetMixer, 0, 7, 0.3},
        Mapping {"MixGainLeft", kMixId, 1.0, kBlockOutputGain, Gain::kGainParamNo, 0, -6.0},
        Mapping {"MixGainRight", kMixId, 0.25, kBlockOutputGain, Gain::kGainParamNo, 1, -1.5},
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
        Mapping {"ColorA", kColorId, 1.0 / 3.0, kBlockColorMixer, 0, 0, std::cos (M_PI / 6.0)},
        Mapping {"ColorB", kColorId, 1.0 / 3.0, kBlockColorMixer, 0, 1, 0.5},
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

TEST (Activation, PutsEveryBypassStateInPlaceWithoutACrossfade)
{
	ProcessorHost host (new PlugProcessor);
	ASSERT_TRUE (host.start (44100.0, 64));
	// Defaults: drive bypassed, shifter and decorrelation running, their delays bypassed.
	const std::pair<int32, double> states[] = {{kBlockDrive, 1.0},       {kBlockShifter, 0.0},
	                                           {kBlockShiftDelay, 1.0},  {kBlockDecorr, 0.0},
	                                           {kBlockDecorrDelay, 1.0}, {kBlockEffectPath, 0.0},
	                                           {kBlockBypassDelay, 1.0}};
	for (const auto& s : states)
	{
		EXPECT_EQ (host.blockValue (s.first, kBypassParamNo), s.second) << s.first;
		EXPECT_EQ (host.processor->getRoot ()->findFunction (s.first)->getFadeDirection (), 0) << s.first;
	}
}

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
	EXPECT_EQ (host.processor->getRoot (), nullptr);
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
	EXPECT_NE (host.processor->getRoot (), nullptr);
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
