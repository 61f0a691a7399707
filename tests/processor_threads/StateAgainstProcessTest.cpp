// The host may restore a state on its main thread while the audio thread processes. Run under
// ThreadSanitizer (scripts/test.sh builds this target with -DVELTRANE_TSAN=ON).
#include "tests/support/ProcessorHost.h"

#include "plugin/processor/PlugProcessor.h"

#include <algorithm>
#include <thread>

using namespace veltrane_test;

namespace {

TEST (StateAgainstProcess, RestoresWithoutARaceAndTheLastOneWins)
{
	ProcessorHost host (new PlugProcessor);
	ASSERT_TRUE (host.start (44100.0, 64));
	// Values for the parameters only: the slots that belong to none are not kept.
	const Bytes bypassOn = chunkOf (std::vector<double> (kDecorrBypassId + 1, 0.75), 1);
	const Bytes bypassOff = chunkOf (std::vector<double> (kDecorrBypassId + 1, 0.25), 0);
	constexpr int kRounds = 400;

	std::thread audio ([&host] {
		for (int i = 0; i < kRounds; ++i)
		{
			host.queue (kMixId, (i % 10) / 10.0);
			host.processOnce (64);
		}
	});
	for (int i = 0; i < kRounds; ++i)
	{
		EXPECT_EQ (host.loadState (i % 2 ? bypassOn : bypassOff), kResultOk);
		const Bytes now = host.state ();
		EXPECT_EQ (now.size (), bypassOn.size ());
	}
	audio.join ();

	// The last restore (bypass on) is what the next process call puts in force; "Mix" may carry a
	// change that the audio thread received after it took the restored values.
	const Bytes last = host.state ();
	EXPECT_TRUE (std::equal (last.begin () + 16, last.end (), bypassOn.begin () + 16));
	host.settle ();
	EXPECT_TRUE (host.givesTheInputDelayedByTheLatency ());
}

} // namespace
