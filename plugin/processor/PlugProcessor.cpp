#include "plugin/processor/PlugProcessor.h"

#include "plugin/factory/PlugCids.h"
#include "plugin/processor/ImpulseTables.h"
#include "plugin/processor/PlugBlockIds.h"
#include "plugin/processor/PlugParamIds.h"

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

constexpr double kHalfPi = 1.5707963267948966;
constexpr int32 kSetLength = kImpulseTableTotal / 2;

// The table of set A (0) or B (1) for a band.
const double* impulseTable (int32 set, int32 band)
{
	int32 offset = set * kSetLength;
	for (int32 k = 0; k < band; ++k)
		offset += kImpulseTableLengths[k];
	return kImpulseTableData + offset;
}

} // namespace

PlugProcessor::PlugProcessor ()
: PlugProcessorBase (kPlugControllerUID, kNumParamSlots)
{
	setInitialValue (kMixId, 0.5);
	setInitialValue (kShiftId, 0.1);
	setInitialValue (kShiftBypassId, 0.0);
	setInitialValue (kDelayId, 0.5);
	setInitialValue (kCentreId, 0.0);
	setInitialValue (kColorId, 0.0);
	setInitialValue (kDriveId, 0.0);
	setInitialValue (kDriveBypassId, 1.0);
	setInitialValue (kDecorrBypassId, 0.0);
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

uint32 PlugProcessor::shifterLatency () const
{
	if (const DSPFunction* shifter = findBlock (kBlockShifter))
		return shifter->getLatency ();
	// Before a graph exists, what a shifter of the same build would report.
	static const uint32 planned = HShifterConvCont (kBlockShifter, 1).getLatency ();
	return planned;
}

int32 PlugProcessor::sizeInForce () const
{
	return getRoot () ? convolutionSize : convolutionSizeOf (getSampleRate ());
}

uint32 PlugProcessor::plannedLatency ()
{
	// The convolvers' latency is their size, as they report once built.
	const int32 size = convolutionSizeOf (getSampleRate ());
	return static_cast<uint32> (size + mainBodyOffset (size)) + shifterLatency ();
}

uint32 PlugProcessor::extraTail ()
{
	// The longest delay, the length of the responses and the shifter's filter ring on after the input stops.
	const double delayFrames = std::ceil (kMaxDelayMs * 0.001 * getSampleRate ());
	const double tail = delayFrames + sizeInForce () + shifterLatency ();
	return static_cast<uint32> (std::min (tail, static_cast<double> (std::numeric_limits<uint32>::max () / 2)));
}

// --- the effect graph ---

void PlugProcessor::buildDSP ()
{
	PlugProcessorBase::buildDSP ();
	DSPAlgo& wet = *getWetPath ();

	auto* lfo = new LorenzLFO (kBlockShiftLfo);
	wet.addController (lfo);
	lfo->setParameter (LorenzLFO::kRateParamNo, 0, true, false, 1.45);
	lfo->setParameter (LorenzLFO::kDepthParamNo, 0, true, false, 1.8);

	// Default levels of 0.5 make the mono sum (L + R) / 2.
	wet.addFunction (new Mixer (kBlockSumMixer, 2, 1, Mixer::kLinearLevels));
	wet.addFunction (new Delay (kBlockDelay, 1, 100));
	wet.addFunction (new HighPassLR (kBlockCentreFilter, 1));
	wet.addFunction (new Triode (kBlockDrive, 1));
	buildDecorrelation (wet);

	auto* shifter = static_cast<HShifterConvCont*> (wet.addFunction (new HShifterConvCont (kBlockShifter, 1)));
	shifter->linkParameter (lfo, HShifterConvCont::kFreqModParam, kLinkReplace);
	wet.addFunction (new SmplDelay (kBlockShiftDelay, 1, static_cast<int32> (shifter->getLatency ())));
	wet.addFunction (new Splitter (kBlockStereoSplitter, 1, 2));
	// The wet pair (w, -w) changes only the side signal.
	auto* inverter = wet.addFunction (new PhaseInverter (kBlockInverter, 2));
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

	auto* decorr = static_cast<DSPAlgo*> (wet.addFunction (new DSPAlgo (kBlockDecorr, 1, 2, kParallelTopology)));
	auto* convA = static_cast<Convolver*> (decorr->addFunction (new Convolver (kBlockConvA, 1)));
	convA->setImpulseResponse (impulseTable (0, band), size, gainA);
	auto* convB = static_cast<Convolver*> (decorr->addFunction (new Convolver (kBlockConvB, 1)));
	convB->setImpulseResponse (impulseTable (1, band), size, gainB);
	// Side by side in the parallel container, both convolve the wet signal: one input side for both.
	convA->shareInput (*convB);

	wet.addFunction (new Mixer (kBlockColorMixer, 2, 1, Mixer::kLinearLevels));
	const auto compensation = static_cast<int32> (decorr->getLatency () + static_cast<uint32> (mainBodyOffset (size)));
	wet.addFunction (new SmplDelay (kBlockDecorrDelay, 1, compensation));
}

// --- parameter mapping ---

void PlugProcessor::setMixerLevel (int32 blockId, int32 input, int32 output, double value)
{
	DSPAlgo* root = getRoot ();
	if (DSPFunction* mixer = root ? root->findFunction (blockId) : nullptr)
		static_cast<Mixer*> (mixer)->setLevel (Mixer::kLevelParamNo, input, output, value);
}

bool PlugProcessor::isPublished (ParamID tag) const
{
	return tag <= kDecorrBypassId || tag == kBypassId;
}

void PlugProcessor::paramChanged (ParamID tag, IParameterChanges* outputChanges)
{
	PlugProcessorBase::paramChanged (tag, outputChanges);
	if (tag >= static_cast<ParamID> (values ().getCount ()))
		return;
	const double v = values ().getValue (static_cast<int32> (tag));
	switch (tag)
	{
		case kMixId:
			setMixerLevel (kBlockDryWetMixer, 0, 0, 1.0);
			setMixerLevel (kBlockDryWetMixer, 1, 1, 1.0);
			setMixerLevel (kBlockDryWetMixer, 2, 0, v);
			setMixerLevel (kBlockDryWetMixer, 3, 1, v);
			setOutputGain (v * -6.0);
			break;
		case kShiftId:
			setBlockParameter (kBlockShifter, HShifterConvCont::kFrequencyShiftParam, v * (1.0 - 0.001) + 0.001);
			setBlockParameter (kBlockShiftLfo, LorenzLFO::kRateParamNo, v * (3.32 - 1.95) + 1.95);
			setBlockParameter (kBlockShiftLfo, LorenzLFO::kDepthParamNo, v * (2.5 - 1.4) + 1.4);
			break;
		case kShiftBypassId:
			switchBypassPair (kBlockShifter, kBlockShiftDelay, v > 0.5);
			break;
		case kDelayId:
			setBlockParameter (kBlockDelay, Delay::kDelayMsParam, v * 42.0 + 3.0);
			break;
		case kCentreId:
			// 20 to 1500 Hz on a logarithmic scale.
			setBlockParameter (kBlockCentreFilter, HighPassLR::kFrequencyCutParamNo, std::exp2 (v * std::log2 (75.0)) * 20.0);
			break;
		case kColorId:
			// An equal-power blend of the two convolutions.
			setMixerLevel (kBlockColorMixer, 0, 0, std::cos (v * kHalfPi));
			setMixerLevel (kBlockColorMixer, 1, 0, std::sin (v * kHalfPi));
			break;
		case kDriveId:
		{
			const double e = std::exp2 (v * std::log2 (25.0));
			setBlockParameter (kBlockDrive, Triode::kDistortionParam, e + e);
			setBlockParameter (kBlockDrive, Triode::kQParam, std::exp2 (v * -std::log2 (150.0)) * -3.0);
			setBlockParameter (kBlockDrive, Triode::kOutGainParam, v * (1.6 - 1.3) + 1.3);
			break;
		}
		case kDriveBypassId:
			switchBypass (kBlockDrive, v > 0.5);
			break;
		case kDecorrBypassId:
			switchBypassPair (kBlockDecorr, kBlockDecorrDelay, v > 0.5);
			break;
		default:
			break;
	}
}

} // namespace Vst
} // namespace Steinberg
