// Stands in for the VST3 SDK's host-side process data (public.sdk/source/vst/hosting/processdata.h).
#pragma once

#include "pluginterfaces/vst/ivstaudioprocessor.h"
#include "pluginterfaces/vst/ivstcomponent.h"

#include <vector>

namespace Steinberg {
namespace Vst {

/** ProcessData that owns zeroed channel buffers for a bus layout, a sample size and a block size.
    The buffers live from prepare to unprepare (or destruction); numSamples starts at the block size. */
class HostProcessData : public ProcessData
{
public:
	HostProcessData () = default;
	HostProcessData (const HostProcessData&) = delete;
	HostProcessData& operator= (const HostProcessData&) = delete;

	/** Channel counts per input and per output bus. False (and unprepared) on a negative count,
	    a block size below 1 or an unknown sample size. */
	bool prepare (const std::vector<int32>& inputChannels, const std::vector<int32>& outputChannels,
	              int32 blockSize, int32 sampleSize);
	/** The layout of the component's audio buses. */
	bool prepare (IComponent& component, int32 blockSize, int32 sampleSize);
	void unprepare ();

	int32 getBlockSize () const { return blockSize; }
	/** A channel's buffer, or null when the bus, the channel or the sample size does not exist. */
	Sample32* getChannel32 (BusDirection dir, int32 bus, int32 channel);
	Sample64* getChannel64 (BusDirection dir, int32 bus, int32 channel);

private:
	struct BusStorage
	{
		std::vector<std::vector<Sample32>> samples32;
		std::vector<std::vector<Sample64>> samples64;
		std::vector<Sample32*> pointers32;
		std::vector<Sample64*> pointers64;
	};

	void buildBuses (const std::vector<int32>& channels, std::vector<BusStorage>& storage,
	                 std::vector<AudioBusBuffers>& buffers);
	BusStorage* storageOf (BusDirection dir, int32 bus, int32 channel);

	int32 blockSize = 0;
	std::vector<BusStorage> inputStorage;
	std::vector<BusStorage> outputStorage;
	std::vector<AudioBusBuffers> inputBuffers;
	std::vector<AudioBusBuffers> outputBuffers;
};

} // namespace Vst
} // namespace Steinberg
