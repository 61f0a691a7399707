#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace KOREMU {
namespace DSPLib {

using Steinberg::int32;

class DSPFunction;

enum LinkMode : int32
{
	kLinkReplace = 0,
	kLinkAddToBase = 1,
	kLinkSubtractFromBase = 2,
};

// Makes a block parameter follow channel 0 of a source block's output, sample by sample.
class ParameterLink
{
public:
	ParameterLink (DSPFunction* source, int32 mode, int32 period);

	// Sample i of channel 0 of the source's latest call; 0 when the source has produced none.
	double readSource (int32 i) const;
	bool tick ();
	bool isSourceActive () const;

	int32 getMode () const { return mode; }

private:
	DSPFunction* source;
	int32 period;
	int32 mode;
	int32 counter {0};
};

} // namespace DSPLib
} // namespace KOREMU
