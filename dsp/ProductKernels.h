#pragma once

#include "pluginterfaces/base/ftypes.h"

namespace KOREMU {
namespace DSPLib {

using Steinberg::int32;

// The arithmetic of the Karatsuba block product, vectorised over the output index. Every output
// element sees the same additions in the same order as the plain scalar loops, so the bits do not
// depend on the vector width. Each unit the processor has is timed once, off the audio thread,
// and the kernels run on the fastest: a wider unit is not faster on every processor.
class ProductKernels
{
public:
	// Below this many terms the schoolbook product beats another level of recursion.
	static constexpr int32 kSchoolbookLimit = 29;

	// The leaf length of every power-of-two block product above the schoolbook limit.
	static constexpr int32 kLeafLength = 16;
	// The length of a split into leaves.
	static constexpr int32 kLeafSplitLength = 2 * kLeafLength;

	// One Karatsuba step on kLeafSplitLength terms: out (2 x kLeafSplitLength terms) = a * b. The
	// same bits as the differences of a and b, the three leaf products (a_hi - a_lo)(b_lo - b_hi),
	// a_lo b_lo, a_hi b_hi and the combine, in that order.
	struct LeafSplit
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
	static void leafSplit (const LeafSplit& split);
	// Two splits of the same b, each with leafSplit's bits; b's part of the work is done once.
	static void leafSplitPair (const LeafSplit& first, const LeafSplit& second);
	// out[k] = first[k] - second[k] for k = 0 ... count - 1.
	static void differences (double* out, const double* first, const double* second, int32 count);
	// Adds the middle term of a Karatsuba step on n terms: out holds a_lo b_lo and a_hi b_hi,
	// middle holds (a_hi - a_lo)(b_lo - b_hi).
	static void combine (double* out, const double* middle, int32 n);

	// leafSplit and leafSplitPair of one unit.
	struct Splits
	{
		void (*single) (const LeafSplit& split);
		void (*pair) (const LeafSplit& first, const LeafSplit& second);
	};

	// The kernels of one unit, for a caller that runs many small products in a row: the unit is
	// looked up once, not at every call.
	struct Unit
	{
		Splits splits;
		// The splits for a's whose odd terms are all zero, as a Hilbert filter's are: those terms'
		// rows are left out. For finite b that leaves every sum's bits as they are, since a sum is
		// never -0 and adding a product of 0 to it changes nothing.
		Splits evenSplits;
		void (*differences) (double* out, const double* first, const double* second, int32 count);
		void (*combine) (double* out, const double* middle, int32 n);
	};

	// The widest unit this processor has.
	static Width widest ();
	// The unit the kernels above run on. The first call times the units (well under a
	// millisecond); call it at setup, never first on the audio thread.
	static Width chosen ();
	// The kernels on the chosen unit; the first call times the units, as chosen does.
	static const Unit& chosenUnit ();
	// The same kernels on a given unit (on the widest there is, when that one is missing), so
	// that every variant can be checked and timed on one machine.
	static void schoolbookAt (Width width, double* out, const double* a, const double* b, int32 n);
	static void leafSplitAt (Width width, const LeafSplit& split);
	static void leafSplitPairAt (Width width, const LeafSplit& first, const LeafSplit& second);
	static void differencesAt (Width width, double* out, const double* first, const double* second, int32 count);
	static void combineAt (Width width, double* out, const double* middle, int32 n);
	static const Unit& unitAt (Width width);
};

} // namespace DSPLib
} // namespace KOREMU
