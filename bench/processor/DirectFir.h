// The yardstick the processor's cost is measured against: a 1024-tap FIR filter on float64, computed
// directly, one multiply-add per tap and sample, compiled at -O2.
#pragma once

#include <cstddef>
#include <vector>

class DirectFir
{
public:
	static constexpr size_t kTaps = 1024;

	// Taps from a fixed pseudo-random sequence; blocks of up to maxFrames samples.
	explicit DirectFir (size_t maxFrames);

	// Filters frames (at most maxFrames) samples of in into out, carrying the history across calls.
	void process (const double* in, double* out, size_t frames);

private:
	std::vector<double> taps;
	// The last kTaps - 1 inputs, then room for a block.
	std::vector<double> line;
};
