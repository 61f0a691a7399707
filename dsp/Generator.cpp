#include "dsp/Generator.h"

namespace KOREMU {
namespace DSPLib {

Generator::Generator (int32 id, int32 numOutputs) : DSPFunction (id, 0, numOutputs)
{
	setKind (kGeneratorKind);
}

} // namespace DSPLib
} // namespace KOREMU
