#include "dsp/Cable.h"

#include <cstring>

namespace KOREMU {
namespace DSPLib {

Cable::Cable (int32 channels, int32 frames, int32 sampleSize)
: channels (channels)
, frames (frames)
, sampleSize (sampleSize)
, bytesPerChannel (frames > 0 ? static_cast<size_t> (frames) * bytesPerSample (sampleSize) : 0)
{
	allocate ();
}

Cable::~Cable ()
{
	freeBuffers ();
}

template <typename Sample>
static Sample** allocateChannels (int32 channels, int32 frames)
{
	auto** buffers = new Sample*[channels] ();
	if (frames > 0)
	{
		for (int32 c = 0; c < channels; ++c)
			buffers[c] = new Sample[frames] ();
	}
	return buffers;
}

template <typename Sample>
static void freeChannels (Sample**& buffers, int32 channels)
{
	if (!buffers)
		return;
	for (int32 c = 0; c < channels; ++c)
		delete[] buffers[c];
	delete[] buffers;
	buffers = nullptr;
}

void Cable::allocate ()
{
	if (channels <= 0)
		return;
	if (isFloat32 ())
		buffers32 = allocateChannels<float> (channels, frames);
	else
		buffers64 = allocateChannels<double> (channels, frames);
}

void Cable::freeBuffers ()
{
	freeChannels (buffers32, channels);
	freeChannels (buffers64, channels);
}

void* Cable::getBuffers () const
{
	return isFloat32 () ? static_cast<void*> (buffers32) : static_cast<void*> (buffers64);
}

void Cable::clear ()
{
	if (frames <= 0 || channels <= 0)
		return;
	for (int32 c = 0; c < channels; ++c)
	{
		void* channel = isFloat32 () ? static_cast<void*> (buffers32[c]) : static_cast<void*> (buffers64[c]);
		std::memset (channel, 0, bytesPerChannel);
	}
}

} // namespace DSPLib
} // namespace KOREMU
