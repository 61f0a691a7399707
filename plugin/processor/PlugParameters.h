// The plug-in's parameters, one row each in the order the host lists them: what the host shows
// (tag, title, units, steps, default, flags) and which block parameters the value drives, over
// which range. The controller registers these rows, the processor takes its defaults and its
// mapping from them: a parameter's default or range is changed here and nowhere else.
#pragma once

#include "plugin/processor/ParamCurve.h"
#include "plugin/processor/PlugParamIds.h"

#include "pluginterfaces/vst/ivsteditcontroller.h"

namespace Steinberg {
namespace Vst {

/** The block parameters a value can drive; the processor knows the block behind each. */
enum class ParamTarget : int32
{
	kNone,
	/** Dry/wet mixer: each dry channel onto its output. */
	kDryLevels,
	/** Dry/wet mixer: each wet channel onto its output. */
	kWetLevels,
	/** Output gain in decibels, every channel. */
	kOutputGainDb,
	/** Frequency shifter: the shift in hertz. */
	kShiftHz,
	/** The shifter's Lorenz LFO: "Rate" and "Depth". */
	kShiftLfoRate,
	kShiftLfoDepth,
	/** Not 0: the shifter is bypassed and its compensation delay takes over. */
	kShifterBypass,
	/** The wet path's delay in milliseconds. */
	kDelayMs,
	/** The "Centre" high-pass cutoff in hertz. */
	kCentreCutoffHz,
	/** Colour mixer: the first and the second convolution's level. */
	kColorLevelA,
	kColorLevelB,
	/** Triode: "Distortion", "Q" and "OutGain". */
	kDriveDistortion,
	kDriveQ,
	kDriveOutGain,
	/** Not 0: the triode is bypassed. */
	kDriveBypass,
	/** Not 0: the convolutions are bypassed and their compensation delay takes over. */
	kDecorrBypass,
};

/** How the host shows a parameter. */
struct ParamDisplay
{
	/** Null for none. */
	const char16_t* units;
	/** 0 for a continuous value, 1 for a switch. */
	int32 stepCount;
	double plainMin;
	double plainMax;
	/** Digits after the point. */
	int32 precision;

	constexpr double plainOf (ParamValue normalized) const { return plainMin + (plainMax - plainMin) * normalized; }
};

inline constexpr ParamDisplay kPercentDisplay {u"%", 0, 0.0, 100.0, 0};
inline constexpr ParamDisplay kSwitchDisplay {nullptr, 1, 0.0, 1.0, 0};

/** One block parameter that a value drives, and how. */
struct ParamMapping
{
	ParamTarget target {ParamTarget::kNone};
	ParamCurve curve {};
};

struct PlugParameter
{
	static constexpr int32 kMaxMappings = 3;

	ParamID tag;
	const char16_t* title;
	ParamDisplay display;
	ParamValue defaultValue;
	int32 flags;
	/** Applied in this order; unused entries have no target. */
	ParamMapping mappings[kMaxMappings];
};

inline constexpr PlugParameter kPlugParameters[] = {
    {kMixId, u"Mix", kPercentDisplay, 0.5, ParameterInfo::kCanAutomate,
     {{ParamTarget::kDryLevels, ParamCurve::constant (1.0)},
      {ParamTarget::kWetLevels, ParamCurve::linear (0.0, 1.0)},
      {ParamTarget::kOutputGainDb, ParamCurve::linear (0.0, -6.0)}}},
    {kCentreId, u"Centre", kPercentDisplay, 0.0, ParameterInfo::kCanAutomate,
     {{ParamTarget::kCentreCutoffHz, ParamCurve::exponential (20.0, 1500.0)}}},
    {kDelayId, u"Delay", kPercentDisplay, 0.5, ParameterInfo::kCanAutomate,
     {{ParamTarget::kDelayMs, ParamCurve::linear (3.0, 45.0)}}},
    {kColorId, u"Color", kPercentDisplay, 0.0, ParameterInfo::kCanAutomate,
     {{ParamTarget::kColorLevelA, ParamCurve::quarterCosine ()},
      {ParamTarget::kColorLevelB, ParamCurve::quarterSine ()}}},
    {kDecorrBypassId, u"Decorr Bypass", kSwitchDisplay, 0.0, ParameterInfo::kCanAutomate,
     {{ParamTarget::kDecorrBypass, ParamCurve::switchAboveHalf ()}}},
    {kShiftId, u"Shift", kPercentDisplay, 0.1, ParameterInfo::kCanAutomate,
     {{ParamTarget::kShiftHz, ParamCurve::linear (0.001, 1.0)},
      {ParamTarget::kShiftLfoRate, ParamCurve::linear (1.95, 3.32)},
      {ParamTarget::kShiftLfoDepth, ParamCurve::linear (1.4, 2.5)}}},
    {kShiftBypassId, u"Shift Bypass", kSwitchDisplay, 0.0, ParameterInfo::kCanAutomate,
     {{ParamTarget::kShifterBypass, ParamCurve::switchAboveHalf ()}}},
    {kDriveId, u"Drive", kPercentDisplay, 0.0, ParameterInfo::kCanAutomate,
     {{ParamTarget::kDriveDistortion, ParamCurve::exponential (2.0, 50.0)},
      {ParamTarget::kDriveQ, ParamCurve::exponential (-3.0, -0.02)},
      {ParamTarget::kDriveOutGain, ParamCurve::linear (1.3, 1.6)}}},
    {kDriveBypassId, u"Drive Bypass", kSwitchDisplay, 1.0, ParameterInfo::kCanAutomate,
     {{ParamTarget::kDriveBypass, ParamCurve::switchAboveHalf ()}}},
    // The processor base switches the effect path and its latency-matching delay.
    {kBypassId, u"Bypass", kSwitchDisplay, 0.0, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass, {}},
};

/** The row of a tag; null for a tag that names no parameter. */
constexpr const PlugParameter* findPlugParameter (ParamID tag)
{
	for (const PlugParameter& parameter : kPlugParameters)
	{
		if (parameter.tag == tag)
			return &parameter;
	}
	return nullptr;
}

/** The curve a target is driven by; every target but kNone has one row that drives it. */
constexpr ParamCurve curveOf (ParamTarget target)
{
	for (const PlugParameter& parameter : kPlugParameters)
	{
		for (const ParamMapping& mapping : parameter.mappings)
		{
			if (mapping.target == target)
				return mapping.curve;
		}
	}
	return ParamCurve {};
}

} // namespace Vst
} // namespace Steinberg
