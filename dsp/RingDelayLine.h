#pragma once

#include "dsp/DelayTap.h"

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
// second position reads at the delay in force before the change and the read position at the new
// one; the first read returns the old-delay sample (gains 0 and 1). When the fade-in gain passes 1
// the fade ends and the current delay takes the new value, so no further fade starts until the
// requested delay changes again. A change during a fade restarts the gains at 0 and 1, still
// fading from the delay last settled. A tap's placements before its first read take their delay
// at once, so a tap starts at its delay without fading in from delay 0.
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
	// The index of the frame delay frames from the channel's write position.
	int32 frameAt (int32 delay, int32 channel) const;
	double sampleAt (int32 frame, int32 channel) const;

	int32 clampDelay (int32 delay) const;
	int32 getChannels () const { return channels; }
	int32 getFrames () const { return frames; }
	int32 getRows () const { return rows; }
	int32 getSampleSize () const { return sampleSize; }
	bool isCleared () const { return cleared; }
	int32 getWritePosition (int32 channel) const;

private:
	bool hasChannel (int32 channel) const { return channel >= 0 && channel < channels; }
	bool hasFrame (int32 frame) const { return frame >= 0 && frame < frames; }
	bool isPlacedHere (const DelayTap& tap) const;
	double& at (int32 channel, int32 frame);
	int32 movedDown (int32 frame, int32 by) const;
	int32 reducedStep (int32 step) const;
	double crossfaded (DelayTap& tap, double value);
	static void restartFade (DelayTap& tap, int32 target);
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

} // namespace DSPLib
} // namespace KOREMU
