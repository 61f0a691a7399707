#pragma once

#include "base/source/fobject.h"
#include "pluginterfaces/base/ftypes.h"

#include <cfloat>
#include <cmath>
#include <memory>

namespace KOREMU {
namespace DSPLib {

using Steinberg::char16;
using Steinberg::int32;
using Steinberg::uint32;

class ParameterLink;

// One numeric parameter of a processing block: key, name, value and base value, range,
// behaviour flags, an optional modulation link and one-pole smoothing.
class DSPParameter : public Steinberg::FObject
{
public:
	enum Flags : int32
	{
		kIgnoreUnforced = 0x01,
		kSetupOnly = 0x02,
		kLinkable = 0x04,
		kPerInput = 0x08,
		kPerPair = 0x10,
		kGrouped = 0x20,
		kSmoothed = 0xC0,
	};

	static constexpr int32 kMaxNameLength = 127;

	DSPParameter (uint32 key, const char16* name, int32 flags, double defaultValue);
	~DSPParameter () override;

	DSPParameter (const DSPParameter&) = delete;
	DSPParameter& operator= (const DSPParameter&) = delete;

	void setRange (double minimum, double maximum);
	// Inline: modulation links set their parameter at every sample.
	void setValue (bool setBase, bool force, double v)
	{
		if (hasFlag (kIgnoreUnforced) && !force)
			return;
		value = clamp (v);
		if (setBase)
			baseValue = value;
	}
	// The value, or the next smoothed value: each read of a smoothed parameter advances its smoother.
	// Inline, since blocks read it at every sample; a settled glide stays on its target.
	double getValue () { return holdsSteady () ? value : glide (); }
	// True while reads return the plain value and leave the smoother as it is.
	bool holdsSteady () const
	{
		if (!smootherPrepared || !isSmoothed () || std::isnan (value))
			return true;
		return settledStaysPut && smootherState == value && std::fabs (value) <= kLargestSettledValue;
	}
	int32 prepareSmoothing ();

	bool hasLink () const { return link != nullptr; }
	ParameterLink* getLink () const { return link.get (); }
	void setLink (std::unique_ptr<ParameterLink> newLink);

	uint32 getKey () const { return key; }
	uint32 getBaseKey () const { return baseKey; }
	void setBaseKey (uint32 k) { baseKey = k; }
	bool hasFlag (int32 flag) const { return (flags & flag) == flag; }
	double getPlainValue () const { return value; }
	double getBaseValue () const { return baseValue; }
	void setSampleRate (double rate) { sampleRate = rate; }
	int32 getGroupId () const { return groupId; }
	void setGroupId (int32 id) { groupId = id; }
	void setSmoothingMode (int32 mode) { smoothingMode = mode; }
	void setFollower (bool state) { follower = state; }
	bool isSmoothed () const { return hasFlag (kSmoothed) && smoothingMode == 1 && !link && !follower; }

	OBJ_METHODS (DSPParameter, Steinberg::FObject)

private:
	// Up to this magnitude a settled glide's next step rounds back within the settling tolerance,
	// so the step can be skipped.
	static constexpr double kLargestSettledValue = DBL_MAX / 4.0;

	double glide ();
	double clamp (double v) const
	{
		if (v < minimum)
			return minimum;
		if (v > maximum)
			return maximum;
		return v;
	}
	void settleOnTarget ();

	uint32 key;
	uint32 baseKey {0};
	char16 name[kMaxNameLength + 1] {};
	double value;
	double baseValue;
	double sampleRate {44100.0};
	int32 flags;
	std::unique_ptr<ParameterLink> link;
	bool follower {false};
	int32 smoothingMode {1};
	double minimum;
	double maximum;
	int32 groupId {0};
	double smoothingTimeMs {5.0};
	double coefficientA {0.0};
	double coefficientX {0.0};
	double smootherState {0.0};
	bool smootherPrepared {false};
	// True when the coefficients keep a glide that reached its target there.
	bool settledStaysPut {false};
};

} // namespace DSPLib
} // namespace KOREMU
