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
