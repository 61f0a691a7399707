#include "dsp/Gain.h"

#include "dsp/DecibelGain.h"

#include <algorithm>

namespace KOREMU {
namespace DSPLib {

Gain::Gain (int32 id, int32 channels)
: DSPFunction (id, channels, channels)
, levels (static_cast<size_t> (std::max (channels, 0)), nullptr)
, lastDecibels (levels.size (), 0.0)
, lastFactors (levels.size (), decibelsToGain (0.0))
{
	const int32 flags = DSPParameter::kLinkable | DSPParameter::kPerInput | DSPParameter::kGrouped
	                    | DSPParameter::kSmoothed;
	addParameter (kGainParamNo, u"Gain", flags, 0.0, kMinGainDb, kMaxGainDb);
}

int32 Gain::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 Gain::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

// Links first, then one smoothed read per channel and sample, so each channel glides at the
// same speed whatever the channel count.
double Gain::gainOf (int32 channel)
{
	const auto c = static_cast<size_t> (channel);
	const double decibels = levels[c] ? levels[c]->getValue () : 0.0;
	if (decibels != lastDecibels[c])
	{
		lastDecibels[c] = decibels;
		lastFactors[c] = decibelsToGain (decibels);
	}
	return lastFactors[c];
}

// Without links each channel runs on its own: a steady level as one factor over the block, a
// gliding one read at every sample as before.
template <typename Sample>
void Gain::render (Sample** inputs, Sample** outputs, int32 frames)
{
	const int32 channels = inputs && outputs && frames > 0 ? std::min (getNumInputs (), static_cast<int32> (levels.size ())) : 0;
	for (int32 c = 0; c < channels; ++c)
		levels[static_cast<size_t> (c)] = findParameter (kGainParamNo, c);
	if (hasLinks ())
	{
		for (int32 i = 0; i < frames; ++i)
		{
			applyLinks (i);
			for (int32 c = 0; c < channels; ++c)
				outputs[c][i] = static_cast<Sample> (gainOf (c) * static_cast<double> (inputs[c][i]));
		}
		return;
	}
	for (int32 c = 0; c < channels; ++c)
	{
		const DSPParameter* level = levels[static_cast<size_t> (c)];
		if (!level || level->holdsSteady ())
		{
			const double factor = gainOf (c);
			std::transform (inputs[c], inputs[c] + frames, outputs[c],
			                [factor] (Sample x) { return static_cast<Sample> (factor * static_cast<double> (x)); });
		}
		else
		{
			for (int32 i = 0; i < frames; ++i)
				outputs[c][i] = static_cast<Sample> (gainOf (c) * static_cast<double> (inputs[c][i]));
		}
	}
}

} // namespace DSPLib
} // namespace KOREMU
