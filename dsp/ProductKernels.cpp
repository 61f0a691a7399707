#include "dsp/ProductKernels.h"

#include <algorithm>
#include <cstring>

namespace KOREMU {
namespace DSPLib {

namespace {

// Four float64 lanes: one AVX register, or two SSE2 registers on the baseline target.
typedef double Lanes __attribute__ ((vector_size (32)));
constexpr int32 kLanes = static_cast<int32> (sizeof (Lanes) / sizeof (double));

// The leaf length of every power-of-two block product above the schoolbook limit.
constexpr int32 kLeafLength = 16;

// Unaligned moves; taking and giving lanes by reference keeps them out of the calling convention.
__attribute__ ((always_inline)) inline void load (Lanes& v, const double* p)
{
	std::memcpy (&v, p, sizeof v);
}

__attribute__ ((always_inline)) inline void store (double* p, const Lanes& v)
{
	std::memcpy (p, &v, sizeof v);
}

// The schoolbook product of a 16-term leaf with all 32 sums in registers. The window of b is
// zero-padded on both sides; the padding's terms are signed zeros, which leave a sum that
// starts at +0 unchanged.
__attribute__ ((always_inline)) inline void leafProduct (double* out, const double* a, const double* b)
{
	constexpr int32 n = kLeafLength;
	constexpr int32 sums = 2 * n / kLanes;
	double padded[3 * n] {};
	std::copy (b, b + n, padded + n - 1);
	Lanes acc[sums] {};
	for (int32 i = 0; i < n; ++i)
	{
		const Lanes ai = {a[i], a[i], a[i], a[i]};
		const double* window = padded + n - 1 - i;
#pragma GCC unroll 8
		for (int32 s = 0; s < sums; ++s)
		{
			Lanes bk;
			load (bk, window + s * kLanes);
			acc[s] = ai * bk + acc[s];
		}
	}
	for (int32 s = 0; s < sums; ++s)
		store (out + s * kLanes, acc[s]);
}

__attribute__ ((always_inline)) inline void plainProduct (double* __restrict out, const double* __restrict a, const double* __restrict b, int32 n)
{
	std::fill (out, out + 2 * static_cast<size_t> (n), 0.0);
	for (int32 i = 0; i < n; ++i)
	{
		for (int32 k = 0; k < n; ++k)
			out[i + k] = b[k] * a[i] + out[i + k];
	}
}

} // namespace

bool ProductKernels::splits (int32 n)
{
	return n > kSchoolbookLimit && (n & (n - 1)) == 0;
}

__attribute__ ((target_clones ("avx2", "default"))) void ProductKernels::schoolbook (double* out, const double* a,
                                                                                      const double* b, int32 n)
{
	if (n == kLeafLength)
		leafProduct (out, a, b);
	else
		plainProduct (out, a, b, n);
}

__attribute__ ((target_clones ("avx2", "default"))) void ProductKernels::differences (double* out,
                                                                                       const double* first,
                                                                                       const double* second,
                                                                                       int32 count)
{
	int32 k = 0;
	for (; k + kLanes <= count; k += kLanes)
	{
		Lanes x, y;
		load (x, first + k);
		load (y, second + k);
		store (out + k, x - y);
	}
	for (; k < count; ++k)
		out[k] = first[k] - second[k];
}

// No element's sums read another element's result, so the lanes run side by side.
__attribute__ ((target_clones ("avx2", "default"))) void ProductKernels::combine (double* out, const double* middle,
                                                                                   int32 n)
{
	const int32 h = n / 2;
	int32 j = 0;
	for (; j + kLanes <= h; j += kLanes)
	{
		Lanes hiLow, mid, lowLow, hiHigh, middleLow, middleHigh;
		load (hiLow, out + n + j);
		load (mid, out + h + j);
		load (lowLow, out + j);
		load (hiHigh, out + n + h + j);
		load (middleLow, middle + j);
		load (middleHigh, middle + h + j);
		const Lanes t = hiLow + mid;
		store (out + h + j, (lowLow + t) + middleLow);
		store (out + n + j, (t + hiHigh) + middleHigh);
	}
	for (; j < h; ++j)
	{
		const double t = out[n + j] + out[h + j];
		out[h + j] = (out[j] + t) + middle[j];
		out[n + j] = (t + out[n + h + j]) + middle[h + j];
	}
}

} // namespace DSPLib
} // namespace KOREMU
