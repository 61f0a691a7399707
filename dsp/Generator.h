#pragma once

#include "dsp/DSPFunction.h"

namespace KOREMU {
namespace DSPLib {

// A block without inputs that produces audio; bypassing it silences its outputs at once.
class Generator : public DSPFunction
{
public:
	Generator (int32 id, int32 numOutputs);

	int32 getNumInputs () const override { return 0; }
};

} // namespace DSPLib
} // namespace KOREMU
