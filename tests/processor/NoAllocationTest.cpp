// process must not allocate: every allocation made on a thread that is counting is recorded.
#include "tests/support/AllocationCounter.h"
#include "tests/support/ProcessorHost.h"

#include "plugin/processor/PlugProcessor.h"

#include <cmath>

namespace {

using namespace veltrane_test;

long allocationsIn (ProcessorHost& host, int32 frames)
{
	const AllocationCount allocations;
	host.processOnce (frames);
	return allocations.count ();
}

TEST (Process, AllocatesNothing)
{
	for (int32 sampleSize : {kSample32, kSample64})
	{
		ProcessorHost host (new PlugProcessor);
		ASSERT_TRUE (host.start (48000.0, 128, sampleSize));
		// The counter itself must see an allocation made while counting.
		{
			const AllocationCount allocations;
			::operator delete (::operator new (sizeof (int)));
			ASSERT_EQ (allocations.count (), 1);
		}

		for (int block = 0; block < 8; ++block)
		{
			host.queue (kMixId, 0.1 * block);
			host.queue (static_cast<ParamID> (block % 9), 0.9 - 0.1 * block);
			host.queue (kBypassId, block % 2);
			host.queue (kDelayId, NAN);
			if (block == 3)
			{
				ASSERT_EQ (host.loadState (chunkOf (std::vector<double> (kNumParamSlots, 0.5), 1)), kResultOk);
			}
			host.data.inputs[0].silenceFlags = block >= 6 ? 3 : 0;
			EXPECT_EQ (allocationsIn (host, block == 5 ? 0 : 128), 0) << "block " << block;
		}
	}
}

// Points spread over the call cut it into pieces; neither the schedule nor the pieces allocate.
TEST (Process, AllocatesNothingWithPointsInsideTheCall)
{
	for (int32 sampleSize : {kSample32, kSample64})
	{
		ProcessorHost host (new PlugProcessor);
		ASSERT_TRUE (host.start (48000.0, 256, sampleSize));
		for (int block = 0; block < 8; ++block)
		{
			for (int32 offset : {3, 77, 140, 255})
			{
				host.queueAt (kDelayId, offset, 0.1 * block + offset / 1000.0);
				host.queueAt (kMixId, offset + 1, 0.9 - 0.1 * block);
				host.queueAt (kBypassId, offset / 2, (block + offset) % 2);
			}
			host.queueAt (11, 9, 0.5);
			EXPECT_EQ (allocationsIn (host, block == 5 ? 0 : 256), 0) << "block " << block;
		}
	}
}

} // namespace

namespace {

// The largest block product (N = 4096 at 192 kHz) is spread over many calls: four periods of it
// cross three completions, each with its two phases, while parameters change and a state is restored.
TEST (Process, AllocatesNothingAcrossBlockProductsAt192k)
{
	constexpr int32 kFrames = 64;
	constexpr int32 kLargestProduct = 4096;
	constexpr int32 kCalls = 4 * kLargestProduct / kFrames + 1;
	for (int32 sampleSize : {kSample32, kSample64})
	{
		ProcessorHost host (new PlugProcessor);
		ASSERT_TRUE (host.start (192000.0, kFrames, sampleSize));
		for (int32 call = 0; call < kCalls; ++call)
		{
			if (call % 16 == 0)
			{
				host.queue (kMixId, 0.3 + 0.001 * call);
				host.queue (static_cast<ParamID> ((call / 16) % 9), 0.2 + 0.002 * call);
			}
			if (call == 100)
			{
				ASSERT_EQ (host.loadState (chunkOf (std::vector<double> (kNumParamSlots, 0.5), 1)), kResultOk);
			}
			ASSERT_EQ (allocationsIn (host, kFrames), 0) << "call " << call;
		}
	}
}

} // namespace
