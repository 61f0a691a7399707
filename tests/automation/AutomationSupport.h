// What the automation tests share: test signals, renders through the built bundle with
// automation delivered the way a host does, and the measures they judge a render by.
#pragma once

#include "tests/support/Signals.h"

#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/Renderer.h"

#include "plugin/processor/PlugParamIds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <vector>

namespace automation_test {

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

constexpr double kRate = 48000.0;

inline size_t framesOf (double seconds)
{
	return static_cast<size_t> (std::lround (seconds * kRate));
}

inline AudioBuffer monoSine (double hz, double level, size_t frames)
{
	AudioBuffer audio;
	audio.sampleRate = kRate;
	audio.channels.assign (1, std::vector<double> (frames));
	for (size_t i = 0; i < frames; ++i)
		audio.channels[0][i] = level * std::sin (2.0 * M_PI * hz * static_cast<double> (i) / kRate);
	return audio;
}

// White noise, the same on every machine; its autocorrelation is one sharp peak.
inline AudioBuffer monoNoise (double level, size_t frames)
{
	AudioBuffer audio;
	audio.sampleRate = kRate;
	uint32_t seed = 20240611u;
	audio.channels.assign (1, veltrane_test::repeatableNoise (frames, seed, level));
	return audio;
}

/** A value that moves with time: the automation a host would draw. */
using Curve = std::function<double (double seconds)>;

/** Points of a curve, one at the start of every period frames from `from` up to `to`. */
inline void addPoints (std::vector<ScheduledChange>& changes, ParamID tag, const Curve& curve, size_t from,
                       size_t to, size_t period)
{
	for (size_t frame = from; frame < to; frame += period)
		changes.push_back ({frame, tag, curve (static_cast<double> (frame) / kRate)});
}

inline RenderSettings settingsWith (std::vector<std::pair<ParamID, ParamValue>> values, int32 block,
                                    int32 sampleSize = kSample32)
{
	RenderSettings settings;
	settings.sampleRate = kRate;
	settings.blockSize = block;
	settings.sampleSize = sampleSize;
	settings.parameters = std::move (values);
	return settings;
}

/** A fresh instance of the bundle's processor renders the input; the output lines up with it. */
inline AudioBuffer renderThrough (const PluginModule& module, const AudioBuffer& input, const RenderSettings& settings)
{
	PluginInstance plugin (module);
	Renderer renderer (plugin.getProcessor ());
	return renderer.render (input, settings);
}

inline double largestStep (const std::vector<double>& signal, size_t begin, size_t end)
{
	double largest = 0.0;
	for (size_t i = begin + 1; i < std::min (end, signal.size ()); ++i)
		largest = std::max (largest, std::abs (signal[i] - signal[i - 1]));
	return largest;
}

/** The largest sample-to-sample step of any channel between begin and end. */
inline double largestStep (const AudioBuffer& audio, size_t begin, size_t end)
{
	double largest = 0.0;
	for (const auto& channel : audio.channels)
		largest = std::max (largest, largestStep (channel, begin, end));
	return largest;
}

inline double largestDifference (const AudioBuffer& a, const AudioBuffer& b)
{
	double largest = 0.0;
	for (size_t c = 0; c < std::min (a.numChannels (), b.numChannels ()); ++c)
	{
		const auto& x = a.channels[c];
		const auto& y = b.channels[c];
		for (size_t i = 0; i < std::min (x.size (), y.size ()); ++i)
			largest = std::max (largest, std::abs (x[i] - y[i]));
	}
	return largest;
}

/** The first frame at which two renders differ by more than tolerance; the length when none. */
inline size_t firstDifference (const AudioBuffer& a, const AudioBuffer& b, double tolerance)
{
	size_t first = a.numFrames ();
	for (size_t c = 0; c < std::min (a.numChannels (), b.numChannels ()); ++c)
	{
		const auto& x = a.channels[c];
		const auto& y = b.channels[c];
		for (size_t i = 0; i < std::min ({first, x.size (), y.size ()}); ++i)
		{
			if (std::abs (x[i] - y[i]) > tolerance)
			{
				first = i;
				break;
			}
		}
	}
	return first;
}

/** Half the difference of a stereo render's channels: what the wet path adds. */
inline std::vector<double> sideOf (const AudioBuffer& stereo)
{
	std::vector<double> side (stereo.numFrames ());
	for (size_t i = 0; i < side.size (); ++i)
		side[i] = 0.5 * (stereo.channels[0][i] - stereo.channels[1][i]);
	return side;
}

/** The lag, 0 to maxLag frames, at which the signal in [begin, end) best matches the source. */
inline size_t strongestLag (const std::vector<double>& signal, const std::vector<double>& source, size_t begin,
                            size_t end, size_t maxLag)
{
	size_t best = 0;
	double bestMagnitude = -1.0;
	for (size_t lag = 0; lag <= maxLag && lag <= begin; ++lag)
	{
		double sum = 0.0;
		for (size_t i = begin; i < end; ++i)
			sum += signal[i] * source[i - lag];
		if (std::abs (sum) > bestMagnitude)
		{
			bestMagnitude = std::abs (sum);
			best = lag;
		}
	}
	return best;
}

} // namespace automation_test
