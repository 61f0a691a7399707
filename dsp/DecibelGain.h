#pragma once

#include <cmath>

namespace KOREMU {
namespace DSPLib {

// log2 (10) / 20: 2^(dB x this) is 10^(dB / 20), and exactly 1 at 0 dB.
constexpr double kDecibelsToLog2 = 0.16609640474436813;

inline double decibelsToGain (double decibels)
{
	return std::exp2 (decibels * kDecibelsToLog2);
}

} // namespace DSPLib
} // namespace KOREMU
