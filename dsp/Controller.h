#pragma once

#include "dsp/DSPFunction.h"

namespace KOREMU {
namespace DSPLib {

// A modulation source: one output whose channel 0 drives parameter links.
// A container runs its controllers before its children.
class Controller : public DSPFunction
{
public:
	explicit Controller (int32 id);

	int32 getNumInputs () const override { return 0; }
	int32 getNumOutputs () const override { return 1; }
};

} // namespace DSPLib
} // namespace KOREMU
