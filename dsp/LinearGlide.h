#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace KOREMU {
namespace DSPLib {

using Steinberg::int32;

// A setting that moves to a new target in equal steps over a fixed number of samples, so that a
// jump becomes a short ramp. Between ramps it holds its target exactly. Its first target is
// taken at once: nothing has been produced with an earlier value.
class LinearGlide
{
public:
	// Starts a ramp of the given length from the current value when the target changes; from a
	// value that is not finite it jumps.
	void glideTo (double newTarget, int32 samples);
	// The value for the next sample.
	double next ();
	bool isGliding () const { return remaining > 0; }
	double getValue () const { return value; }

private:
	double value {0.0};
	double target {0.0};
	double step {0.0};
	int32 remaining {0};
	bool holdsValue {false};
};

} // namespace DSPLib
} // namespace KOREMU
