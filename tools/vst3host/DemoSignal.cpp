#include "tools/vst3host/DemoSignal.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace Veltrane {
namespace Host {

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kNoteSeconds = 0.25;
constexpr double kNotes[] = {220.0, 277.18, 329.63, 440.0, 329.63, 277.18};
constexpr size_t kNumNotes = sizeof kNotes / sizeof kNotes[0];

// A plucked note: two partials under an exponential decay.
double pluck (double frequency, double age)
{
	const double phase = 2 * kPi * frequency * age;
	return std::exp (-6 * age) * (0.6 * std::sin (phase) + 0.2 * std::sin (2 * phase));
}

// A noise tick on every second beat, white noise from a small linear congruential generator.
double hat (uint32_t& seed, double age)
{
	seed = seed * 1664525u + 1013904223u;
	const double white = static_cast<double> (seed >> 8) / static_cast<double> (1u << 24) * 2 - 1;
	return 0.15 * std::exp (-60 * age) * white;
}

} // namespace

AudioBuffer DemoSignal::generate (double sampleRate, double seconds)
{
	AudioBuffer audio;
	audio.sampleRate = sampleRate;
	const auto frames = static_cast<size_t> (std::max (0.0, seconds * sampleRate));
	audio.channels.assign (2, std::vector<double> (frames));
	uint32_t seed = 1;
	for (size_t n = 0; n < frames; ++n)
	{
		const double t = static_cast<double> (n) / sampleRate;
		const auto note = static_cast<size_t> (t / kNoteSeconds);
		const double age = t - static_cast<double> (note) * kNoteSeconds;
		const double centre = pluck (kNotes[note % kNumNotes], age);
		const double beatAge = std::fmod (t, 2 * kNoteSeconds);
		const double side = hat (seed, beatAge);
		audio.channels[0][n] = centre + 0.3 * side;
		audio.channels[1][n] = centre + side;
	}
	return audio;
}

} // namespace Host
} // namespace Veltrane
