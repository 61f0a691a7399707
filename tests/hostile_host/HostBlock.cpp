#include "HostBlock.h"

#include <algorithm>

using namespace Steinberg;
using namespace Steinberg::Vst;

HostBlock::HostBlock (int32 frames, int32 sampleSize)
: frameCount (frames)
, width (sampleSize)
, samples32 (2 * kChannels, std::vector<float> (static_cast<size_t> (frames)))
, samples64 (2 * kChannels, std::vector<double> (static_cast<size_t> (frames)))
, nullPointers (kChannels, nullptr)
{
	for (size_t c = 0; c < 2 * kChannels; ++c)
		pointers.push_back (sampleSize == kSample64 ? static_cast<void*> (samples64[c].data ())
		                                            : static_cast<void*> (samples32[c].data ()));
	inputBus.numChannels = kChannels;
	inputBus.channelBuffers32 = reinterpret_cast<Sample32**> (pointers.data ());
	outputBus.numChannels = kChannels;
	outputBus.channelBuffers32 = reinterpret_cast<Sample32**> (pointers.data () + kChannels);
	processData.processMode = kOffline;
	processData.symbolicSampleSize = sampleSize;
	processData.numSamples = frames;
	processData.numInputs = 1;
	processData.numOutputs = 1;
	processData.inputs = &inputBus;
	processData.outputs = &outputBus;
}

void HostBlock::setInput (int32 channel, int32 frame, double value)
{
	const auto c = static_cast<size_t> (channel);
	const auto i = static_cast<size_t> (frame);
	if (width == kSample64)
		samples64[c][i] = value;
	else
		samples32[c][i] = static_cast<float> (value);
}

double HostBlock::getOutput (int32 channel, int32 frame) const
{
	const auto c = static_cast<size_t> (kChannels + channel);
	const auto i = static_cast<size_t> (frame);
	return width == kSample64 ? samples64[c][i] : samples32[c][i];
}

void HostBlock::fillOutputs (double value)
{
	for (size_t c = kChannels; c < 2 * kChannels; ++c)
	{
		std::fill (samples64[c].begin (), samples64[c].end (), value);
		std::fill (samples32[c].begin (), samples32[c].end (), static_cast<float> (value));
	}
}

void HostBlock::removeInputBus ()
{
	processData.numInputs = 0;
	processData.inputs = nullptr;
}

void HostBlock::nullInputChannels ()
{
	inputBus.channelBuffers32 = reinterpret_cast<Sample32**> (nullPointers.data ());
}

void HostBlock::nullInputArray ()
{
	inputBus.channelBuffers32 = nullptr;
}
