#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace KOREMU {
namespace DSPLib {

// One read tap of a RingDelayLine: reads a fixed number of frames behind its channel's write
// position and, with crossfade on, fades over 0.4 s when that number changes.
// Positions are frame indices into the ring; -1 until the ring first places the tap.
struct DelayTap
{
	static constexpr Steinberg::int32 kUnplaced = -1;

	Steinberg::int32 row {0};
	Steinberg::int32 channel {0};
	Steinberg::int32 delay {0};
	Steinberg::int32 step {1};
	Steinberg::int32 readPosition {kUnplaced};
	Steinberg::int32 secondPosition {kUnplaced};
	bool crossfade {false};
	double fadeInGain {0.0};
	double fadeOutGain {1.0};
	double fadeStep {0.0};
	bool fading {false};
	// The delay in force: the second position sits this far from the write position.
	Steinberg::int32 currentDelay {0};
	// The delay a running fade heads for.
	Steinberg::int32 targetDelay {0};
	// False until the first read; the placements before it take their delay without a fade.
	bool hasBeenRead {false};
	// The step reduced into the ring, as a move towards lower indices: 0 to frames - 1.
	Steinberg::int32 moveDown {1};
};

} // namespace DSPLib
} // namespace KOREMU
