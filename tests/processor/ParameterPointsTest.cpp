// Points of the host's parameter queues take effect at their own sample within a process call.
#include "tests/support/BareProcessor.h"
#include "tests/support/WetPathProcessor.h"
#include "tests/support/ProcessorHost.h"
#include "tests/support/Signals.h"

#include "plugin/processor/PlugBlockIds.h"
#include "plugin/processor/PlugParameters.h"
#include "plugin/processor/PlugProcessor.h"

#include "dsp/Delay.h"
#include "dsp/DSPFunction.h"

#include <cmath>
#include <cstdint>

using namespace veltrane_test;

namespace {

constexpr int32 kBlock = 64;

// Noise past the 300 ms fade-in at 44.1 kHz, then one more block.
Channels warmUpNoise ()
{
	uint32_t seed = 99;
	Channels noise;
	for (int channel = 0; channel < 2; ++channel)
		noise.push_back (repeatableNoise (13312, seed, 0.5));
	return noise;
}

struct OffsetCase
{
	int32 sent;
	size_t takesEffectAt;
};

std::ostream& operator<< (std::ostream& os, const OffsetCase& c)
{
	return os << "offset " << c.sent;
}

class PointOffsets : public testing::TestWithParam<OffsetCase>
{
};

// The global bypass starts its crossfade at the point: the fade's first sample still carries the
// old gains, and from the next one on the output departs from that of an unchanged processor.
// Offsets outside the call are clamped into it.
TEST_P (PointOffsets, TakeEffectAtTheirSampleClampedIntoTheCall)
{
	ProcessorHost changed (new BareProcessor);
	ProcessorHost unchanged (new BareProcessor);
	ASSERT_TRUE (changed.start (44100.0, kBlock));
	ASSERT_TRUE (unchanged.start (44100.0, kBlock));
	const Channels noise = warmUpNoise ();
	changed.run (noise);
	unchanged.run (noise);

	changed.queueAt (kBypassId, GetParam ().sent, 1.0);
	const Channels a = changed.run (noise);
	const Channels b = unchanged.run (noise);
	const auto departs = [&] (size_t i) {
		return std::abs (a[0][i] - b[0][i]) > 1e-9 || std::abs (a[1][i] - b[1][i]) > 1e-9;
	};
	size_t first = 0;
	while (first < a[0].size () && !departs (first))
		++first;
	EXPECT_EQ (first, GetParam ().takesEffectAt + 1);
}

INSTANTIATE_TEST_SUITE_P (ParameterPoints, PointOffsets,
                          testing::Values (OffsetCase {0, 0}, OffsetCase {17, 17}, OffsetCase {kBlock - 1, kBlock - 1},
                                           OffsetCase {-5, 0}, OffsetCase {1000, kBlock - 1}));

TEST (ParameterPoints, ACallWithoutSamplesAppliesEveryPointInOrder)
{
	auto* processor = new WetPathProcessor;
	ProcessorHost host (processor);
	ASSERT_TRUE (host.start (44100.0, kBlock));
	host.queueAt (kDelayId, 30, 0.6);
	host.queueAt (kDelayId, 0, 0.2);
	host.queueAt (kDelayId, 10, 0.4);
	host.processOnce (0);
	EXPECT_EQ (valueInChunk (host.state (), kDelayId), 0.6);
	EXPECT_DOUBLE_EQ (processor->wetBlockValue (kBlockDelay, KOREMU::DSPLib::Delay::kDelayMsParam),
	                  curveOf (ParamTarget::kDelayMs).at (0.6));
}

// Tags 9 to 13 have value slots but name no parameter; neither they nor any other unknown id
// reach the record, from a queue or from a chunk.
TEST (ParameterPoints, IdsThatNameNoParameterAreIgnored)
{
	ProcessorHost host (new PlugProcessor);
	ASSERT_TRUE (host.start (44100.0, kBlock));
	const Bytes before = host.state ();
	for (ParamID tag : {9u, 10u, 11u, 12u, 13u, 20u, 999999u, 1000001u})
		host.queueAt (tag, 5, 0.7);
	host.processOnce (kBlock);
	EXPECT_EQ (host.state (), before);

	ASSERT_EQ (host.loadState (chunkOf (std::vector<double> (kNumParamSlots, 0.7), 0)), kResultOk);
	host.processOnce (0);
	const Bytes restored = host.state ();
	for (int32 slot = 0; slot < kNumParamSlots; ++slot)
		EXPECT_EQ (valueInChunk (restored, slot), slot <= static_cast<int32> (kDecorrBypassId) ? 0.7 : 0.0) << slot;
}

} // namespace
