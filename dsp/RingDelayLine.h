#pragma once

#include "dsp/DelayTap.h"
#include "dsp/FrameLoops.h"

#include <algorithm>
#include <cstdint>
#include <type_traits>
#include <vector>

namespace KOREMU {
namespace DSPLib {

using Steinberg::int32;

// The multi-channel circular sample store behind every delaying block: one float64 per channel
// and frame, a write position per channel that moves one frame down per write, and rows of read
// taps (one tap per channel and row) that read a fixed number of frames behind it.
//
// The ring keeps its own limits: counts below 1 become 1, delays are clamped to 0 ... frames - 1,
// and a channel or row out of range is ignored (write), answered with none (setTap) or with 0
// (reads). Nothing allocates after construction.
//
// Crossfade: when a crossfading tap's requested delay first differs from its current delay, the
// fade starts on that read. The current delay keeps the old value for the whole fade, so the
// second position reads at the delay in force before the change and the fade-in read at the fade's
// target; the first read returns the old-delay sample (gains 0 and 1). When the fade-in gain passes
// 1 the fade ends, the read returns the target's sample alone and the current delay takes the
// target, so no further fade starts until the requested delay differs again. A request that
// changes during a fade waits for the fade to end, and the next read fades on from the target to
// the latest request: the heard signal never jumps, and a stream of requests is followed with a
// lag of at most about one fade. A tap's placements before its first read take their delay at
// once, so a tap starts at its delay without fading in from delay 0.
class RingDelayLine
{
public:
	RingDelayLine (int32 channels, int32 frames, int32 sampleSize, double sampleRate);
	RingDelayLine (int32 channels, int32 frames, int32 sampleSize, int32 rows, double sampleRate);

	RingDelayLine (const RingDelayLine&) = delete;
	RingDelayLine& operator= (const RingDelayLine&) = delete;

	void write (int32 channel, double value);
	// Zeroes every frame unless nothing was written since the last clear; moves no position.
	void clear ();
	// Places the tap of (row, channel) delay frames from the channel's write position and returns
	// it; the pointer stays valid for the ring's life. None for a row or channel out of range.
	DelayTap* setTap (int32 delay, int32 channel, int32 step, int32 row, bool crossfade);
	// Reads at the tap, crossfading while a fade runs, and moves the tap by its step.
	// A tap that this ring has not placed reads 0.
	double readTap (DelayTap& tap);
	// Block forms with the effect of count calls of write, and of readTap with nothing written
	// between them, for the blocks whose fixed delays move through the ring a frame per sample.
	template <typename Sample>
	void writeBlock (int32 channel, const Sample* values, int32 count);
	template <typename Sample>
	void readBlock (DelayTap& tap, Sample* values, int32 count);
	// True while a read at the tap returns the sample at its delay alone: no fade runs or starts.
	bool readsSettled (const DelayTap& tap) const { return !tap.crossfade || (!tap.fading && tap.delay == tap.currentDelay); }
	// The index of the frame delay frames from the channel's write position.
	int32 frameAt (int32 delay, int32 channel) const;

	int32 clampDelay (int32 delay) const;
	int32 getFrames () const { return frames; }

private:
	bool hasChannel (int32 channel) const { return channel >= 0 && channel < channels; }
	bool hasFrame (int32 frame) const { return frame >= 0 && frame < frames; }
	bool isPlacedHere (const DelayTap& tap) const;
	double& at (int32 channel, int32 frame);
	int32 movedDown (int32 frame, int32 by) const;
	int32 fadeInPosition (const DelayTap& tap) const;
	int32 reducedStep (int32 step) const;
	double crossfaded (DelayTap& tap, double value);
	// top[0], top[-1], ... = values[0], values[1], ...: a run of frames as the ring stores them.
	template <typename Sample>
	static void storeDownwards (double* top, const Sample* values, int32 count);
	// values[0], values[1], ... = top[0], top[-1], ...
	template <typename Sample>
	static void loadDownwards (Sample* values, const double* top, int32 count);
	static void startFade (DelayTap& tap);
	static void endFade (DelayTap& tap);
	static double mixed (DelayTap& tap, double value, double second);

	int32 channels;
	int32 frames;
	int32 sampleSize;
	int32 rows;
	double fadeStep;
	bool cleared {true};
	// Channel-major: channel c's frames are samples[c * frames ... c * frames + frames - 1].
	std::vector<double> samples;
	std::vector<int32> writePositions;
	// Row-major: the tap of (row, channel) is taps[row * channels + channel].
	std::vector<DelayTap> taps;
};

// The per-sample path, inline so that the delaying blocks' sample loops keep it in registers.

inline double& RingDelayLine::at (int32 channel, int32 frame)
{
	return samples[static_cast<size_t> (channel) * static_cast<size_t> (frames) + static_cast<size_t> (frame)];
}

inline int32 RingDelayLine::clampDelay (int32 delay) const
{
	return std::clamp (delay, 0, frames - 1);
}

inline int32 RingDelayLine::movedDown (int32 frame, int32 by) const
{
	const int32 moved = frame - by;
	return moved < 0 ? moved + frames : moved;
}

inline int32 RingDelayLine::reducedStep (int32 step) const
{
	const int32 r = step % frames;
	return r < 0 ? r + frames : r;
}

inline int32 RingDelayLine::frameAt (int32 delay, int32 channel) const
{
	const int32 w = writePositions[static_cast<size_t> (std::clamp (channel, 0, channels - 1))];
	const int64_t index = static_cast<int64_t> (w) + clampDelay (delay);
	return static_cast<int32> (index >= frames ? index - frames : index);
}

inline void RingDelayLine::write (int32 channel, double value)
{
	if (!hasChannel (channel))
		return;
	int32& w = writePositions[static_cast<size_t> (channel)];
	at (channel, w) = value;
	w = movedDown (w, 1);
	cleared = false;
}

inline DelayTap* RingDelayLine::setTap (int32 delay, int32 channel, int32 step, int32 row, bool crossfade)
{
	if (!hasChannel (channel) || row < 0 || row >= rows)
		return nullptr;
	DelayTap& tap = taps[static_cast<size_t> (row) * static_cast<size_t> (channels) + static_cast<size_t> (channel)];
	tap.delay = clampDelay (delay);
	tap.step = step;
	tap.moveDown = reducedStep (step);
	if (!tap.hasBeenRead)
	{
		tap.currentDelay = tap.delay;
		tap.targetDelay = tap.delay;
	}
	tap.readPosition = frameAt (tap.delay, channel);
	tap.crossfade = crossfade;
	if (crossfade)
		tap.secondPosition = frameAt (tap.currentDelay, channel);
	return &tap;
}

inline bool RingDelayLine::isPlacedHere (const DelayTap& tap) const
{
	return hasChannel (tap.channel) && hasFrame (tap.readPosition) && (!tap.crossfade || hasFrame (tap.secondPosition));
}

// The frame at the fade's target: the second position sits at the current delay, the target
// lies (target - current) frames further from the write position.
inline int32 RingDelayLine::fadeInPosition (const DelayTap& tap) const
{
	const int32 position = tap.secondPosition + (tap.targetDelay - tap.currentDelay);
	if (position < 0)
		return position + frames;
	return position >= frames ? position - frames : position;
}

inline void RingDelayLine::startFade (DelayTap& tap)
{
	tap.fading = true;
	tap.targetDelay = tap.delay;
	tap.fadeInGain = 0.0;
	tap.fadeOutGain = 1.0;
}

inline void RingDelayLine::endFade (DelayTap& tap)
{
	tap.fading = false;
	tap.fadeInGain = 0.0;
	tap.fadeOutGain = 1.0;
	tap.currentDelay = tap.targetDelay;
}

inline double RingDelayLine::mixed (DelayTap& tap, double value, double second)
{
	const double result = value * tap.fadeInGain + second * tap.fadeOutGain;
	tap.fadeInGain += tap.fadeStep;
	tap.fadeOutGain = 1.0 - tap.fadeInGain;
	return result;
}

// value is the sample at the requested delay. While a fade runs the request may have moved on;
// the fade still mixes its own target, which the read position no longer marks.
inline double RingDelayLine::crossfaded (DelayTap& tap, double value)
{
	if (!tap.fading)
	{
		if (tap.delay == tap.currentDelay)
			return value;
		startFade (tap);
		return mixed (tap, value, at (tap.channel, tap.secondPosition));
	}
	const double target = at (tap.channel, fadeInPosition (tap));
	if (tap.fadeInGain > 1.0)
	{
		endFade (tap);
		return target;
	}
	return mixed (tap, target, at (tap.channel, tap.secondPosition));
}

inline double RingDelayLine::readTap (DelayTap& tap)
{
	if (!isPlacedHere (tap))
		return 0.0;
	double value = at (tap.channel, tap.readPosition);
	if (tap.crossfade)
		value = crossfaded (tap, value);
	else
		tap.currentDelay = tap.delay;
	tap.readPosition = movedDown (tap.readPosition, tap.moveDown);
	if (tap.crossfade)
		tap.secondPosition = movedDown (tap.secondPosition, tap.moveDown);
	tap.hasBeenRead = true;
	return value;
}

template <typename Sample>
inline void RingDelayLine::storeDownwards (double* top, const Sample* values, int32 count)
{
	int32 k = 0;
	if constexpr (std::is_same_v<Sample, double>)
	{
		for (; k + 2 <= count; k += 2)
			FrameLoops::storeSwapped (top - k - 1, values + k);
	}
	for (; k < count; ++k)
		top[-k] = static_cast<double> (values[k]);
}

template <typename Sample>
inline void RingDelayLine::loadDownwards (Sample* values, const double* top, int32 count)
{
	int32 k = 0;
	if constexpr (std::is_same_v<Sample, double>)
	{
		for (; k + 2 <= count; k += 2)
			FrameLoops::storeSwapped (values + k, top - k - 1);
	}
	for (; k < count; ++k)
		values[k] = static_cast<Sample> (top[-k]);
}

template <typename Sample>
inline void RingDelayLine::writeBlock (int32 channel, const Sample* values, int32 count)
{
	if (!hasChannel (channel) || count <= 0)
		return;
	int32& w = writePositions[static_cast<size_t> (channel)];
	double* line = &at (channel, 0);
	// Each run moves down from w to frame 0 at most; the next starts again at the last frame.
	for (int32 done = 0; done < count;)
	{
		const int32 run = std::min (count - done, w + 1);
		storeDownwards (line + w, values + done, run);
		done += run;
		w = movedDown (w, run);
	}
	cleared = false;
}

template <typename Sample>
inline void RingDelayLine::readBlock (DelayTap& tap, Sample* values, int32 count)
{
	if (count <= 0)
		return;
	if (!isPlacedHere (tap) || !readsSettled (tap) || tap.moveDown != 1)
	{
		for (int32 k = 0; k < count; ++k)
			values[k] = static_cast<Sample> (readTap (tap));
		return;
	}
	const double* line = &at (tap.channel, 0);
	for (int32 done = 0; done < count;)
	{
		const int32 run = std::min (count - done, tap.readPosition + 1);
		loadDownwards (values + done, line + tap.readPosition, run);
		done += run;
		tap.readPosition = movedDown (tap.readPosition, run);
	}
	// A settled crossfading tap's second position sits at the same delay and moves with it.
	if (tap.crossfade)
		tap.secondPosition = movedDown (tap.secondPosition, count % frames);
	else
		tap.currentDelay = tap.delay;
	tap.hasBeenRead = true;
}

} // namespace DSPLib
} // namespace KOREMU
