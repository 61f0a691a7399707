#include "dsp/Controller.h"

namespace KOREMU {
namespace DSPLib {

Controller::Controller (int32 id) : DSPFunction (id, 0, 1)
{
	setKind (kControllerKind);
}

} // namespace DSPLib
} // namespace KOREMU
