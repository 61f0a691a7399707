#include "plugin/processor/PlugProcessor.h"

#include "plugin/factory/PlugCids.h"
#include "plugin/processor/ImpulseTables.h"
#include "plugin/processor/PlugBlockIds.h"
#include "plugin/processor/PlugParameters.h"

#include "dsp/Convolver.h"
#include "dsp/Delay.h"
#include "dsp/HShifterConvCont.h"
#include "dsp/HighPassLR.h"
#include "dsp/LorenzLFO.h"
#include "dsp/Mixer.h"
#include "dsp/PhaseInverter.h"
#include "dsp/SmplDelay.h"
#include "dsp/Splitter.h"
#include "dsp/Triode.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace Steinberg {
namespace Vst {

using namespace KOREMU::DSPLib;

namespace {

constexpr int32 kSetLength = kImpulseTableTotal / 2;

// The table of set A (0) or B (1) for a band.
const double* impulseTable (int32 set, int32 band)
{
	int32 offset = set * kSetLength;
	for (int32 k = 0; k < band; ++k)
		offset += kImpulseTableLengths[k];
	return kImpulseTableData + offset;
}

// The delay ring holds the longest delay that "Delay" reaches, in whole milliseconds.
int32 longestDelayMs ()
{
	return static_cast<int32> (std::ceil (curveOf (ParamTarget::kDelayMs).highest ()));
}

void setMixerLevel (Mixer* mixer, int32 input, int32 output, double value)
{
	if (mixer)
		mixer->setLevel (Mixer::kLevelParamNo, input, output, value);
}

} // namespace

PlugProcessor::PlugProcessor ()
: PlugProcessorBase (kPlugControllerUID, kNumParamSlots)
{
	for (const PlugParameter& parameter : kPlugParameters)
		setInitialValue (parameter.tag, parameter.defaultValue);
}

FUnknown* PlugProcessor::createInstance (void* /*context*/)
{
	return static_cast<IAudioProcessor*> (new PlugProcessor);
}

int32 PlugProcessor::bandOf (double rate)
{
	// The limits lie midway between the rates the tables were sampled at.
	for (int32 band = 0; band + 1 < kNumImpulseBands; ++band)
	{
		if (rate <= (kImpulseTableRates[band] + kImpulseTableRates[band + 1]) * 0.5)
			return band;
	}
	return kNumImpulseBands - 1;
}

int32 PlugProcessor::convolutionSizeOf (double rate)
{
	return kImpulseTableLengths[bandOf (rate)];
}

int32 PlugProcessor::mainBodyOffset (int32 size)
{
	// The responses' main body begins a quarter of the way in.
	return size / 4;
}

uint32 PlugProcessor::extraLatency ()
{
	return static_cast<uint32> (mainBodyOffset (convolutionSize));
}

int32 PlugProcessor::sizeInForce () const
{
	return blocks.decorr ? convolutionSize : convolutionSizeOf (getSampleRate ());
}

uint32 PlugProcessor::plannedLatency ()
{
	// The convolvers' latency is their size, as they report once built.
	const int32 size = convolutionSizeOf (getSampleRate ());
	return static_cast<uint32> (size + mainBodyOffset (size)) + HShifterConvCont::kLatency;
}

uint32 PlugProcessor::extraTail ()
{
	// The longest delay, the length of the responses and the shifter's filter ring on after the input stops.
	const double delayFrames = std::ceil (longestDelayMs () * 0.001 * getSampleRate ());
	const double tail = delayFrames + sizeInForce () + HShifterConvCont::kLatency;
	return static_cast<uint32> (std::min (tail, static_cast<double> (std::numeric_limits<uint32>::max () / 2)));
}

// --- the effect graph ---

void PlugProcessor::buildDSP ()
{
	PlugProcessorBase::buildDSP ();
	DSPAlgo& wet = *getWetPath ();

	blocks.shiftLfo = new LorenzLFO (kBlockShiftLfo);
	wet.addController (blocks.shiftLfo);
	blocks.shiftLfo->setParameter (LorenzLFO::kRateParamNo, 0, true, false, 1.45);
	blocks.shiftLfo->setParameter (LorenzLFO::kDepthParamNo, 0, true, false, 1.8);

	// Default levels of 0.5 make the mono sum (L + R) / 2.
	wet.addFunction (new Mixer (kBlockSumMixer, 2, 1, Mixer::kLinearLevels));
	blocks.delay = new Delay (kBlockDelay, 1, longestDelayMs ());
	wet.addFunction (blocks.delay);
	blocks.centreFilter = new HighPassLR (kBlockCentreFilter, 1);
	wet.addFunction (blocks.centreFilter);
	blocks.drive = new Triode (kBlockDrive, 1);
	wet.addFunction (blocks.drive);
	buildDecorrelation (wet);

	blocks.shifter = new HShifterConvCont (kBlockShifter, 1);
	wet.addFunction (blocks.shifter);
	blocks.shifter->linkParameter (blocks.shiftLfo, HShifterConvCont::kFreqModParam, kLinkReplace);
	blocks.shiftDelay = new SmplDelay (kBlockShiftDelay, 1, static_cast<int32> (blocks.shifter->getLatency ()));
	wet.addFunction (blocks.shiftDelay);
	wet.addFunction (new Splitter (kBlockStereoSplitter, 1, 2));
	// The wet pair (w, -w) changes only the side signal.
	auto* inverter = new PhaseInverter (kBlockInverter, 2);
	wet.addFunction (inverter);
	inverter->setParameter (PhaseInverter::kInversionParamNo, 1, true, false, 1.0);
}

void PlugProcessor::buildDecorrelation (DSPAlgo& wet)
{
	const int32 band = bandOf (getSampleRate ());
	const int32 size = kImpulseTableLengths[band];
	convolutionSize = size;
	// The tables' sums grow with the rate they were sampled at; this keeps the gain the same in
	// every band, and at every rate within a band.
	const double rateGain = kImpulseTableRates[0] / kImpulseTableRates[band];
	const double gainA[] = {0.6 * rateGain};
	const double gainB[] = {rateGain * 0.45};

	blocks.decorr = new DSPAlgo (kBlockDecorr, 1, 2, kParallelTopology);
	wet.addFunction (blocks.decorr);
	auto* convA = new Convolver (kBlockConvA, 1);
	blocks.decorr->addFunction (convA);
	convA->setImpulseResponse (impulseTable (0, band), size, gainA);
	auto* convB = new Convolver (kBlockConvB, 1);
	blocks.decorr->addFunction (convB);
	convB->setImpulseResponse (impulseTable (1, band), size, gainB);
	// Side by side in the parallel container, both convolve the wet signal: one input side for both.
	convA->shareInput (*convB);

	blocks.colorMixer = new Mixer (kBlockColorMixer, 2, 1, Mixer::kLinearLevels);
	wet.addFunction (blocks.colorMixer);
	const auto compensation =
	    static_cast<int32> (blocks.decorr->getLatency () + static_cast<uint32> (mainBodyOffset (size)));
	blocks.decorrDelay = new SmplDelay (kBlockDecorrDelay, 1, compensation);
	wet.addFunction (blocks.decorrDelay);
}

void PlugProcessor::destroyDSP ()
{
	blocks = EffectBlocks {};
	PlugProcessorBase::destroyDSP ();
}

// --- parameter mapping ---

bool PlugProcessor::isPublished (ParamID tag) const
{
	return findPlugParameter (tag) != nullptr;
}

void PlugProcessor::paramChanged (ParamID tag, IParameterChanges* outputChanges)
{
	PlugProcessorBase::paramChanged (tag, outputChanges);
	const PlugParameter* parameter = findPlugParameter (tag);
	if (!parameter)
		return;
	const double v = values ().getValue (static_cast<int32> (tag));
	for (const ParamMapping& mapping : parameter->mappings)
		drive (mapping.target, mapping.curve.at (v));
}

void PlugProcessor::drive (ParamTarget target, double value)
{
	switch (target)
	{
		case ParamTarget::kDryLevels:
			setDryLevels (value);
			break;
		case ParamTarget::kWetLevels:
			setWetLevels (value);
			break;
		case ParamTarget::kOutputGainDb:
			setOutputGain (value);
			break;
		case ParamTarget::kShiftHz:
			setBlockParameter (blocks.shifter, HShifterConvCont::kFrequencyShiftParam, value);
			break;
		case ParamTarget::kShiftLfoRate:
			setBlockParameter (blocks.shiftLfo, LorenzLFO::kRateParamNo, value);
			break;
		case ParamTarget::kShiftLfoDepth:
			setBlockParameter (blocks.shiftLfo, LorenzLFO::kDepthParamNo, value);
			break;
		case ParamTarget::kShifterBypass:
			switchBypassPair (blocks.shifter, blocks.shiftDelay, value != 0.0);
			break;
		case ParamTarget::kDelayMs:
			setBlockParameter (blocks.delay, Delay::kDelayMsParam, value);
			break;
		case ParamTarget::kCentreCutoffHz:
			setBlockParameter (blocks.centreFilter, HighPassLR::kFrequencyCutParamNo, value);
			break;
		case ParamTarget::kColorLevelA:
			setMixerLevel (blocks.colorMixer, 0, 0, value);
			break;
		case ParamTarget::kColorLevelB:
			setMixerLevel (blocks.colorMixer, 1, 0, value);
			break;
		case ParamTarget::kDriveDistortion:
			setBlockParameter (blocks.drive, Triode::kDistortionParam, value);
			break;
		case ParamTarget::kDriveQ:
			setBlockParameter (blocks.drive, Triode::kQParam, value);
			break;
		case ParamTarget::kDriveOutGain:
			setBlockParameter (blocks.drive, Triode::kOutGainParam, value);
			break;
		case ParamTarget::kDriveBypass:
			switchBypass (blocks.drive, value != 0.0);
			break;
		case ParamTarget::kDecorrBypass:
			switchBypassPair (blocks.decorr, blocks.decorrDelay, value != 0.0);
			break;
		case ParamTarget::kNone:
			break;
	}
}

} // namespace Vst
} // namespace Steinberg
