// Calls the built bundle the way careless hosts and scripts do. Each case runs in a child process
// of its own: a crash, an abort, a sanitizer report or a freeze fails the case, not the run.
#include "ChildProcess.h"
#include "HostileHost.h"

#include <gtest/gtest.h>

#include <sys/resource.h>

#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>
#include <vector>

#if defined(__SANITIZE_ADDRESS__)
// A regression that sized buffers by the host's maximum again must fail here, not exhaust the
// machine: an allocation this large is an error report.
extern "C" __attribute__ ((visibility ("default"), used)) const char* __asan_default_options ()
{
	return "max_allocation_size_mb=1024";
}
#endif

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

constexpr double kRate = 48000.0;
const double kNaN = std::numeric_limits<double>::quiet_NaN ();
const double kInf = std::numeric_limits<double>::infinity ();

#define EXPECT_CLEAN_CHILD(outcome) EXPECT_TRUE ((outcome).clean ()) << "the child " << (outcome).describe ()

// --- value texts ---

std::vector<ParamID> publishedTags (IEditController& controller)
{
	std::vector<ParamID> tags;
	for (int32 i = 0; i < controller.getParameterCount (); ++i)
	{
		ParameterInfo info {};
		if (controller.getParameterInfo (i, info) == kResultOk)
			tags.push_back (info.id);
	}
	return tags;
}

const std::vector<std::u16string>& badTexts ()
{
	static const std::vector<std::u16string> texts {
	    u"\xDC00" u"50", u"50\xD800", u"\xD800" u"A", u"5\xDFFF" u"0", u"\xDBFF\xDBFF", u"", u" ", u"abc",
	    u"5x", u"--5", u"+-5", u"5e", u"e5", u".", u"1.2.3", u"1e400", u"-1e400", u"nan", u"inf", u"0x10",
	    u"5 5", u"\x0660", std::u16string (300, u'5'),
	};
	return texts;
}

TEST (HostileHostTexts, BadTextsAreRefusedOnEveryTag)
{
	const ChildOutcome outcome = runInChild ([] {
		HostileHost host;
		IEditController& controller = host.controller ();
		const std::vector<ParamID> tags = publishedTags (controller);
		EXPECT_EQ (tags.size (), 10u);
		for (ParamID tag : tags)
		{
			for (size_t t = 0; t < badTexts ().size (); ++t)
			{
				std::u16string text = badTexts ()[t];
				ParamValue value = -7.0;
				EXPECT_EQ (controller.getParamValueByString (tag, text.data (), value), kResultFalse)
				    << "tag " << tag << ", text " << t;
				EXPECT_EQ (value, -7.0) << "tag " << tag << ", text " << t;
			}
			std::u16string zero = u"0";
			ParamValue value = -7.0;
			EXPECT_EQ (controller.getParamValueByString (tag, zero.data (), value), kResultTrue) << "tag " << tag;
			EXPECT_EQ (value, 0.0) << "tag " << tag;
		}
		return std::string ();
	});
	EXPECT_CLEAN_CHILD (outcome);
}

// --- the host's maximum block size ---

void limitAddressSpace ()
{
#if !defined(__SANITIZE_ADDRESS__) && !defined(__SANITIZE_THREAD__)
	// Without a sanitizer's shadow memory the child may be held to 4 GiB, so that a regression
	// fails here instead of exhausting the machine.
	const rlimit limit {4ull << 30, 4ull << 30};
	setrlimit (RLIMIT_AS, &limit);
#endif
}

long peakResidentKiB ()
{
	rusage usage {};
	getrusage (RUSAGE_SELF, &usage);
	return usage.ru_maxrss;
}

// The peak resident memory of a child that sets up with maxBlock, activates and renders a second.
long peakKiBWithMaximum (int32 maxBlock)
{
	const ChildOutcome outcome = runInChild ([maxBlock] {
		limitAddressSpace ();
		HostileHost host;
		EXPECT_EQ (host.setup (kRate, maxBlock, kSample32), kResultOk) << maxBlock;
		EXPECT_EQ (host.activate (), kResultOk) << maxBlock;
		EXPECT_EQ (nonFiniteCount (host.render (noise (static_cast<size_t> (kRate), 0.5), 4096)), 0u);
		return std::to_string (peakResidentKiB ());
	});
	EXPECT_CLEAN_CHILD (outcome) << " with a maximum of " << maxBlock;
	return outcome.clean () ? std::stol (outcome.report) : -1;
}

TEST (HostileHostBlocks, MemoryDoesNotGrowWithTheMaximumBlockSize)
{
	const long reference = peakKiBWithMaximum (4096);
	std::printf ("peak resident memory with a maximum of 4096 frames: %ld KiB\n", reference);
	for (int32 maxBlock : {65536, 1 << 20, 1 << 22})
	{
		const long peak = peakKiBWithMaximum (maxBlock);
		std::printf ("peak resident memory with a maximum of %d frames: %ld KiB\n", maxBlock, peak);
		EXPECT_LE (peak, reference + 4096) << "a maximum of " << maxBlock << " frames";
	}
}

TEST (HostileHostBlocks, AnAbsurdMaximumIsRefusedOrWorks)
{
	for (int32 maxBlock : {1 << 28, INT32_MAX})
	{
		const ChildOutcome outcome = runInChild ([maxBlock] {
			limitAddressSpace ();
			HostileHost host;
			if (host.setup (kRate, maxBlock, kSample32) != kResultOk || host.activate () != kResultOk)
				return std::string ("refused");
			EXPECT_EQ (nonFiniteCount (host.render (noise (8192, 0.5), 8192)), 0u);
			return std::string ("works");
		});
		EXPECT_CLEAN_CHILD (outcome) << " with a maximum of " << maxBlock;
		std::printf ("a maximum of %d frames: %s\n", maxBlock, outcome.report.c_str ());
	}
}

// --- a missing input ---

struct MissingInputCase
{
	const char* name;
	InputForm form;
	int32 sampleSize;
};

class MissingInput : public testing::TestWithParam<MissingInputCase>
{
};

// Two seconds without input in the middle of three: the output must be what the same stretch of
// zeros gives, during the stretch (the tail plays out) and after it (nothing stale comes back).
TEST_P (MissingInput, IsTheSameAsAStretchOfZeros)
{
	const MissingInputCase c = GetParam ();
	const ChildOutcome outcome = runInChild ([c] {
		constexpr int32 block = 500;
		const size_t stretchBegin = static_cast<size_t> (kRate / 2);
		const size_t stretchEnd = static_cast<size_t> (kRate * 2.5);
		const auto inStretch = [=] (size_t frame) { return frame >= stretchBegin && frame < stretchEnd; };
		const Channels input = noise (static_cast<size_t> (kRate * 3), 0.5);
		Channels zeroed = input;
		for (auto& channel : zeroed)
			std::fill (channel.begin () + static_cast<long> (stretchBegin), channel.begin () + static_cast<long> (stretchEnd), 0.0);

		HostileHost missing;
		EXPECT_EQ (missing.setup (kRate, block, c.sampleSize), kResultOk);
		EXPECT_EQ (missing.activate (), kResultOk);
		const Channels withoutInput =
		    missing.render (input, block, [&] (size_t frame) { return inStretch (frame) ? c.form : InputForm::kPresent; });
		HostileHost zeros;
		EXPECT_EQ (zeros.setup (kRate, block, c.sampleSize), kResultOk);
		EXPECT_EQ (zeros.activate (), kResultOk);
		const Channels reference = zeros.render (zeroed, block);

		EXPECT_TRUE (withoutInput == reference);
		char figures[160];
		std::snprintf (figures, sizeof figures, "largest difference %g, after the input returns %g",
		               largestDifference (withoutInput, reference), largestDifference (withoutInput, reference, stretchEnd));
		return std::string (figures);
	});
	EXPECT_CLEAN_CHILD (outcome);
	std::printf ("%s: %s\n", c.name, outcome.report.c_str ());
}

INSTANTIATE_TEST_SUITE_P (HostileHost, MissingInput,
                          testing::Values (MissingInputCase {"NoBus32", InputForm::kNoBus, kSample32},
                                           MissingInputCase {"NoBus64", InputForm::kNoBus, kSample64},
                                           MissingInputCase {"NullChannels32", InputForm::kNullChannels, kSample32},
                                           MissingInputCase {"NullChannels64", InputForm::kNullChannels, kSample64},
                                           MissingInputCase {"NullArray32", InputForm::kNullArray, kSample32}),
                          [] (const testing::TestParamInfo<MissingInputCase>& info) { return info.param.name; });

// --- sample rates ---

// A refused setup leaves the one in force before it, so the host that activates anyway still
// hears sound.
TEST (HostileHostRates, RatesTheGraphCannotRunAreRefused)
{
	for (double rate : {1e-310, DBL_MIN, 4.9e-324, 1e-300, 0.0, -0.0, -48000.0, kNaN, kInf, -kInf, 0.999, 1.0000001e7})
	{
		const ChildOutcome outcome = runInChild ([rate] {
			HostileHost host;
			EXPECT_EQ (host.setup (rate, 512, kSample32), kResultFalse) << rate;
			EXPECT_EQ (host.activate (), kResultOk) << rate;
			EXPECT_EQ (nonFiniteCount (host.render (noise (24000, 0.5), 512)), 0u) << rate;
			return std::string ();
		});
		EXPECT_CLEAN_CHILD (outcome) << " at a rate of " << rate;
	}
}

TEST (HostileHostRates, EveryAcceptedRateRunsFinite)
{
	for (double rate : {1.0, 7.5, 8000.0, 44100.0, 192000.0, 768000.0, 2.8224e6, 1e7})
	{
		const ChildOutcome outcome = runInChild ([rate] {
			HostileHost host;
			EXPECT_EQ (host.setup (rate, 512, kSample64), kResultOk) << rate;
			EXPECT_EQ (host.activate (), kResultOk) << rate;
			EXPECT_EQ (nonFiniteCount (host.render (noise (48000, 0.9), 512)), 0u) << rate;
			return std::string ();
		});
		EXPECT_CLEAN_CHILD (outcome) << " at a rate of " << rate;
	}
}

// --- extreme samples ---

struct ExtremeCase
{
	const char* name;
	int32 sampleSize;
	double level;
};

class ExtremeInput : public testing::TestWithParam<ExtremeCase>
{
};

// A second of samples at ±level, then a second at a normal level.
TEST_P (ExtremeInput, NeverGivesANonFiniteOutputAndPassesOver)
{
	const ExtremeCase c = GetParam ();
	const ChildOutcome outcome = runInChild ([c] {
		const auto second = static_cast<size_t> (kRate);
		Channels input = noise (2 * second, 0.5);
		for (auto& channel : input)
			for (size_t i = 0; i < second; ++i)
				channel[i] = channel[i] < 0.0 ? -c.level : c.level;
		HostileHost host;
		EXPECT_EQ (host.setup (kRate, 512, c.sampleSize), kResultOk);
		EXPECT_EQ (host.activate (), kResultOk);
		const Channels output = host.render (input, 512);
		const size_t bad = nonFiniteCount (output);
		EXPECT_EQ (bad, 0u);
		const double lastHalfSecond = peakFrom (output, second + second / 2);
		EXPECT_LT (lastHalfSecond, 2.0);
		char figures[120];
		std::snprintf (figures, sizeof figures, "%zu non-finite samples out, peak of the last half second %g", bad,
		               lastHalfSecond);
		return std::string (figures);
	});
	EXPECT_CLEAN_CHILD (outcome);
	std::printf ("%s: %s\n", c.name, outcome.report.c_str ());
}

INSTANTIATE_TEST_SUITE_P (HostileHost, ExtremeInput,
                          testing::Values (ExtremeCase {"FloatMax32", kSample32, FLT_MAX},
                                           ExtremeCase {"Huge64", kSample64, 1e305},
                                           ExtremeCase {"DoubleMax64", kSample64, DBL_MAX}),
                          [] (const testing::TestParamInfo<ExtremeCase>& info) { return info.param.name; });

// --- falsified process data ---

TEST (HostileHostProcessData, AnUnknownSampleSizeIsAnInvalidArgumentWithClearedOutputs)
{
	for (int32 setupSize : {kSample32, kSample64})
	{
		const ChildOutcome outcome = runInChild ([setupSize] {
			HostileHost host;
			EXPECT_EQ (host.setup (kRate, 512, setupSize), kResultOk);
			EXPECT_EQ (host.activate (), kResultOk);
			for (int32 size : {3, 2, -1, INT32_MAX})
			{
				HostBlock call (512, setupSize);
				call.fillOutputs (1.0);
				call.data ().symbolicSampleSize = size;
				EXPECT_EQ (host.processor ().process (call.data ()), kInvalidArgument) << size;
				int32 uncleared = 0;
				for (int32 ch = 0; ch < HostBlock::kChannels; ++ch)
					for (int32 i = 0; i < call.frames (); ++i)
						uncleared += call.getOutput (ch, i) != 0.0;
				EXPECT_EQ (uncleared, 0) << "sample size " << size;
			}
			return std::string ();
		});
		EXPECT_CLEAN_CHILD (outcome) << " after a setup of sample size " << setupSize;
	}
}

struct ChannelCounts
{
	int32 input;
	int32 output;
};

// Zero or fewer channels are none: nothing is read or written there, and no silence bit is set.
TEST (HostileHostProcessData, ChannelCountsOfZeroOrLessMeanNoChannels)
{
	for (ChannelCounts counts : {ChannelCounts {-1, 2}, ChannelCounts {INT32_MIN, 2}, ChannelCounts {2, -1},
	                             ChannelCounts {2, INT32_MIN}, ChannelCounts {-64, -65}, ChannelCounts {0, 0}})
	{
		const ChildOutcome outcome = runInChild ([counts] {
			HostileHost host;
			EXPECT_EQ (host.setup (kRate, 512, kSample32), kResultOk);
			EXPECT_EQ (host.activate (), kResultOk);
			for (int32 round = 0; round < 4; ++round)
			{
				HostBlock call (512, kSample32);
				call.fillOutputs (1.0);
				call.input ().numChannels = counts.input;
				call.output ().numChannels = counts.output;
				call.input ().silenceFlags = ~uint64 (0);
				EXPECT_EQ (host.processor ().process (call.data ()), kResultOk);
				if (counts.output <= 0)
				{
					EXPECT_EQ (call.output ().silenceFlags, 0u);
					EXPECT_EQ (call.getOutput (0, 0), 1.0);
				}
				else
				{
					EXPECT_TRUE (std::isfinite (call.getOutput (0, 511)));
				}
			}
			return std::string ();
		});
		EXPECT_CLEAN_CHILD (outcome) << " with " << counts.input << " input and " << counts.output << " output channels";
	}
}

} // namespace
