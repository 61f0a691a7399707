#include "tests/support/BareProcessor.h"
#include "tests/support/ProcessorHost.h"

#include <cmath>
#include <limits>

using namespace veltrane_test;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN ();
constexpr double kInf = std::numeric_limits<double>::infinity ();
// The stored chunk hosts keep: an int64 header, 14 float64 values and an int32 bypass flag.
constexpr size_t kChunkSize = 124;

std::vector<double> distinctValues ()
{
	std::vector<double> values;
	for (int32 i = 0; i < kNumParamSlots; ++i)
		values.push_back ((i + 1) / 16.0);
	return values;
}

TEST (State, RoundTripsByteForByteWhetherActiveOrNot)
{
	for (bool activeHost : {false, true})
	{
		ProcessorHost host (new BareProcessor);
		if (activeHost)
		{
			ASSERT_TRUE (host.start (44100.0, 64));
		}
		Bytes chunk = chunkOf (distinctValues (), 1);
		ASSERT_EQ (chunk.size (), kChunkSize);
		ASSERT_EQ (host.loadState (chunk), kResultOk);
		EXPECT_EQ (host.state (), chunk);
		host.processOnce (0);
		EXPECT_EQ (host.state (), chunk);
	}
}

TEST (State, TakesACompleteChunkOrNothing)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (44100.0, 64));
	const Bytes before = host.state ();
	const Bytes chunk = chunkOf (distinctValues (), 1);
	for (size_t size : {size_t (0), size_t (7), size_t (60), size_t (120), kChunkSize - 1})
	{
		EXPECT_EQ (host.loadState (Bytes (chunk.begin (), chunk.begin () + static_cast<long> (size))), kResultFalse)
		    << size;
		host.processOnce (0);
		EXPECT_EQ (host.state (), before) << size;
	}
	host.settle ();
	EXPECT_FALSE (host.givesTheInputDelayedByTheLatency ()) << "the refused chunks asked for the global bypass";

	Bytes longer = chunk;
	longer.insert (longer.end (), {1, 2, 3, 4, 5, 6});
	longer[0] = 0x7f; // any header is accepted and written back as 0
	EXPECT_EQ (host.loadState (longer), kResultOk);
	EXPECT_EQ (host.state (), chunk);
}

TEST (State, NonFiniteValuesKeepTheCurrentOneAndOthersAreClamped)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.loadState (chunkOf (std::vector<double> (kNumParamSlots, 0.25), 0)) == kResultOk);
	Bytes chunk = chunkOf (std::vector<double> (kNumParamSlots, 0.25), 0);
	const double incoming[] = {kNaN, kInf, -kInf, 1.5, -0.5, 0.75};
	const double expected[] = {0.25, 0.25, 0.25, 1.0, 0.0, 0.75};
	for (size_t i = 0; i < std::size (incoming); ++i)
		std::memcpy (chunk.data () + 8 + 8 * i, &incoming[i], sizeof (double));
	ASSERT_EQ (host.loadState (chunk), kResultOk);
	const Bytes now = host.state ();
	for (size_t i = 0; i < std::size (expected); ++i)
		EXPECT_EQ (valueInChunk (now, static_cast<int32> (i)), expected[i]) << i;
}

TEST (ParameterQueues, FollowTheSameRulesAsTheState)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (44100.0, 64));
	struct Case
	{
		ParamValue sent;
		ParamValue stored;
	};
	const Case cases[] = {{0.3, 0.3}, {kNaN, 0.3}, {1.5, 1.0}, {kInf, 1.0}, {-0.5, 0.0}};
	for (const Case& c : cases)
	{
		host.queue (kDelayId, c.sent);
		host.processOnce (0);
		EXPECT_EQ (valueInChunk (host.state (), kDelayId), c.stored) << c.sent;
	}
	// Slots without a parameter and unknown tags store nothing and disturb nothing.
	host.queue (20, 0.9);
	host.processOnce (0);
	EXPECT_EQ (valueInChunk (host.state (), kDelayId), 0.0);
}

TEST (ParameterQueues, GlobalBypassSwitchesAboveOneHalfAndKeepsItsStateOnNaN)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (1000.0, 64));
	struct Case
	{
		ParamValue sent;
		bool bypassed;
	};
	const Case cases[] = {{0.5, false}, {0.51, true}, {kNaN, true}, {0.0, false}, {kNaN, false}};
	for (const Case& c : cases)
	{
		host.queue (kBypassId, c.sent);
		host.settle ();
		EXPECT_EQ (host.givesTheInputDelayedByTheLatency (), c.bypassed) << c.sent;
		EXPECT_EQ (host.state ()[kChunkSize - 4], c.bypassed ? 1 : 0) << c.sent;
	}
}

TEST (ParameterQueues, RepeatingTheBypassStateStartsNoNewCrossfade)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (1000.0, 64));
	host.queue (kBypassId, 1.0);
	host.settle (); // well past the 250 ms crossfade
	ASSERT_TRUE (host.givesTheInputDelayedByTheLatency ());
	// A crossfade would bring the effect back in for a moment, from the call that carries the change.
	host.queue (kBypassId, 1.0);
	EXPECT_TRUE (host.givesTheInputDelayedByTheLatency ());
}

// --- the global bypass keeps the reported latency ---

enum class Route
{
	Queue,
	State,
};

class GlobalBypass : public testing::TestWithParam<Route>
{
protected:
	void switchOn (ProcessorHost& host)
	{
		if (GetParam () == Route::Queue)
			host.queue (kBypassId, 1.0);
		else
			ASSERT_EQ (host.loadState (chunkOf (std::vector<double> (kNumParamSlots, 0.0), 1)), kResultOk);
	}
};

TEST_P (GlobalBypass, GivesTheInputDelayedByTheReportedLatencyAfterItsCrossfade)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (8000.0, 64));
	const size_t latency = host.audio->getLatencySamples ();
	ASSERT_EQ (latency, 8u);
	host.run ({std::vector<double> (2560, 0.0)}); // past the fade-in
	switchOn (host);
	host.run ({std::vector<double> (2048, 0.0)}); // past the 250 ms crossfade

	std::vector<double> signal (256);
	for (size_t i = 0; i < signal.size (); ++i)
		signal[i] = std::sin (0.05 * static_cast<double> (i * i)) * (i < 200 ? 1.0 : 0.0);
	Channels out = host.run ({signal, std::vector<double> (256, 0.0)});
	for (size_t n = 0; n < signal.size (); ++n)
	{
		ASSERT_NEAR (out[0][n], n < latency ? 0.0 : signal[n - latency], 1e-12) << n;
		ASSERT_NEAR (out[1][n], 0.0, 1e-12) << n;
	}
}

INSTANTIATE_TEST_SUITE_P (Routes, GlobalBypass, testing::Values (Route::Queue, Route::State),
                          [] (const testing::TestParamInfo<Route>& info) {
	                          return info.param == Route::Queue ? std::string ("Queue") : std::string ("State");
                          });

TEST (GlobalBypass, RestoredBeforeActivationHoldsFromTheFirstSample)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_EQ (host.loadState (chunkOf (std::vector<double> (kNumParamSlots, 0.0), 1)), kResultOk);
	ASSERT_TRUE (host.start (8000.0, 64));
	const size_t latency = host.audio->getLatencySamples ();
	// A step: the faded input comes out only after the latency, with no crossfade from the effect.
	Channels out = host.run ({std::vector<double> (512, 1.0)});
	const double step = 1.0 / (300.0 * 8.0);
	for (size_t n = 0; n < out[0].size (); ++n)
		ASSERT_NEAR (out[0][n], n < latency ? 0.0 : static_cast<double> (n - latency) * step, 1e-9) << n;
}

TEST (State, RestoredWhileActiveReachesTheGraphAtTheNextProcessCall)
{
	ProcessorHost host (new BareProcessor);
	ASSERT_TRUE (host.start (44100.0, 64));
	host.settle ();
	ASSERT_FALSE (host.givesTheInputDelayedByTheLatency ());
	ASSERT_EQ (host.loadState (chunkOf (std::vector<double> (kNumParamSlots, 0.0), 1)), kResultOk);
	EXPECT_EQ (host.state ()[kChunkSize - 4], 1); // already what will be in force
	host.settle ();
	EXPECT_TRUE (host.givesTheInputDelayedByTheLatency ());
}

} // namespace
