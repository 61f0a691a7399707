#pragma once

#include "base/source/fobject.h"

#include <cstddef>

namespace KOREMU {
namespace DSPLib {

using Steinberg::int32;

// A multi-channel sample buffer (channels x frames) of float32 or float64 samples,
// chosen by the VST3 symbolic sample size: 0 is float32, anything else float64.
class Cable : public Steinberg::FObject
{
public:
	Cable (int32 channels, int32 frames, int32 sampleSize);
	~Cable () override;

	Cable (const Cable&) = delete;
	Cable& operator= (const Cable&) = delete;

	// Float64 channels for sample size 1 (any non-zero size), float32 channels for 0; null without channels.
	void* getBuffers () const;
	float** getBuffers32 () const { return buffers32; }
	double** getBuffers64 () const { return buffers64; }
	void clear ();

	int32 getChannels () const { return channels; }
	int32 getFrames () const { return frames; }
	bool isFloat32 () const { return sampleSize == 0; }

	static size_t bytesPerSample (int32 sampleSize) { return sampleSize == 0 ? 4 : 8; }

	OBJ_METHODS (Cable, Steinberg::FObject)

private:
	void allocate ();
	void freeBuffers ();

	float** buffers32 {nullptr};
	double** buffers64 {nullptr};
	int32 channels;
	int32 frames;
	int32 sampleSize;
	// In size_t: frames x 8 exceeds an int32 from 2^28 frames on.
	size_t bytesPerChannel;
};

} // namespace DSPLib
} // namespace KOREMU
