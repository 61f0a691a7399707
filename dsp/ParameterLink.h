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

	// Channel 0 of the source's latest call, as a link reads it sample by sample.
	struct Channel
	{
		const double* samples64 {nullptr};
		const float* samples32 {nullptr};
		int32 frames {0};

		// Sample i; past the end of a shorter source call its last sample holds; 0 before the
		// first sample or when the source has produced none.
		double at (int32 i) const
		{
			if (frames <= 0 || i < 0)
				return 0.0;
			const int32 index = i < frames ? i : frames - 1;
			if (samples64)
				return samples64[index];
			return samples32 ? static_cast<double> (samples32[index]) : 0.0;
		}
	};

	// Channel 0 of the source's latest call; it holds while no call of the source runs.
	Channel sourceChannel () const;
	// True at the samples where the link acts: every period-th, from the first. Inline: links
	// tick at every sample.
	bool tick ()
	{
		if (!source)
			return false;
		if (counter == period)
			counter = 0;
		const bool acts = counter == 0;
		++counter;
		return acts;
	}
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
