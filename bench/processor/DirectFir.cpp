#include "DirectFir.h"

#include <algorithm>
#include <cstdint>

DirectFir::DirectFir (size_t maxFrames) : taps (kTaps), line (kTaps - 1 + maxFrames, 0.0)
{
	uint32_t seed = 1u;
	for (double& tap : taps)
	{
		seed = seed * 1664525u + 1013904223u;
		tap = (static_cast<double> (seed >> 8) / static_cast<double> (1u << 24) - 0.5) / 32.0;
	}
}

void DirectFir::process (const double* in, double* out, size_t frames)
{
	frames = std::min (frames, line.size () - (kTaps - 1));
	std::copy (in, in + frames, line.begin () + static_cast<std::ptrdiff_t> (kTaps - 1));
	const double* h = taps.data ();
	for (size_t n = 0; n < frames; ++n)
	{
		// line[n + kTaps - 1] is the current input, line[n] the oldest one the filter reaches.
		const double* x = line.data () + n + kTaps - 1;
		double sum = 0.0;
		for (size_t k = 0; k < kTaps; ++k)
			sum += h[k] * x[-static_cast<std::ptrdiff_t> (k)];
		out[n] = sum;
	}
	std::copy (line.begin () + static_cast<std::ptrdiff_t> (frames),
	           line.begin () + static_cast<std::ptrdiff_t> (frames + kTaps - 1), line.begin ());
}
