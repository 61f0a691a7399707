#pragma once

#include <cmath>

namespace KOREMU {
namespace DSPLib {

// The Lorenz system integrated with the explicit Euler method, one step per sample.
// The step is limited to 0 .. kMaxStep: backwards in time the flow expands without bound,
// and above about 0.025 the Euler step leaves the attractor. A state that is no longer
// finite starts again from (1, 1, 1).
class LorenzAttractor
{
public:
	// 2.5 times below the step at which Euler leaves the attractor from (1, 1, 1); at this step
	// the attractor is only about 4 % wider than with a fine step.
	static constexpr double kMaxStep = 0.01;

	static constexpr double kSigma = 10.0;
	static constexpr double kRho = 28.0;
	static constexpr double kBeta = static_cast<double> (2.666f);
	// Maps x (about +-20 on the attractor) into about +-1.
	static constexpr double kOutputScale = static_cast<double> (0.05107f);

	// The limited step: NaN and negative steps give 0, so the state stands still.
	static double limitStep (double dt);

	void setStep (double dt) { step = limitStep (dt); }
	// Inline: the modulators advance at every sample.
	void advance ()
	{
		dx = kSigma * (y - x);
		dy = x * (kRho - z) - y;
		dz = x * y - kBeta * z;
		x += step * dx;
		y += step * dy;
		z += step * dz;
		if (!isFinite ())
			restart ();
	}
	// Inline as well: a call would take the state's address and keep it in memory through the
	// modulators' sample loops.
	void restart ()
	{
		x = y = z = 1.0;
		dx = dy = dz = 0.0;
	}

	double getX () const { return x; }
	double getY () const { return y; }

private:
	bool isFinite () const { return std::isfinite (x) && std::isfinite (y) && std::isfinite (z); }

	double x {1.0};
	double y {1.0};
	double z {1.0};
	double dx {0.0};
	double dy {0.0};
	double dz {0.0};
	double step {0.0};
};

} // namespace DSPLib
} // namespace KOREMU
