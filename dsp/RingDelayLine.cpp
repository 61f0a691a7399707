#include "dsp/RingDelayLine.h"

#include <algorithm>
#include <cmath>
#include <cstdint>

namespace KOREMU {
namespace DSPLib {

namespace {

// 2.5 steps per second: a fade lasts 0.4 s.
double fadeStepFor (double sampleRate)
{
	return std::isfinite (sampleRate) && sampleRate > 0.0 ? 2.5 / sampleRate : 1.0;
}

} // namespace

RingDelayLine::RingDelayLine (int32 channels, int32 frames, int32 sampleSize, double sampleRate)
: RingDelayLine (channels, frames, sampleSize, 1, sampleRate)
{
}

RingDelayLine::RingDelayLine (int32 numChannels, int32 numFrames, int32 sampleSize, int32 numRows,
                              double sampleRate)
: channels (std::max (numChannels, 1))
, frames (std::max (numFrames, 1))
, sampleSize (sampleSize)
, rows (std::max (numRows, 0))
, fadeStep (fadeStepFor (sampleRate))
, samples (static_cast<size_t> (channels) * static_cast<size_t> (frames), 0.0)
, writePositions (static_cast<size_t> (channels), 0)
, taps (static_cast<size_t> (rows) * static_cast<size_t> (channels))
{
	for (int32 r = 0; r < rows; ++r)
	{
		for (int32 c = 0; c < channels; ++c)
		{
			DelayTap& tap = taps[static_cast<size_t> (r) * static_cast<size_t> (channels) + static_cast<size_t> (c)];
			tap.row = r;
			tap.channel = c;
			tap.fadeStep = fadeStep;
		}
	}
}

double& RingDelayLine::at (int32 channel, int32 frame)
{
	return samples[static_cast<size_t> (channel) * static_cast<size_t> (frames) + static_cast<size_t> (frame)];
}

double RingDelayLine::sampleAt (int32 frame, int32 channel) const
{
	if (!hasChannel (channel) || !hasFrame (frame))
		return 0.0;
	return samples[static_cast<size_t> (channel) * static_cast<size_t> (frames) + static_cast<size_t> (frame)];
}

int32 RingDelayLine::getWritePosition (int32 channel) const
{
	return hasChannel (channel) ? writePositions[static_cast<size_t> (channel)] : 0;
}

int32 RingDelayLine::clampDelay (int32 delay) const
{
	return std::clamp (delay, 0, frames - 1);
}

int32 RingDelayLine::movedDown (int32 frame, int32 by) const
{
	const int32 moved = frame - by;
	return moved < 0 ? moved + frames : moved;
}

int32 RingDelayLine::reducedStep (int32 step) const
{
	const int32 r = step % frames;
	return r < 0 ? r + frames : r;
}

int32 RingDelayLine::frameAt (int32 delay, int32 channel) const
{
	const int32 w = writePositions[static_cast<size_t> (std::clamp (channel, 0, channels - 1))];
	const int64_t index = static_cast<int64_t> (w) + clampDelay (delay);
	return static_cast<int32> (index >= frames ? index - frames : index);
}

void RingDelayLine::write (int32 channel, double value)
{
	if (!hasChannel (channel))
		return;
	int32& w = writePositions[static_cast<size_t> (channel)];
	at (channel, w) = value;
	w = movedDown (w, 1);
	cleared = false;
}

void RingDelayLine::clear ()
{
	if (cleared)
		return;
	std::fill (samples.begin (), samples.end (), 0.0);
	cleared = true;
}

DelayTap* RingDelayLine::setTap (int32 delay, int32 channel, int32 step, int32 row, bool crossfade)
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

bool RingDelayLine::isPlacedHere (const DelayTap& tap) const
{
	return hasChannel (tap.channel) && hasFrame (tap.readPosition) && (!tap.crossfade || hasFrame (tap.secondPosition));
}

void RingDelayLine::restartFade (DelayTap& tap, int32 target)
{
	tap.fading = true;
	tap.targetDelay = target;
	tap.fadeInGain = 0.0;
	tap.fadeOutGain = 1.0;
}

double RingDelayLine::mixed (DelayTap& tap, double value, double second)
{
	const double result = value * tap.fadeInGain + second * tap.fadeOutGain;
	tap.fadeInGain += tap.fadeStep;
	tap.fadeOutGain = 1.0 - tap.fadeInGain;
	return result;
}

double RingDelayLine::crossfaded (DelayTap& tap, double value)
{
	if (!tap.fading)
	{
		if (tap.delay == tap.currentDelay)
			return value;
		restartFade (tap, tap.delay);
	}
	else if (tap.delay != tap.targetDelay)
	{
		restartFade (tap, tap.delay);
	}
	else if (tap.fadeInGain > 1.0)
	{
		tap.fading = false;
		tap.fadeInGain = 0.0;
		tap.fadeOutGain = 1.0;
		tap.currentDelay = tap.targetDelay;
		return value;
	}
	return mixed (tap, value, at (tap.channel, tap.secondPosition));
}

double RingDelayLine::readTap (DelayTap& tap)
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

} // namespace DSPLib
} // namespace KOREMU
