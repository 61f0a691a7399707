#include "dsp/Renderer.h"

namespace KOREMU {
namespace DSPLib {

Renderer::Renderer (int32 id, int32 numInputs) : DSPFunction (id, numInputs, 0)
{
	setKind (kRendererKind);
}

} // namespace DSPLib
} // namespace KOREMU
