#pragma once

#include "GraphHarness.h"

#include <complex>
#include <vector>

namespace BlocksCTest {

using namespace BlocksBTest;

constexpr double kPi = 3.14159265358979323846;

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

// Values as the 32-bit form sees them, so both forms start from the same input.
inline std::vector<double> roundedToFloat (std::vector<double> s)
{
	for (double& v : s)
		v = static_cast<double> (static_cast<float> (v));
	return s;
}

} // namespace BlocksCTest
