#pragma once

#include "dsp/DSPFunction.h"

namespace KOREMU {
namespace DSPLib {

// A block that consumes audio and produces none.
class Renderer : public DSPFunction
{
public:
	Renderer (int32 id, int32 numInputs);

	int32 getNumOutputs () const override { return 0; }
};

} // namespace DSPLib
} // namespace KOREMU
