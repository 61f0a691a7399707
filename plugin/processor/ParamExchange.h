// Carries parameter values between the host's main thread and the audio thread without a lock.
#pragma once

#include "plugin/processor/PlugParamState.h"

#include <atomic>
#include <memory>

namespace Steinberg {
namespace Vst {

/** A single slot for a complete set of values restored on the main thread, taken by the audio
    thread at the start of a process call, and a mirror of the values in force, which the audio
    thread keeps current for the main thread. The audio side never waits; the main side waits only
    while the audio side copies the slot. One main thread and one audio thread. */
class ParamExchange
{
public:
	explicit ParamExchange (int32 numSlots);

	/** Main thread: replaces the waiting set; a set not yet taken is dropped. */
	void post (const PlugParamState& values);
	/** Audio thread: copies the waiting set into target and mirrors it; false when none waits. */
	bool take (PlugParamState& target);
	/** Audio thread (or the main thread while nothing processes): one value is now in force. */
	void mirrorValue (int32 slot, ParamValue value);
	void mirrorBypass (bool state);
	void mirrorAll (const PlugParamState& values);
	/** Main thread: the values that will be in force, a waiting set first. */
	void latest (PlugParamState& target) const;

private:
	enum SlotState : int32
	{
		kEmpty,
		kWriting,
		kFull,
		kReading,
	};

	std::atomic<int32> slotState {kEmpty};
	PlugParamState slot;
	int32 count;
	std::unique_ptr<std::atomic<ParamValue>[]> mirror;
	std::atomic<bool> mirroredBypass {false};
};

} // namespace Vst
} // namespace Steinberg
