#include "plugin/processor/PlugParamState.h"

#include "base/source/fstreamer.h"

#include <algorithm>
#include <cmath>

namespace Steinberg {
namespace Vst {

PlugParamState::PlugParamState (int32 numSlots)
: values (static_cast<size_t> (std::max<int32> (numSlots, 0)), 0.0)
{
}

ParamValue PlugParamState::getValue (int32 slot) const
{
	if (slot < 0 || slot >= getCount ())
		return 0.0;
	return values[static_cast<size_t> (slot)];
}

void PlugParamState::setValue (int32 slot, ParamValue value)
{
	if (slot < 0 || slot >= getCount ())
		return;
	ParamValue& stored = values[static_cast<size_t> (slot)];
	stored = sanitize (stored, value);
}

void PlugParamState::assign (const PlugParamState& other)
{
	const size_t shared = std::min (values.size (), other.values.size ());
	std::copy_n (other.values.begin (), shared, values.begin ());
	bypass = other.bypass;
}

ParamValue PlugParamState::sanitize (ParamValue current, ParamValue incoming)
{
	if (!std::isfinite (incoming))
		return current;
	return std::clamp (incoming, 0.0, 1.0);
}

tresult PlugParamState::readState (IBStream* stream)
{
	if (!stream)
		return kResultFalse;
	IBStreamer streamer (stream, kLittleEndian);
	int64 header = 0;
	if (!streamer.readInt64 (header))
		return kResultFalse;
	std::vector<ParamValue> incoming (values.size ());
	for (ParamValue& value : incoming)
	{
		if (!streamer.readDouble (value))
			return kResultFalse;
	}
	int32 bypassField = 0;
	if (!streamer.readInt32 (bypassField))
		return kResultFalse;

	for (size_t i = 0; i < values.size (); ++i)
		values[i] = sanitize (values[i], incoming[i]);
	bypass = bypassField > 0;
	return kResultOk;
}

tresult PlugParamState::writeState (IBStream* stream) const
{
	if (!stream)
		return kResultFalse;
	IBStreamer streamer (stream, kLittleEndian);
	if (!streamer.writeInt64 (kHeader))
		return kResultFalse;
	for (ParamValue value : values)
	{
		if (!streamer.writeDouble (value))
			return kResultFalse;
	}
	if (!streamer.writeInt32 (bypass ? 1 : 0))
		return kResultFalse;
	return kResultOk;
}

} // namespace Vst
} // namespace Steinberg
