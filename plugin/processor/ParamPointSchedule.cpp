#include "plugin/processor/ParamPointSchedule.h"

namespace Steinberg {
namespace Vst {

ParamPointSchedule::ParamPointSchedule (int32 numSlots) : cursors (static_cast<size_t> (std::max<int32> (numSlots, 0)))
{
}

void ParamPointSchedule::begin (int32 numSamples)
{
	for (Cursor& cursor : cursors)
		cursor = Cursor {};
	length = std::max<int32> (numSamples, 0);
	lastOffset = std::max<int32> (length - 1, 0);
}

void ParamPointSchedule::add (int32 slot, IParamValueQueue* queue)
{
	if (!queue || slot < 0 || slot >= static_cast<int32> (cursors.size ()))
		return;
	Cursor& cursor = cursors[static_cast<size_t> (slot)];
	if (cursor.queue)
		return;
	cursor.queue = queue;
	cursor.tag = queue->getParameterId ();
	cursor.count = queue->getPointCount ();
	advance (cursor);
}

void ParamPointSchedule::advance (Cursor& cursor) const
{
	for (; hasPoint (cursor); ++cursor.next)
	{
		int32 offset = 0;
		ParamValue value = 0.0;
		if (cursor.queue->getPoint (cursor.next, offset, value) == kResultTrue)
		{
			cursor.offset = std::clamp (offset, 0, lastOffset);
			cursor.value = value;
			return;
		}
	}
}

int32 ParamPointSchedule::nextOffset () const
{
	int32 next = length;
	for (const Cursor& cursor : cursors)
	{
		if (hasPoint (cursor))
			next = std::min (next, cursor.offset);
	}
	return next;
}

} // namespace Vst
} // namespace Steinberg
