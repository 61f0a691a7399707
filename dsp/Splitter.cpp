#include "dsp/Splitter.h"

#include <algorithm>
#include <cstring>

namespace KOREMU {
namespace DSPLib {

Splitter::Splitter (int32 id, int32 numInputs, int32 numOutputs) : DSPFunction (id, numInputs, numOutputs)
{
}

int32 Splitter::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 Splitter::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

template <typename Sample>
void Splitter::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs || frames <= 0)
		return;
	const int32 numInputs = getNumInputs ();
	const int32 numOutputs = getNumOutputs ();
	const size_t bytes = sizeof (Sample) * static_cast<size_t> (frames);
	for (int32 i = 0; i < std::min (numInputs, numOutputs); ++i)
	{
		for (int32 o = i; o < numOutputs; o += numInputs)
		{
			if (outputs[o] != inputs[i])
				std::memcpy (outputs[o], inputs[i], bytes);
		}
	}
}

} // namespace DSPLib
} // namespace KOREMU
