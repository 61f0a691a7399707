#include "plugin/processor/ParamExchange.h"

#include <thread>

namespace Steinberg {
namespace Vst {

ParamExchange::ParamExchange (int32 numSlots)
: slot (numSlots)
, count (slot.getCount ())
, mirror (new std::atomic<ParamValue>[static_cast<size_t> (count)])
{
	for (int32 i = 0; i < count; ++i)
		mirror[static_cast<size_t> (i)].store (0.0, std::memory_order_relaxed);
}

void ParamExchange::post (const PlugParamState& values)
{
	for (;;)
	{
		int32 expected = slotState.load (std::memory_order_relaxed);
		if (expected != kReading &&
		    slotState.compare_exchange_weak (expected, kWriting, std::memory_order_acquire))
			break;
		std::this_thread::yield ();
	}
	slot.assign (values);
	slotState.store (kFull, std::memory_order_release);
}

bool ParamExchange::take (PlugParamState& target)
{
	int32 expected = kFull;
	if (!slotState.compare_exchange_strong (expected, kReading, std::memory_order_acquire))
		return false;
	target.assign (slot);
	mirrorAll (target);
	slotState.store (kEmpty, std::memory_order_release);
	return true;
}

void ParamExchange::mirrorValue (int32 index, ParamValue value)
{
	if (index >= 0 && index < count)
		mirror[static_cast<size_t> (index)].store (value, std::memory_order_relaxed);
}

void ParamExchange::mirrorBypass (bool state)
{
	mirroredBypass.store (state, std::memory_order_relaxed);
}

void ParamExchange::mirrorAll (const PlugParamState& values)
{
	for (int32 i = 0; i < count; ++i)
		mirrorValue (i, values.getValue (i));
	mirrorBypass (values.getBypass ());
}

void ParamExchange::latest (PlugParamState& target) const
{
	const int32 state = slotState.load (std::memory_order_acquire);
	if (state == kFull || state == kReading)
	{
		target.assign (slot);
		return;
	}
	for (int32 i = 0; i < count; ++i)
		target.setValue (i, mirror[static_cast<size_t> (i)].load (std::memory_order_relaxed));
	target.setBypass (mirroredBypass.load (std::memory_order_relaxed));
}

} // namespace Vst
} // namespace Steinberg
