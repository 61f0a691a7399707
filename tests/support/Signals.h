// Test signals.
#pragma once

#include <cmath>
#include <cstdint>
#include <random>
#include <vector>

namespace veltrane_test {

constexpr double kPi = 3.14159265358979323846;

inline std::vector<double> whiteNoise (size_t frames, unsigned seed, double level = 1.0)
{
	std::mt19937 generator (seed);
	std::uniform_real_distribution<double> uniform (-level, level);
	std::vector<double> noise (frames);
	for (double& s : noise)
		s = uniform (generator);
	return noise;
}

// Uniform noise from -level to level, the same on every machine; seed runs on, so that a second
// call with it goes on with the sequence.
inline std::vector<double> repeatableNoise (size_t frames, uint32_t& seed, double level)
{
	std::vector<double> s (frames);
	for (double& v : s)
	{
		seed = seed * 1664525u + 1013904223u;
		v = (static_cast<double> (seed >> 8) / static_cast<double> (1u << 24) - 0.5) * 2.0 * level;
	}
	return s;
}

// A signal whose value names its sample, so an output shows which input it took.
inline std::vector<double> ramp (size_t frames, double scale = 1.0)
{
	std::vector<double> r (frames);
	for (size_t i = 0; i < frames; ++i)
		r[i] = scale * static_cast<double> (i + 1);
	return r;
}

inline std::vector<double> sine (size_t frames, double frequency, double sampleRate)
{
	std::vector<double> s (frames);
	for (size_t i = 0; i < frames; ++i)
		s[i] = std::sin (2.0 * kPi * frequency * static_cast<double> (i) / sampleRate);
	return s;
}

// Values as the 32-bit form sees them, so both forms start from the same input.
inline std::vector<double> roundedToFloat (std::vector<double> s)
{
	for (double& v : s)
		v = static_cast<double> (static_cast<float> (v));
	return s;
}

} // namespace veltrane_test
