// Stands in for the VST3 SDK's host-side process data (public.sdk/source/vst/hosting/processdata.cpp).
#include "public.sdk/source/vst/hosting/processdata.h"

#include <algorithm>

namespace Steinberg {
namespace Vst {

bool HostProcessData::prepare (const std::vector<int32>& inputChannels,
                               const std::vector<int32>& outputChannels, int32 newBlockSize,
                               int32 sampleSize)
{
	unprepare ();
	auto negative = [] (int32 count) { return count < 0; };
	if (newBlockSize < 1 || (sampleSize != kSample32 && sampleSize != kSample64) ||
	    std::any_of (inputChannels.begin (), inputChannels.end (), negative) ||
	    std::any_of (outputChannels.begin (), outputChannels.end (), negative))
		return false;

	blockSize = newBlockSize;
	symbolicSampleSize = sampleSize;
	numSamples = blockSize;
	buildBuses (inputChannels, inputStorage, inputBuffers);
	buildBuses (outputChannels, outputStorage, outputBuffers);
	numInputs = static_cast<int32> (inputBuffers.size ());
	numOutputs = static_cast<int32> (outputBuffers.size ());
	inputs = inputBuffers.empty () ? nullptr : inputBuffers.data ();
	outputs = outputBuffers.empty () ? nullptr : outputBuffers.data ();
	return true;
}

bool HostProcessData::prepare (IComponent& component, int32 newBlockSize, int32 sampleSize)
{
	auto channelsOf = [&component] (BusDirection dir) {
		std::vector<int32> channels;
		const int32 count = component.getBusCount (kAudio, dir);
		for (int32 i = 0; i < count; ++i)
		{
			BusInfo info {};
			component.getBusInfo (kAudio, dir, i, info);
			channels.push_back (info.channelCount);
		}
		return channels;
	};
	return prepare (channelsOf (kInput), channelsOf (kOutput), newBlockSize, sampleSize);
}

void HostProcessData::buildBuses (const std::vector<int32>& channels,
                                  std::vector<BusStorage>& storage,
                                  std::vector<AudioBusBuffers>& buffers)
{
	const auto frames = static_cast<size_t> (blockSize);
	storage.resize (channels.size ());
	buffers.resize (channels.size ());
	for (size_t bus = 0; bus < channels.size (); ++bus)
	{
		BusStorage& store = storage[bus];
		for (int32 c = 0; c < channels[bus]; ++c)
		{
			if (symbolicSampleSize == kSample32)
				store.pointers32.push_back (store.samples32.emplace_back (frames, 0.f).data ());
			else
				store.pointers64.push_back (store.samples64.emplace_back (frames, 0.0).data ());
		}
		buffers[bus].numChannels = channels[bus];
		buffers[bus].silenceFlags = 0;
		if (symbolicSampleSize == kSample32)
			buffers[bus].channelBuffers32 = store.pointers32.data ();
		else
			buffers[bus].channelBuffers64 = store.pointers64.data ();
	}
}

void HostProcessData::unprepare ()
{
	inputStorage.clear ();
	outputStorage.clear ();
	inputBuffers.clear ();
	outputBuffers.clear ();
	blockSize = 0;
	numSamples = 0;
	numInputs = 0;
	numOutputs = 0;
	inputs = nullptr;
	outputs = nullptr;
}

HostProcessData::BusStorage* HostProcessData::storageOf (BusDirection dir, int32 bus, int32 channel)
{
	std::vector<BusStorage>& storage = dir == kInput ? inputStorage : outputStorage;
	const std::vector<AudioBusBuffers>& buffers = dir == kInput ? inputBuffers : outputBuffers;
	if (bus < 0 || bus >= static_cast<int32> (storage.size ()) || channel < 0 ||
	    channel >= buffers[static_cast<size_t> (bus)].numChannels)
		return nullptr;
	return &storage[static_cast<size_t> (bus)];
}

Sample32* HostProcessData::getChannel32 (BusDirection dir, int32 bus, int32 channel)
{
	BusStorage* store = storageOf (dir, bus, channel);
	if (!store || symbolicSampleSize != kSample32)
		return nullptr;
	return store->pointers32[static_cast<size_t> (channel)];
}

Sample64* HostProcessData::getChannel64 (BusDirection dir, int32 bus, int32 channel)
{
	BusStorage* store = storageOf (dir, bus, channel);
	if (!store || symbolicSampleSize != kSample64)
		return nullptr;
	return store->pointers64[static_cast<size_t> (channel)];
}

} // namespace Vst
} // namespace Steinberg
