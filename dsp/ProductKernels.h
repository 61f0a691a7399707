#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace KOREMU {
namespace DSPLib {

using Steinberg::int32;

// The arithmetic of the Karatsuba block product, vectorised over the output index. Every output
// element sees the same additions in the same order as the plain scalar loops, so the bits do not
// depend on the vector width; the widest unit the processor has is chosen at run time.
class ProductKernels
{
public:
	// Below this many terms the schoolbook product beats another level of recursion.
	static constexpr int32 kSchoolbookLimit = 29;

	// The leaf length of every power-of-two block product above the schoolbook limit.
	static constexpr int32 kLeafLength = 16;
	// A split of 2 x kLeafLength terms has three leaf products.
	static constexpr int32 kLeavesPerSplit = 3;

	// One schoolbook product to run: out of 2 x kLeafLength terms, a and b of kLeafLength.
	struct Leaf
	{
		double* out;
		const double* a;
		const double* b;
	};

	// The vector units the kernels run on, narrowest first.
	enum Width : int32
	{
		kBaseline = 0,
		kAvx2 = 1,
		kAvx512 = 2,
	};

	// True when a product of n terms takes a Karatsuba step: a power of two above the limit.
	static bool splits (int32 n);

	// out[0 ... 2n - 1] = a * b by the schoolbook rule: out starts at 0 and, for i = 0 ... n - 1
	// in turn, out[i + k] = b[k] * a[i] + out[i + k]. Exact to those loops for finite terms.
	static void schoolbook (double* out, const double* a, const double* b, int32 n);
	// The three independent leaf products of one split, each as schoolbook computes it.
	static void leafSplit (const Leaf* leaves);
	// out[k] = first[k] - second[k] for k = 0 ... count - 1.
	static void differences (double* out, const double* first, const double* second, int32 count);
	// Adds the middle term of a Karatsuba step on n terms: out holds a_lo b_lo and a_hi b_hi,
	// middle holds (a_hi - a_lo)(b_lo - b_hi).
	static void combine (double* out, const double* middle, int32 n);

	// The widest unit this processor has; the kernels above run on it.
	static Width widest ();
	// The same kernels on a given unit (on the widest there is, when that one is missing), so
	// that every variant can be checked on one machine.
	static void schoolbookAt (Width width, double* out, const double* a, const double* b, int32 n);
	static void leavesAt (Width width, const Leaf* leaves, int32 count);
	static void differencesAt (Width width, double* out, const double* first, const double* second, int32 count);
	static void combineAt (Width width, double* out, const double* middle, int32 n);
};

} // namespace DSPLib
} // namespace KOREMU
