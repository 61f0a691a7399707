// The parameter points of one process call, handed out in the order of their sample offsets.
#pragma once

#include "pluginterfaces/vst/ivstparameterchanges.h"

#include <algorithm>
#include <vector>

namespace Steinberg {
namespace Vst {

/** Walks the host's queues in step with the audio, one cursor per value slot, so that each point
    takes effect at its own sample. Offsets are clamped into the call, and a point whose offset
    lies before one already handed out takes effect at once. The cursors are allocated at
    construction; a call allocates nothing. */
class ParamPointSchedule
{
public:
	explicit ParamPointSchedule (int32 numSlots);

	/** Forgets the queues of the last call; the points of this one lie in 0 ... numSamples - 1
	    (all at 0 for a call without samples). */
	void begin (int32 numSamples);
	/** The queue whose points go to slot; a second queue for a slot, or a slot out of range, is
	    ignored. */
	void add (int32 slot, IParamValueQueue* queue);
	/** The offset of the earliest point not yet handed out; the call's length when none is left. */
	int32 nextOffset () const;
	/** Hands every point due at offset or before to apply (tag, value), each queue's in order. */
	template <typename Apply>
	void takeDue (int32 offset, Apply&& apply);

private:
	struct Cursor
	{
		IParamValueQueue* queue {nullptr};
		ParamID tag {0};
		int32 next {0};
		int32 count {0};
		// The point at next, once read.
		int32 offset {0};
		ParamValue value {0.0};
	};

	/** Reads the next readable point of the cursor's queue; a point that cannot be read is skipped. */
	void advance (Cursor& cursor) const;
	bool hasPoint (const Cursor& cursor) const { return cursor.queue && cursor.next < cursor.count; }

	std::vector<Cursor> cursors;
	int32 lastOffset {0};
	int32 length {0};
};

template <typename Apply>
void ParamPointSchedule::takeDue (int32 offset, Apply&& apply)
{
	for (Cursor& cursor : cursors)
	{
		while (hasPoint (cursor) && cursor.offset <= offset)
		{
			apply (cursor.tag, cursor.value);
			++cursor.next;
			advance (cursor);
		}
	}
}

} // namespace Vst
} // namespace Steinberg
