#pragma once

#include "pluginterfaces/base/ftypes.h"

#include <cstring>
#include <type_traits>

namespace KOREMU {
namespace DSPLib {

// The fixed stages' block loops two frames at a time: the compiler leaves a loop of unknown
// length, or one that runs down one array and up another, scalar. Every frame's arithmetic is
// that of the scalar loop.
namespace FrameLoops {

using Steinberg::int32;

typedef double Pair __attribute__ ((vector_size (16)));
typedef long long PairIndex __attribute__ ((vector_size (16)));

inline Pair loadPair (const double* p)
{
	Pair v;
	std::memcpy (&v, p, sizeof v);
	return v;
}

inline void storePair (double* p, Pair v)
{
	std::memcpy (p, &v, sizeof v);
}

// to[0] = from[1], to[1] = from[0].
inline void storeSwapped (double* to, const double* from)
{
	storePair (to, __builtin_shuffle (loadPair (from), PairIndex {1, 0}));
}

// The value passes unseen: a loop the compiler recognised as a fill or a copy would become a
// library call or a string instruction, both slow to start on blocks this short.
inline Pair opaque (Pair v)
{
	asm ("" : "+x"(v));
	return v;
}

// out[i] = 0.
inline void clear (double* out, int32 count)
{
	const Pair zero = opaque (Pair {0.0, 0.0});
	int32 i = 0;
	for (; i + 2 <= count; i += 2)
		storePair (out + i, zero);
	for (; i < count; ++i)
		out[i] = 0.0;
}

// out[i] = values[i] as a Sample.
template <typename Sample>
void convert (Sample* out, const double* values, int32 count)
{
	int32 i = 0;
	if constexpr (std::is_same_v<Sample, double>)
	{
		for (; i + 2 <= count; i += 2)
			storePair (out + i, opaque (loadPair (values + i)));
	}
	for (; i < count; ++i)
		out[i] = static_cast<Sample> (values[i]);
}

// sums[i] += factor * input[i].
template <typename Sample>
void addScaled (double* sums, const Sample* input, double factor, int32 count)
{
	int32 i = 0;
	if constexpr (std::is_same_v<Sample, double>)
	{
		const Pair factors = {factor, factor};
		for (; i + 2 <= count; i += 2)
			storePair (sums + i, loadPair (sums + i) + factors * loadPair (input + i));
	}
	for (; i < count; ++i)
		sums[i] += factor * static_cast<double> (input[i]);
}

// out[i] = first[i] + second[i].
inline void addFrames (double* out, const double* first, const double* second, int32 count)
{
	int32 i = 0;
	for (; i + 2 <= count; i += 2)
		storePair (out + i, loadPair (first + i) + loadPair (second + i));
	for (; i < count; ++i)
		out[i] = first[i] + second[i];
}

} // namespace FrameLoops

} // namespace DSPLib
} // namespace KOREMU
