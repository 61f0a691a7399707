#include "dsp/RingDelayLine.h"

#include <algorithm>
#include <cmath>

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

void RingDelayLine::clear ()
{
	if (cleared)
		return;
	std::fill (samples.begin (), samples.end (), 0.0);
	cleared = true;
}

} // namespace DSPLib
} // namespace KOREMU
