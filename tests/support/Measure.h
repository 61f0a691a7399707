// Measures of rendered signals.
#pragma once

#include "tests/support/GraphHarness.h"
#include "tests/support/Signals.h"

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstring>
#include <vector>

namespace veltrane_test {

inline double peak (const std::vector<double>& s, size_t from = 0)
{
	double p = 0.0;
	for (size_t i = from; i < s.size (); ++i)
		p = std::max (p, std::fabs (s[i]));
	return p;
}

// The amplitude of the component at frequency in signal[from ... from + count), by projection
// onto one DFT bin; exact for a steady sine when the window holds whole cycles.
inline double amplitudeAt (const std::vector<double>& signal, double frequency, double sampleRate, size_t from,
                           size_t count)
{
	std::complex<double> sum;
	for (size_t n = 0; n < count; ++n)
	{
		const double phase = 2.0 * kPi * frequency * static_cast<double> (n) / sampleRate;
		sum += signal[from + n] * std::polar (1.0, -phase);
	}
	return 2.0 * std::abs (sum) / static_cast<double> (count);
}

// The steady-state gain at frequency of channel 0 of a block, after a second of settling,
// measured over two seconds (whole cycles for any frequency given in half-hertz steps).
inline double steadyGain (GraphHarness& harness, int32 channels, double frequency, double sampleRate,
                          double polarity1 = 1.0)
{
	const size_t settle = static_cast<size_t> (sampleRate);
	const size_t window = 2 * static_cast<size_t> (sampleRate);
	const std::vector<double> s = sine (settle + window, frequency, sampleRate);
	Signal in (static_cast<size_t> (channels), s);
	if (channels > 1)
	{
		for (double& v : in[1])
			v *= polarity1;
	}
	return amplitudeAt (harness.run (in)[0], frequency, sampleRate, settle, window);
}

// The factor of a level in decibels.
inline double dbToFactor (double db)
{
	return std::pow (10.0, db / 20.0);
}

// Equal to the last bit, NaNs and signed zeros included.
inline bool sameBits (double a, double b)
{
	return std::memcmp (&a, &b, sizeof a) == 0;
}

} // namespace veltrane_test
