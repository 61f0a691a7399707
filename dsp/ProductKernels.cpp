#include "dsp/ProductKernels.h"

#include <immintrin.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace KOREMU {
namespace DSPLib {

namespace {

// Float64 lanes: two fill an SSE2 register, four an AVX one, eight an AVX-512 one.
typedef double Lanes2 __attribute__ ((vector_size (16)));
typedef double Lanes4 __attribute__ ((vector_size (32)));

// Unaligned moves; taking and giving lanes by reference keeps them out of the calling convention.
template <typename Vector>
__attribute__ ((always_inline)) inline void load (Vector& v, const double* p)
{
	std::memcpy (&v, p, sizeof v);
}

template <typename Vector>
__attribute__ ((always_inline)) inline void store (double* p, const Vector& v)
{
	std::memcpy (p, &v, sizeof v);
}

using Leaf = ProductKernels::Leaf;

// The schoolbook products of `count` 16-term leaves side by side, with all their sums in
// registers, so that the leaves' addition chains overlap. Each window of b is zero-padded on
// both sides; the padding's terms are signed zeros, which leave a sum that starts at +0 unchanged.
template <typename Vector, int32 count>
__attribute__ ((always_inline)) inline void leafProducts (const Leaf* leaves)
{
	constexpr auto width = static_cast<int32> (sizeof (Vector) / sizeof (double));
	constexpr int32 n = ProductKernels::kLeafLength;
	constexpr int32 sums = 2 * n / width;
	const Vector zero {};
	double padded[count][3 * n];
	for (int32 l = 0; l < count; ++l)
	{
		for (int32 k = 0; k < n; k += width)
			store (padded[l] + k, zero);
		std::memcpy (padded[l] + n - 1, leaves[l].b, n * sizeof (double));
		for (int32 k = 2 * n - 1; k < 3 * n - width; k += width)
			store (padded[l] + k, zero);
	}
	Vector acc[count][sums] {};
#pragma GCC unroll 16
	for (int32 i = 0; i < n; ++i)
	{
#pragma GCC unroll 3
		for (int32 l = 0; l < count; ++l)
		{
			// x - +0 is x for every x, -0 included: a plain broadcast.
			const Vector ai = leaves[l].a[i] - zero;
			const double* window = padded[l] + n - 1 - i;
#pragma GCC unroll 16
			for (int32 s = 0; s < sums; ++s)
			{
				// Sums s * width ... s * width + width - 1 take a[i] only from i - n + 1 to i + width - 1.
				if (s * width + width - 1 < i || s * width > i + n - 1)
					continue;
				Vector bk;
				load (bk, window + s * width);
				acc[l][s] = ai * bk + acc[l][s];
			}
		}
	}
	for (int32 l = 0; l < count; ++l)
		for (int32 s = 0; s < sums; ++s)
			store (leaves[l].out + s * width, acc[l][s]);
}

// The lanes of a window of eight terms from b[first] on that fall inside b's 16 terms.
constexpr __mmask8 lanesInside (int32 first)
{
	__mmask8 inside = 0;
	for (int32 lane = 0; lane < 8; ++lane)
		if (first + lane >= 0 && first + lane < ProductKernels::kLeafLength)
			inside = static_cast<__mmask8> (inside | (1u << lane));
	return inside;
}

// As leafProducts, with AVX-512's masked loads in place of the padded copies: a lane outside
// b reads nothing and is +0, as the padding was.
template <int32 count>
__attribute__ ((target ("avx512f"), always_inline)) inline void maskedLeafProducts (const Leaf* leaves)
{
	constexpr int32 width = 8;
	constexpr int32 n = ProductKernels::kLeafLength;
	constexpr int32 sums = 2 * n / width;
	__m512d acc[count][sums];
	for (int32 l = 0; l < count; ++l)
		for (int32 s = 0; s < sums; ++s)
			acc[l][s] = _mm512_setzero_pd ();
#pragma GCC unroll 16
	for (int32 i = 0; i < n; ++i)
	{
#pragma GCC unroll 3
		for (int32 l = 0; l < count; ++l)
		{
			const __m512d ai = _mm512_set1_pd (leaves[l].a[i]);
			const auto b = reinterpret_cast<std::intptr_t> (leaves[l].b);
#pragma GCC unroll 4
			for (int32 s = 0; s < sums; ++s)
			{
				const int32 first = s * width - i;
				if (first + width - 1 < 0 || first > n - 1)
					continue;
				const auto window = reinterpret_cast<const double*> (b + first * std::intptr_t {sizeof (double)});
				const __m512d bk = _mm512_maskz_loadu_pd (lanesInside (first), window);
				acc[l][s] = _mm512_add_pd (_mm512_mul_pd (ai, bk), acc[l][s]);
			}
		}
	}
	for (int32 l = 0; l < count; ++l)
		for (int32 s = 0; s < sums; ++s)
			_mm512_storeu_pd (leaves[l].out + s * width, acc[l][s]);
}

// Thirty-two registers hold three leaves' sums.
__attribute__ ((target ("avx512f"))) void leafProductsAvx512 (const Leaf* leaves, int32 count)
{
	if (count == ProductKernels::kLeavesPerSplit)
		maskedLeafProducts<ProductKernels::kLeavesPerSplit> (leaves);
	else
		for (int32 l = 0; l < count; ++l)
			maskedLeafProducts<1> (leaves + l);
}

__attribute__ ((target ("avx2"))) void leafProductsAvx2 (const Leaf* leaves, int32 count)
{
	for (int32 l = 0; l < count; ++l)
		leafProducts<Lanes4, 1> (leaves + l);
}

void leafProductsBaseline (const Leaf* leaves, int32 count)
{
	for (int32 l = 0; l < count; ++l)
		leafProducts<Lanes2, 1> (leaves + l);
}

__attribute__ ((always_inline)) inline void plainProduct (double* __restrict out, const double* __restrict a,
                                                          const double* __restrict b, int32 n)
{
	std::fill (out, out + 2 * static_cast<size_t> (n), 0.0);
	for (int32 i = 0; i < n; ++i)
	{
		for (int32 k = 0; k < n; ++k)
			out[i + k] = b[k] * a[i] + out[i + k];
	}
}


// The loops below, on `Vector` lanes, for AVX2 (wide) or the baseline: each element's
// arithmetic is that of the scalar loop, whatever the width.
template <typename Vector>
__attribute__ ((always_inline)) inline void differencesOn (double* out, const double* first, const double* second,
                                                          int32 count)
{
	constexpr auto width = static_cast<int32> (sizeof (Vector) / sizeof (double));
	int32 k = 0;
	for (; k + width <= count; k += width)
	{
		Vector x, y;
		load (x, first + k);
		load (y, second + k);
		store (out + k, x - y);
	}
	for (; k < count; ++k)
		out[k] = first[k] - second[k];
}

// No element's sums read another element's result, so the lanes run side by side.
template <typename Vector>
__attribute__ ((always_inline)) inline void combineOn (double* out, const double* middle, int32 n)
{
	constexpr auto width = static_cast<int32> (sizeof (Vector) / sizeof (double));
	const int32 h = n / 2;
	int32 j = 0;
	for (; j + width <= h; j += width)
	{
		Vector hiLow, mid, lowLow, hiHigh, middleLow, middleHigh;
		load (hiLow, out + n + j);
		load (mid, out + h + j);
		load (lowLow, out + j);
		load (hiHigh, out + n + h + j);
		load (middleLow, middle + j);
		load (middleHigh, middle + h + j);
		const Vector t = hiLow + mid;
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

__attribute__ ((target ("avx2"))) void differencesAvx2 (double* out, const double* first, const double* second,
                                                        int32 count)
{
	differencesOn<Lanes4> (out, first, second, count);
}

void differencesBaseline (double* out, const double* first, const double* second, int32 count)
{
	differencesOn<Lanes2> (out, first, second, count);
}

__attribute__ ((target ("avx2"))) void combineAvx2 (double* out, const double* middle, int32 n)
{
	combineOn<Lanes4> (out, middle, n);
}

void combineBaseline (double* out, const double* middle, int32 n)
{
	combineOn<Lanes2> (out, middle, n);
}

using LeafProducts = void (*) (const Leaf*, int32);
using Differences = void (*) (double*, const double*, const double*, int32);
using Combine = void (*) (double*, const double*, int32);

// By width; the differences and the combine gain nothing from AVX-512.
constexpr LeafProducts kLeafProducts[] = {leafProductsBaseline, leafProductsAvx2, leafProductsAvx512};
constexpr Differences kDifferences[] = {differencesBaseline, differencesAvx2, differencesAvx2};
constexpr Combine kCombines[] = {combineBaseline, combineAvx2, combineAvx2};

// Chosen once, at the first call: a resolver run by the loader would run before a sanitizer's
// runtime is ready.
ProductKernels::Width detectWidest ()
{
	__builtin_cpu_init ();
	if (__builtin_cpu_supports ("avx512f"))
		return ProductKernels::kAvx512;
	if (__builtin_cpu_supports ("avx2"))
		return ProductKernels::kAvx2;
	return ProductKernels::kBaseline;
}

// The width asked for, or the widest this processor runs when that is narrower.
size_t runnable (ProductKernels::Width width)
{
	return static_cast<size_t> (std::min (width, ProductKernels::widest ()));
}

} // namespace

bool ProductKernels::splits (int32 n)
{
	return n > kSchoolbookLimit && (n & (n - 1)) == 0;
}

ProductKernels::Width ProductKernels::widest ()
{
	static const Width width = detectWidest ();
	return width;
}

void ProductKernels::schoolbook (double* out, const double* a, const double* b, int32 n)
{
	schoolbookAt (widest (), out, a, b, n);
}

void ProductKernels::leafSplit (const Leaf* leaves)
{
	leavesAt (widest (), leaves, kLeavesPerSplit);
}

void ProductKernels::differences (double* out, const double* first, const double* second, int32 count)
{
	differencesAt (widest (), out, first, second, count);
}

void ProductKernels::combine (double* out, const double* middle, int32 n)
{
	combineAt (widest (), out, middle, n);
}

void ProductKernels::schoolbookAt (Width width, double* out, const double* a, const double* b, int32 n)
{
	if (n == kLeafLength)
	{
		const Leaf leaf {out, a, b};
		leavesAt (width, &leaf, 1);
	}
	else
		plainProduct (out, a, b, n);
}

void ProductKernels::leavesAt (Width width, const Leaf* leaves, int32 count)
{
	kLeafProducts[runnable (width)](leaves, count);
}

void ProductKernels::differencesAt (Width width, double* out, const double* first, const double* second, int32 count)
{
	kDifferences[runnable (width)](out, first, second, count);
}

void ProductKernels::combineAt (Width width, double* out, const double* middle, int32 n)
{
	kCombines[runnable (width)](out, middle, n);
}

} // namespace DSPLib
} // namespace KOREMU
