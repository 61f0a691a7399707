// Parameter tags shared by the processor and the edit controller; hosts store them in projects.
#pragma once

#include "pluginterfaces/vst/vsttypes.h"

namespace Steinberg {
namespace Vst {

enum : ParamID
{
	kMixId = 0,
	kShiftId = 1,
	kShiftBypassId = 2,
	kDelayId = 3,
	kCentreId = 4,
	kColorId = 5,
	kDriveId = 6,
	kDriveBypassId = 7,
	kDecorrBypassId = 8,
	kBypassId = 1000000,
};

/** Value slots of the state record; slots 9 to 13 belong to no parameter. */
static const int32 kNumParamSlots = 14;

} // namespace Vst
} // namespace Steinberg
