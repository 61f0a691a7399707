#include "tests/support/BareProcessor.h"
#include "tests/support/ProcessorHost.h"

#include <cmath>
#include <limits>

using namespace veltrane_test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN ();
constexpr double kTolerance = 1e-9;

struct ArrangementCase
{
	const char* name;
	SpeakerArrangement in;
	SpeakerArrangement out;
	tresult result;
	SpeakerArrangement inAfter;
	const char16* inName;
};

class BusNegotiation : public testing::TestWithParam<ArrangementCase>
{
};

TEST_P (BusNegotiation, AnswersTrueOnlyForWhatItAdopts)
{
	const ArrangementCase& c = GetParam ();
	ProcessorHost host (new BareProcessor);
	SpeakerArrangement in = c.in;
	SpeakerArrangement out = c.out;
	EXPECT_EQ (host.audio->setBusArrangements (&in, 1, &out, 1), c.result);

	SpeakerArrangement inNow = 0;
	SpeakerArrangement outNow = 0;
	ASSERT_EQ (host.audio->getBusArrangement (kInput, 0, inNow), kResultTrue);
	ASSERT_EQ (host.audio->getBusArrangement (kOutput, 0, outNow), kResultTrue);
	EXPECT_EQ (inNow, c.inAfter);
	EXPECT_EQ (outNow, SpeakerArr::kStereo);
	BusInfo info {};
	ASSERT_EQ (host.component->getBusInfo (kAudio, kInput, 0, info), kResultTrue);
	EXPECT_EQ (String (info.name), String (c.inName));
	EXPECT_EQ (info.channelCount, SpeakerArr::getChannelCount (c.inAfter));
}

INSTANTIATE_TEST_SUITE_P (
    Requests, BusNegotiation,
    testing::Values (
        ArrangementCase {"MonoStereo", SpeakerArr::kMono, SpeakerArr::kStereo, kResultTrue, SpeakerArr::kMono, STR16 ("Mono In")},
        ArrangementCase {"StereoStereo", SpeakerArr::kStereo, SpeakerArr::kStereo, kResultTrue, SpeakerArr::kStereo, STR16 ("Stereo In")},
        ArrangementCase {"MonoMono", SpeakerArr::kMono, SpeakerArr::kMono, kResultFalse, SpeakerArr::kMono, STR16 ("Mono In")},
        ArrangementCase {"MonoSurround", SpeakerArr::kMono, SpeakerArr::k51, kResultFalse, SpeakerArr::kMono, STR16 ("Mono In")},
        ArrangementCase {"SurroundBoth", SpeakerArr::k51, SpeakerArr::k51, kResultFalse, SpeakerArr::kStereo, STR16 ("Stereo In")},
        ArrangementCase {"StereoMono", SpeakerArr::kStereo, SpeakerArr::kMono, kResultFalse, SpeakerArr::kStereo, STR16 ("Stereo In")}),
    [] (const testing::TestParamInfo<ArrangementCase>& info) { return std::string (info.param.name); });

TEST (BusNegotiationRefusals, LeaveTheBusesAlone)
{
	ProcessorHost host (new BareProcessor);
	SpeakerArrangement mono = SpeakerArr::kMono;
	SpeakerArrangement stereo[] = {SpeakerArr::kStereo, SpeakerArr::kStereo};
	EXPECT_EQ (host.audio->setBusArrangements (stereo, 2, &stereo[0], 1), kResultFalse);
	EXPECT_EQ (host.audio->setBusArrangements (&mono, 1, nullptr, 1), kResultFalse);

	ASSERT_TRUE (host.start (44100.0, 64));
	EXPECT_EQ (host.audio->setBusArrangements (&mono, 1, &stereo[0], 1), kResultFalse);
	SpeakerArrangement in = 0;
	host.audio->getBusArrangement (kInput, 0, in);
	EXPECT_EQ (in, SpeakerArr::kStereo);
}

TEST (Initialize, ASecondCallAddsNoBusesAndTerminateAllowsANewStart)
{
	ProcessorHost host (new BareProcessor);
	EXPECT_EQ (host.component->initialize (nullptr), kResultFalse);
	EXPECT_EQ (host.component->getBusCount (kAudio, kInput), 1);
	EXPECT_EQ (host.component->getBusCount (kAudio, kOutput), 1);
	EXPECT_EQ (host.component->terminate (), kResultOk);
	EXPECT_EQ (host.component->getBusCount (kAudio, kInput), 0);
	EXPECT_EQ (host.component->initialize (nullptr), kResultOk);
	EXPECT_EQ (host.component->getBusCount (kAudio, kInput), 1);
}

TEST (SampleSizes, OnlyThirtyTwoAndSixtyFourBits)
{
	ProcessorHost host (new BareProcessor);
	for (int32 size : {kSample32, kSample64})
		EXPECT_EQ (host.audio->canProcessSampleSize (size), kResultTrue) << size;
	for (int32 size : {2, -1, 64})
		EXPECT_EQ (host.audio->canProcessSampleSize (size), kResultFalse) << size;
}

struct BadSetup
{
	double rate;
	int32 block;
	int32 sampleSize;
};

TEST (ProcessingSetup, RefusesWhatCannotBeProcessedAndChangesNothing)
{
	const BadSetup cases[] = {{kNaN, 64, kSample64},
	                          {std::numeric_limits<double>::infinity (), 64, kSample64},
	                          {0.0, 64, kSample64},
	                          {-48000.0, 64, kSample64},
	                          {96000.0, 0, kSample64},
	                          {96000.0, -64, kSample64},
	                          {96000.0, 64, 2}};
	for (const BadSetup& c : cases)
	{
		ProcessorHost host (new BareProcessor);
		ASSERT_TRUE (host.setup (48000.0, 64));
		ProcessSetup setup {kRealtime, c.sampleSize, c.block, c.rate};
		EXPECT_EQ (host.audio->setupProcessing (setup), kResultFalse) << c.rate << " " << c.block;
		EXPECT_EQ (host.audio->getLatencySamples (), 48u) << c.rate << " " << c.block;
	}
}

TEST (ProcessingSetup, RefusedWhileActive)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (48000.0, 64));
	EXPECT_FALSE (host.setup (96000.0, 64));
	EXPECT_EQ (host.audio->getLatencySamples (), 48u);
}

TEST (Activation, FailsCleanlyWithoutBusesAndOutputsStaySilent)
{
	auto* processor = new BareProcessor;
	IPtr<PlugProcessorBase> owner = owned (static_cast<PlugProcessorBase*> (processor));
	EXPECT_NE (processor->setActive (true), kResultOk);

	HostProcessData data;
	ASSERT_TRUE (data.prepare ({2}, {2}, 64, kSample64));
	for (int32 c = 0; c < 2; ++c)
		std::fill_n (data.getChannel64 (kOutput, 0, c), 64, kNaN);
	EXPECT_EQ (processor->process (data), kResultOk);
	for (int32 c = 0; c < 2; ++c)
		for (int32 i = 0; i < 64; ++i)
			ASSERT_EQ (data.getChannel64 (kOutput, 0, c)[i], 0.0);
}

TEST (Activation, RepeatedAndUnmatchedCallsKeepOneGraph)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (44100.0, 64));
	EXPECT_EQ (host.component->setActive (true), kResultOk);
	EXPECT_TRUE (host.respondsToInput ());
	EXPECT_EQ (host.component->setActive (false), kResultOk);
	EXPECT_FALSE (host.respondsToInput ());
	EXPECT_EQ (host.component->setActive (false), kResultOk);
	EXPECT_EQ (host.component->setActive (true), kResultOk);
	EXPECT_TRUE (host.respondsToInput ());
	// Terminating while active frees the graph (the sanitizer build checks for leaks).
	EXPECT_EQ (host.component->terminate (), kResultOk);
	EXPECT_FALSE (host.respondsToInput ());
}

// --- processing ---

class Processing : public testing::TestWithParam<int32>
{
protected:
	int32 sampleSize () const { return GetParam (); }
};

TEST_P (Processing, FadesInOverThreeHundredMillisecondsFromZeroAtEveryActivation)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (1000.0, 32, sampleSize ()));
	// At 1 kHz the latency is one sample and the ramp 300 frames: out[n] = (g[n] + g[n - 1]) / 2.
	const size_t frames = 400;
	auto ramp = [] (long n) { return n < 0 ? 0.0 : std::min (1.0, static_cast<double> (n) / 300.0); };
	for (int activation = 0; activation < 2; ++activation)
	{
		Channels out = host.run ({std::vector<double> (frames, 1.0)});
		for (size_t n = 0; n < frames; ++n)
		{
			const long i = static_cast<long> (n);
			ASSERT_NEAR (out[0][n], 0.5 * (ramp (i) + ramp (i - 1)), 1e-6) << "frame " << n;
		}
		ASSERT_EQ (host.component->setActive (false), kResultOk);
		ASSERT_EQ (host.component->setActive (true), kResultOk);
	}
}

TEST_P (Processing, NeverWritesTheHostsInput)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (44100.0, 64, sampleSize ()));
	for (int32 c = 0; c < 2; ++c)
		for (size_t i = 0; i < 64; ++i)
			host.setInput (c, i, 0.25 * (c + 1));
	host.processOnce (64);
	for (int32 c = 0; c < 2; ++c)
		for (size_t i = 0; i < 64; ++i)
		{
			const double held = sampleSize () == kSample32 ? host.data.getChannel32 (kInput, 0, c)[i]
			                                               : host.data.getChannel64 (kInput, 0, c)[i];
			ASSERT_EQ (held, 0.25 * (c + 1));
		}
}

TEST_P (Processing, InPlaceBuffersGiveTheSameResultAsSeparateOnes)
{
	ProcessorHost separate (new BareProcessor);
	ProcessorHost inPlace (new BareProcessor);
	ASSERT_TRUE (separate.start (44100.0, 64, sampleSize ()));
	ASSERT_TRUE (inPlace.start (44100.0, 64, sampleSize ()));
	// The host hands the same buffers in and out.
	inPlace.data.outputs[0].channelBuffers32 = inPlace.data.inputs[0].channelBuffers32;
	inPlace.data.outputs[0].channelBuffers64 = inPlace.data.inputs[0].channelBuffers64;
	for (int block = 0; block < 3; ++block)
	{
		for (int32 c = 0; c < 2; ++c)
			for (size_t i = 0; i < 64; ++i)
			{
				const double x = std::sin (0.1 * static_cast<double> (i + 64 * block) + c);
				separate.setInput (c, i, x);
				inPlace.setInput (c, i, x);
			}
		separate.processOnce (64);
		inPlace.processOnce (64);
		for (int32 c = 0; c < 2; ++c)
			for (size_t i = 0; i < 64; ++i)
				ASSERT_EQ (separate.outputAt (c, i), sampleSize () == kSample32
				                                         ? inPlace.data.getChannel32 (kInput, 0, c)[i]
				                                         : inPlace.data.getChannel64 (kInput, 0, c)[i]);
	}
}

TEST_P (Processing, ABlockLongerThanTheSetupsIsProcessedInPieces)
{
	ProcessorHost pieces (new BareProcessor);
	ProcessorHost reference (new BareProcessor);
	ASSERT_TRUE (pieces.start (44100.0, 32, sampleSize ()));
	ASSERT_TRUE (reference.start (44100.0, 32, sampleSize ()));
	HostProcessData longBlock;
	ASSERT_TRUE (longBlock.prepare (*pieces.component, 100, sampleSize ()));
	const std::vector<double> signal = impulse (100, 3);
	for (int32 c = 0; c < 2; ++c)
		for (size_t i = 0; i < 100; ++i)
			writeSample (longBlock, kInput, c, i, signal[i]);
	EXPECT_EQ (pieces.audio->process (longBlock), kResultOk);

	Channels expected = reference.run ({signal});
	for (int32 c = 0; c < 2; ++c)
		for (size_t i = 0; i < 100; ++i)
			ASSERT_EQ (readSample (longBlock, kOutput, c, i), expected[static_cast<size_t> (c)][i]) << i;
}

TEST_P (Processing, OutputChannelsBeyondTheBusAreZeroed)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (44100.0, 64, sampleSize ()));
	HostProcessData wide;
	ASSERT_TRUE (wide.prepare ({2}, {3}, 64, sampleSize ()));
	for (size_t i = 0; i < 64; ++i)
		writeSample (wide, kOutput, 2, i, 7.0);
	EXPECT_EQ (host.audio->process (wide), kResultOk);
	for (size_t i = 0; i < 64; ++i)
		ASSERT_EQ (readSample (wide, kOutput, 2, i), 0.0);
}

// Missing input buffers are silence that the graph runs on, exactly as on zeros.
TEST_P (Processing, MissingInputBuffersGiveWhatZerosGive)
{
	ProcessorHost missing (new BareProcessor);
	ProcessorHost zeros (new BareProcessor);
	ASSERT_TRUE (missing.start (44100.0, 64, sampleSize ()));
	ASSERT_TRUE (zeros.start (44100.0, 64, sampleSize ()));
	for (size_t i = 0; i < 64; ++i)
		missing.setInput (0, i, 1.0);
	missing.data.inputs[0].channelBuffers32 = nullptr;
	missing.data.inputs[0].channelBuffers64 = nullptr;
	EXPECT_EQ (missing.processOnce (64), kResultOk);
	EXPECT_EQ (zeros.processOnce (64), kResultOk);
	for (int32 c = 0; c < 2; ++c)
		for (size_t i = 0; i < 64; ++i)
			ASSERT_EQ (missing.outputAt (c, i), zeros.outputAt (c, i));
}

TEST_P (Processing, SilenceIsSkippedOnlyAfterTheDelayLinesHavePlayedOut)
{
	ProcessorHost host (new BareProcessor);
	auto& bare = static_cast<BareProcessor&> (*host.processor);
	ASSERT_TRUE (host.start (64000.0, 16, sampleSize ()));
	const size_t latency = host.audio->getLatencySamples ();
	ASSERT_EQ (latency, 64u);

	// A fresh graph holds nothing: silence is skipped at once.
	host.data.inputs[0].silenceFlags = 3;
	host.processOnce (16);
	EXPECT_EQ (host.data.outputs[0].silenceFlags, 3u);
	EXPECT_EQ (bare.silences, 0);

	host.data.inputs[0].silenceFlags = 0;
	host.run ({std::vector<double> (20000, 0.0)}); // past the fade-in
	host.run ({impulse (16, 5)});
	// From now on the input is flagged silent, yet the delayed half of the impulse must come out.
	host.data.inputs[0].silenceFlags = 3;
	std::vector<double> tailOut;
	for (size_t block = 0; block < latency / 16; ++block)
	{
		host.processOnce (16);
		for (size_t i = 0; i < 16; ++i)
			tailOut.push_back (host.outputAt (0, i));
	}
	EXPECT_NEAR (tailOut[5 + latency - 16], 0.5, kTolerance);
	EXPECT_EQ (bare.silences, 0);
	host.processOnce (16);
	EXPECT_EQ (host.data.outputs[0].silenceFlags, 3u);
	EXPECT_EQ (bare.silences, 1);
	host.processOnce (16);
	EXPECT_EQ (bare.silences, 1);
	for (size_t i = 0; i < 16; ++i)
		ASSERT_EQ (host.outputAt (1, i), 0.0);

	// Resuming audio brings no stale samples: a step comes back as (x[n] + x[n - L]) / 2.
	host.data.inputs[0].silenceFlags = 0;
	Channels out = host.run ({std::vector<double> (128, 1.0)});
	for (size_t n = 0; n < 128; ++n)
		ASSERT_NEAR (out[0][n], n < latency ? 0.5 : 1.0, 1e-9) << n;
}

TEST_P (Processing, ProcessingWhileInactiveZeroesTheOutputs)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (44100.0, 64, sampleSize ()));
	host.component->setActive (false);
	for (int32 c = 0; c < 2; ++c)
		for (size_t i = 0; i < 64; ++i)
		{
			host.setInput (c, i, 1.0);
			if (sampleSize () == kSample32)
				host.data.getChannel32 (kOutput, 0, c)[i] = 3.0f;
			else
				host.data.getChannel64 (kOutput, 0, c)[i] = 3.0;
		}
	EXPECT_EQ (host.processOnce (64), kResultOk);
	for (int32 c = 0; c < 2; ++c)
		for (size_t i = 0; i < 64; ++i)
			ASSERT_EQ (host.outputAt (c, i), 0.0);
}

INSTANTIATE_TEST_SUITE_P (SampleSizes, Processing, testing::Values (kSample32, kSample64),
                          [] (const testing::TestParamInfo<int32>& info) {
	                          return info.param == kSample32 ? std::string ("Float32") : std::string ("Float64");
                          });

TEST (SilenceShortcut, ZeroesWithTheWidthOfTheProcessData)
{
	// The setup says 64-bit, the call brings 32-bit buffers: zeroing must not write 8 bytes a sample.
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (44100.0, 64, kSample64));
	HostProcessData narrow;
	ASSERT_TRUE (narrow.prepare (*host.component, 64, kSample32));
	std::vector<float> guard (64, 5.0f);
	for (int32 c = 0; c < 2; ++c)
		std::fill_n (narrow.getChannel32 (kOutput, 0, c), 64, 9.0f);
	narrow.inputs[0].silenceFlags = 3;
	EXPECT_EQ (host.audio->process (narrow), kResultOk);
	for (int32 c = 0; c < 2; ++c)
		for (int32 i = 0; i < 64; ++i)
			ASSERT_EQ (narrow.getChannel32 (kOutput, 0, c)[i], 0.0f);
}

} // namespace
