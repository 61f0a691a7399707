// Ids of the processor's graph blocks. They share a number space with neither the block parameter
// numbers nor the parameter tags, even where the values meet (1000000).
#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace Steinberg {
namespace Vst {

// The outer graph: global bypass, dry and wet branches, dry/wet mixer, output stages.
enum : int32
{
	kBlockRoot = 1000000,
	kBlockBypassDelay = 1000010,
	kBlockEffectPath = 1000020,
	kBlockParallel = 1000030,
	kBlockDryPath = 1000040,
	kBlockDrySplitter = 1000050,
	kBlockDryDelay = 1000060,
	kBlockWetPath = 1000070,
	kBlockWetSplitter = 1000080,
	kBlockDryWetMixer = 1000090,
	kBlockOutputGain = 1000100,
	kBlockMidSide = 1000110,
};

// The effect graph inside the wet branch.
enum : int32
{
	kBlockSumMixer = 0,
	kBlockDelay = 1,
	kBlockCentreFilter = 2,
	kBlockDecorr = 3,
	kBlockDecorrDelay = 4,
	kBlockConvA = 5,
	kBlockConvB = 6,
	kBlockColorMixer = 7,
	kBlockDrive = 8,
	kBlockShifter = 9,
	kBlockShiftLfo = 10,
	kBlockShiftDelay = 11,
	kBlockInverter = 12,
	kBlockStereoSplitter = 13,
};

} // namespace Vst
} // namespace Steinberg
