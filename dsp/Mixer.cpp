#include "dsp/Mixer.h"

#include "dsp/DecibelGain.h"
#include "dsp/FrameLoops.h"

#include <algorithm>

namespace KOREMU {
namespace DSPLib {

Mixer::Mixer (int32 id, int32 numInputs, int32 numOutputs) : Mixer (id, numInputs, numOutputs, kLinearLevels)
{
}

Mixer::Mixer (int32 id, int32 numInputs, int32 numOutputs, int32 mode)
: DSPFunction (id, numInputs, numOutputs)
, mode (mode)
, matrix (static_cast<size_t> (numInputs) * static_cast<size_t> (numOutputs), 1)
, connectedLevels (matrix.size (), nullptr)
, steadyLevels (matrix.size (), 0)
, steadyFactors (matrix.size (), 0.0)
{
	const int32 flags = DSPParameter::kPerPair | DSPParameter::kGrouped | DSPParameter::kSmoothed;
	addParameter (kLevelParamNo, u"Level", flags, mode == kLinearLevels ? 1.0 : 0.0);
	normalizeLevels ();
}

void Mixer::setMatrix (const Steinberg::uint8* entries)
{
	if (!entries)
		return;
	matrix.assign (entries, entries + matrix.size ());
	normalizeLevels ();
}

void Mixer::normalizeLevels ()
{
	for (int32 o = 0; o < getNumOutputs (); ++o)
	{
		int32 connections = 0;
		for (int32 i = 0; i < getNumInputs (); ++i)
			connections += matrix[static_cast<size_t> (pairIndex (i, o))];
		for (int32 i = 0; i < getNumInputs (); ++i)
		{
			double level = 0.0;
			if (mode == kLinearLevels && isConnected (i, o))
				level = 1.0 / connections;
			setParameter (kLevelParamNo, pairIndex (i, o), true, false, level);
			connectedLevels[static_cast<size_t> (pairIndex (i, o))] =
			    isConnected (i, o) ? findParameter (kLevelParamNo, pairIndex (i, o)) : nullptr;
		}
	}
}

bool Mixer::isPair (int32 input, int32 output) const
{
	return input >= 0 && input < getNumInputs () && output >= 0 && output < getNumOutputs ();
}

bool Mixer::isConnected (int32 input, int32 output) const
{
	return isPair (input, output) && matrix[static_cast<size_t> (pairIndex (input, output))] != 0;
}

void Mixer::setLevel (int32 paramNo, int32 input, int32 output, double value)
{
	if (isPair (input, output))
		setParameter (paramNo, pairIndex (input, output), true, false, value);
}

double Mixer::getLevel (int32 paramNo, int32 input, int32 output)
{
	return isPair (input, output) ? getParameter (paramNo, pairIndex (input, output)) : 0.0;
}

double Mixer::levelFactor (double level) const
{
	return mode == kDecibelLevels ? decibelsToGain (level) : level;
}

int32 Mixer::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 Mixer::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

void Mixer::resolveLevels ()
{
	for (size_t pair = 0; pair < connectedLevels.size (); ++pair)
	{
		const DSPParameter* level = connectedLevels[pair];
		steadyLevels[pair] = level && level->holdsSteady ();
		steadyFactors[pair] = steadyLevels[pair] ? levelFactor (level->getPlainValue ()) : 0.0;
	}
}

// Only connected pairs are read, so an unconnected pair's smoother stands still. Each output is
// summed over its inputs in their order, as a per-sample loop would, a chunk of frames at a time;
// a gliding level still advances once per sample.
template <typename Sample>
void Mixer::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs)
		return;
	resolveLevels ();
	const int32 numInputs = getNumInputs ();
	const int32 numOutputs = getNumOutputs ();
	double sums[kChunkFrames];
	for (int32 start = 0; start < frames; start += kChunkFrames)
	{
		const int32 count = std::min (kChunkFrames, frames - start);
		size_t pair = 0;
		for (int32 o = 0; o < numOutputs; ++o)
		{
			FrameLoops::clear (sums, count);
			for (int32 k = 0; k < numInputs; ++k, ++pair)
			{
				if (DSPParameter* level = connectedLevels[pair])
					addInput (sums, inputs[k] + start, count, *level, pair);
			}
			FrameLoops::convert (outputs[o] + start, sums, count);
		}
	}
}

template <typename Sample>
void Mixer::addInput (double* sums, const Sample* input, int32 count, DSPParameter& level, size_t pair)
{
	if (steadyLevels[pair])
		FrameLoops::addScaled (sums, input, steadyFactors[pair], count);
	else
	{
		for (int32 i = 0; i < count; ++i)
			sums[i] += levelFactor (level.getValue ()) * static_cast<double> (input[i]);
	}
}

} // namespace DSPLib
} // namespace KOREMU
