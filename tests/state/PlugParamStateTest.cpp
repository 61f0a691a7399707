#include "plugin/processor/PlugParamIds.h"
#include "plugin/processor/PlugParamState.h"

#include "public.sdk/source/common/memorystream.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <cmath>
#include <cstring>
#include <limits>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

using Bytes = std::vector<uint8_t>;
// The stored chunk hosts keep: an int64 header, 14 float64 values and an int32 bypass flag.
constexpr int32 kChunkSize = 124;

Bytes chunkOf (const PlugParamState& state)
{
	MemoryStream stream;
	EXPECT_EQ (state.writeState (&stream), kResultOk);
	const auto* data = reinterpret_cast<const uint8_t*> (stream.getData ());
	return Bytes (data, data + stream.getSize ());
}

tresult readChunk (PlugParamState& state, Bytes bytes)
{
	MemoryStream stream (bytes.data (), static_cast<TSize> (bytes.size ()));
	return state.readState (&stream);
}

void putLE (Bytes& bytes, size_t offset, uint64_t value, size_t width)
{
	for (size_t i = 0; i < width; ++i)
		bytes[offset + i] = static_cast<uint8_t> (value >> (8 * i));
}

uint64_t bitsOf (double value)
{
	uint64_t bits;
	std::memcpy (&bits, &value, sizeof bits);
	return bits;
}

void putDouble (Bytes& bytes, int32 slot, double value)
{
	putLE (bytes, 8 + 8 * static_cast<size_t> (slot), bitsOf (value), 8);
}

void putBypassField (Bytes& bytes, int32 field)
{
	putLE (bytes, 8 + 8 * kNumParamSlots, static_cast<uint32_t> (field), 4);
}

/** A chunk whose slot i holds (i + 1) / 16 and whose bypass field is 1. */
Bytes distinctChunk ()
{
	Bytes bytes (kChunkSize, 0);
	for (int32 i = 0; i < kNumParamSlots; ++i)
		putDouble (bytes, i, (i + 1) / 16.0);
	putBypassField (bytes, 1);
	return bytes;
}

/** A record that differs from distinctChunk everywhere. */
PlugParamState presetRecord ()
{
	PlugParamState state (kNumParamSlots);
	for (int32 i = 0; i < kNumParamSlots; ++i)
		state.setValue (i, 0.75);
	return state;
}

/** An IBStream that takes at most `capacity` bytes, as a full disk would. */
class LimitedStream : public IBStream
{
public:
	explicit LimitedStream (int32 capacity) : capacity (capacity) {}
	tresult PLUGIN_API read (void*, int32, int32* numBytesRead) override
	{
		if (numBytesRead)
			*numBytesRead = 0;
		return kResultFalse;
	}
	tresult PLUGIN_API write (void*, int32 numBytes, int32* numBytesWritten) override
	{
		const int32 taken = std::min (numBytes, capacity - written);
		written += taken;
		if (numBytesWritten)
			*numBytesWritten = taken;
		return taken == numBytes ? kResultOk : kResultFalse;
	}
	tresult PLUGIN_API seek (int64, int32, int64*) override { return kNotImplemented; }
	tresult PLUGIN_API tell (int64* pos) override
	{
		*pos = written;
		return kResultOk;
	}
	tresult PLUGIN_API queryInterface (const TUID, void**) override { return kNoInterface; }
	uint32 PLUGIN_API addRef () override { return 1; }
	uint32 PLUGIN_API release () override { return 1; }

	int32 written = 0;

private:
	int32 capacity;
};

} // namespace

TEST (PlugParamState, ChunkOfMixAndShiftDefaultsHasTheStoredLayout)
{
	PlugParamState state (kNumParamSlots);
	state.setValue (kMixId, 0.5);
	state.setValue (kShiftId, 0.1);
	const Bytes chunk = chunkOf (state);

	ASSERT_EQ (chunk.size (), 124u);
	EXPECT_EQ (Bytes (chunk.begin (), chunk.begin () + 8), Bytes (8, 0));
	EXPECT_EQ (Bytes (chunk.begin () + 8, chunk.begin () + 16),
	           (Bytes {0x00, 0x00, 0x00, 0x00, 0x00, 0x00, 0xE0, 0x3F}));
	EXPECT_EQ (Bytes (chunk.begin () + 16, chunk.begin () + 24),
	           (Bytes {0x9A, 0x99, 0x99, 0x99, 0x99, 0x99, 0xB9, 0x3F}));
	EXPECT_EQ (Bytes (chunk.begin () + 24, chunk.end () - 4), Bytes (96, 0));
	EXPECT_EQ (Bytes (chunk.end () - 4, chunk.end ()), Bytes (4, 0));
}

TEST (PlugParamState, WriteThenReadReproducesEveryValueBitForBit)
{
	const double values[kNumParamSlots] = {0.1,  1.0 / 3.0, 0.0, 1.0,
	                                       std::numeric_limits<double>::denorm_min (),
	                                       std::nextafter (1.0, 0.0), 0.5, 0.123456789012345,
	                                       1e-300, 0.9, 0.2, 0.3, 0.7, 2.0 / 3.0};
	PlugParamState source (kNumParamSlots);
	for (int32 i = 0; i < kNumParamSlots; ++i)
		source.setValue (i, values[i]);
	source.setBypass (true);

	PlugParamState copy (kNumParamSlots);
	ASSERT_EQ (readChunk (copy, chunkOf (source)), kResultOk);
	for (int32 i = 0; i < kNumParamSlots; ++i)
		EXPECT_EQ (bitsOf (copy.getValue (i)), bitsOf (values[i])) << "slot " << i;
	EXPECT_TRUE (copy.getBypass ());
	EXPECT_EQ (chunkOf (copy), chunkOf (source));
}

class ShortChunk : public testing::TestWithParam<size_t>
{
};

TEST_P (ShortChunk, IsRefusedAndChangesNothing)
{
	Bytes bytes = distinctChunk ();
	bytes.resize (GetParam ());
	PlugParamState state = presetRecord ();
	const Bytes before = chunkOf (state);

	EXPECT_EQ (readChunk (state, bytes), kResultFalse);
	EXPECT_EQ (chunkOf (state), before);
	EXPECT_FALSE (state.getBypass ());
}

// Empty, inside the header, inside the values, without the bypass field, inside the bypass field.
INSTANTIATE_TEST_SUITE_P (PlugParamState, ShortChunk,
                          testing::Values (0u, 7u, 8u, 60u, 119u, 120u, 123u));

TEST (PlugParamState, LongerChunkReadsLikeItsFirst124Bytes)
{
	Bytes bytes = distinctChunk ();
	bytes.resize (130, 0xFF);
	PlugParamState state = presetRecord ();

	ASSERT_EQ (readChunk (state, bytes), kResultOk);
	for (int32 i = 0; i < kNumParamSlots; ++i)
		EXPECT_EQ (state.getValue (i), (i + 1) / 16.0) << "slot " << i;
	EXPECT_TRUE (state.getBypass ());
}

TEST (PlugParamState, NullStreamIsRefused)
{
	PlugParamState state = presetRecord ();
	EXPECT_EQ (state.readState (nullptr), kResultFalse);
	EXPECT_EQ (state.writeState (nullptr), kResultFalse);
	EXPECT_EQ (state.getValue (0), 0.75);
}

TEST (PlugParamState, AnyHeaderIsAcceptedAndWrittenBackAsZero)
{
	for (uint64_t header : {uint64_t {1}, uint64_t {0x7FFFFFFFFFFFFFFF}, ~uint64_t {0}})
	{
		Bytes bytes = distinctChunk ();
		putLE (bytes, 0, header, 8);
		PlugParamState state (kNumParamSlots);
		EXPECT_EQ (readChunk (state, bytes), kResultOk) << header;
		const Bytes written = chunkOf (state);
		EXPECT_EQ (Bytes (written.begin (), written.begin () + 8), Bytes (8, 0));
	}
}

struct BypassCase
{
	int32 field;
	bool on;
};

std::ostream& operator<< (std::ostream& os, const BypassCase& c)
{
	return os << "field " << c.field;
}

class BypassField : public testing::TestWithParam<BypassCase>
{
};

TEST_P (BypassField, ReadsAsOnWhenPositiveAndWritesBackZeroOrOne)
{
	Bytes bytes = distinctChunk ();
	putBypassField (bytes, GetParam ().field);
	PlugParamState state (kNumParamSlots);
	state.setBypass (!GetParam ().on);

	ASSERT_EQ (readChunk (state, bytes), kResultOk);
	EXPECT_EQ (state.getBypass (), GetParam ().on);
	const Bytes written = chunkOf (state);
	EXPECT_EQ (Bytes (written.end () - 4, written.end ()),
	           (Bytes {static_cast<uint8_t> (GetParam ().on ? 1 : 0), 0, 0, 0}));
}

INSTANTIATE_TEST_SUITE_P (PlugParamState, BypassField,
                          testing::Values (BypassCase {-1, false}, BypassCase {0, false},
                                           BypassCase {1, true}, BypassCase {2, true},
                                           BypassCase {std::numeric_limits<int32>::min (), false},
                                           BypassCase {std::numeric_limits<int32>::max (), true}));

struct SanitizeCase
{
	double incoming;
	double expected; // of a slot currently at 0.75
};

std::ostream& operator<< (std::ostream& os, const SanitizeCase& c)
{
	return os << "incoming " << c.incoming;
}

class IncomingValue : public testing::TestWithParam<SanitizeCase>
{
};

TEST_P (IncomingValue, NonFiniteKeepsCurrentAndFiniteIsClamped)
{
	const auto [incoming, expected] = GetParam ();
	EXPECT_EQ (PlugParamState::sanitize (0.75, incoming), expected);

	PlugParamState direct = presetRecord ();
	direct.setValue (kDelayId, incoming);
	EXPECT_EQ (direct.getValue (kDelayId), expected);

	Bytes bytes = distinctChunk ();
	putDouble (bytes, kDelayId, incoming);
	PlugParamState read = presetRecord ();
	ASSERT_EQ (readChunk (read, bytes), kResultOk);
	EXPECT_EQ (read.getValue (kDelayId), expected);
	EXPECT_EQ (read.getValue (kMixId), 1 / 16.0);
}

INSTANTIATE_TEST_SUITE_P (
    PlugParamState, IncomingValue,
    testing::Values (SanitizeCase {std::numeric_limits<double>::quiet_NaN (), 0.75},
                     SanitizeCase {std::numeric_limits<double>::infinity (), 0.75},
                     SanitizeCase {-std::numeric_limits<double>::infinity (), 0.75},
                     SanitizeCase {1.5, 1.0}, SanitizeCase {-0.5, 0.0},
                     SanitizeCase {std::numeric_limits<double>::max (), 1.0},
                     SanitizeCase {0.25, 0.25}, SanitizeCase {0.0, 0.0}, SanitizeCase {1.0, 1.0}));

TEST (PlugParamState, SlotsOutsideTheRecordAreIgnored)
{
	PlugParamState state (kNumParamSlots);
	state.setValue (-1, 0.5);
	state.setValue (kNumParamSlots, 0.5);
	state.setValue (kBypassId, 0.5);
	EXPECT_EQ (state.getValue (-1), 0.0);
	EXPECT_EQ (state.getValue (kNumParamSlots), 0.0);
	EXPECT_EQ (chunkOf (state), Bytes (kChunkSize, 0));
}

TEST (PlugParamState, WriteReportsAStreamThatTakesTooLittle)
{
	const PlugParamState state (kNumParamSlots);
	for (int32 capacity : {0, 4, 60, 120, 123})
	{
		LimitedStream stream (capacity);
		EXPECT_EQ (state.writeState (&stream), kResultFalse) << capacity;
	}
	LimitedStream roomy (kChunkSize);
	EXPECT_EQ (state.writeState (&roomy), kResultOk);
	EXPECT_EQ (roomy.written, kChunkSize);
}
