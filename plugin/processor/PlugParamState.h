// The record of the plug-in's normalized parameter values and the codec of its state chunk.
#pragma once

#include "pluginterfaces/base/ibstream.h"
#include "pluginterfaces/vst/vsttypes.h"

#include <vector>

namespace Steinberg {
namespace Vst {

/** One normalized value per slot (slot = parameter tag) and the global bypass.
    The chunk, little-endian: int64 header (written 0, ignored when read), one float64 per slot,
    int32 bypass (written 0 or 1, read as on when above 0). Values always stay within 0 to 1. */
class PlugParamState
{
public:
	explicit PlugParamState (int32 numSlots);

	int32 getCount () const { return static_cast<int32> (values.size ()); }
	/** 0.0 for a slot that does not exist. */
	ParamValue getValue (int32 slot) const;
	/** Stores sanitize (current, value); a slot that does not exist is ignored. */
	void setValue (int32 slot, ParamValue value);
	bool getBypass () const { return bypass; }
	void setBypass (bool state) { bypass = state; }
	/** Copies the values of the slots both records have, and the bypass; never allocates. */
	void assign (const PlugParamState& other);

	/** Takes a chunk only when all of it is there: otherwise kResultFalse and nothing changes.
	    Bytes after the bypass field are not read. */
	tresult readState (IBStream* stream);
	tresult writeState (IBStream* stream) const;

	/** The rule for every incoming normalized value: a non-finite one keeps the current value,
	    a finite one is clamped to 0 to 1. */
	static ParamValue sanitize (ParamValue current, ParamValue incoming);

private:
	static constexpr int64 kHeader = 0;

	std::vector<ParamValue> values;
	bool bypass = false;
};

} // namespace Vst
} // namespace Steinberg
