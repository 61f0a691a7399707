// A short test signal to hear the plug-in on: a plucked phrase in the centre and a hi-hat to one side.
#pragma once

#include "tools/vst3host/AudioBuffer.h"

namespace Veltrane {
namespace Host {

class DemoSignal
{
public:
	/** Stereo, peaks below full scale. */
	static AudioBuffer generate (double sampleRate, double seconds);
};

} // namespace Host
} // namespace Veltrane
