#include "dsp/ProductKernels.h"

#include <immintrin.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <utility>

namespace KOREMU {
namespace DSPLib {

namespace {

// Float64 lanes: two fill an SSE2 register, four an AVX one, eight an AVX-512 one.
typedef double Lanes2 __attribute__ ((vector_size (16)));
typedef double Lanes4 __attribute__ ((vector_size (32)));
typedef double Lanes8 __attribute__ ((vector_size (64)));

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

constexpr int32 kLeaf = ProductKernels::kLeafLength;

// The rows of a leaf, one per term of a: stride 1 takes them all, stride 2 the even ones alone,
// for an a whose odd terms are zero.
template <int32 stride, int32... k>
constexpr auto strided (std::integer_sequence<int32, k...>)
{
	return std::integer_sequence<int32, (stride * k)...> {};
}

template <int32 stride>
constexpr auto leafRows ()
{
	return strided<stride> (std::make_integer_sequence<int32, kLeaf / stride> {});
}

// --- SSE2, the baseline: b in eight registers of two terms; a window at an odd offset is cut
// from two of them, at an even one it is one of them.

struct Pairs
{
	__m128d p[8];
};

template <int32 q>
__attribute__ ((always_inline)) inline __m128d pairOf (const Pairs& b)
{
	if constexpr (q < 0 || q > 7)
		return _mm_setzero_pd ();
	else
		return b.p[q];
}

// b[t], b[t + 1], +0 outside the 16 terms.
template <int32 t>
__attribute__ ((always_inline)) inline __m128d window128 (const Pairs& b)
{
	constexpr int32 q = (t + 2) / 2 - 1;
	if constexpr (t - 2 * q == 0)
		return pairOf<q> (b);
	else
		return _mm_shuffle_pd (pairOf<q> (b), pairOf<q + 1> (b), 0x1);
}

// Four sums of two outputs each, from output 2 first on.
struct Quarter128
{
	__m128d v[4];
};

template <int32 first, int32 i, int32 s>
__attribute__ ((always_inline)) inline void addTerm128 (Quarter128& sums, __m128d ai, const Pairs& b)
{
	constexpr int32 t = 2 * (first + s) - i;
	if constexpr (t + 1 >= 0 && t < kLeaf)
		sums.v[s] = _mm_add_pd (_mm_mul_pd (ai, window128<t> (b)), sums.v[s]);
}

template <int32 first, int32 i>
__attribute__ ((always_inline)) inline void addRow128 (Quarter128& sums, const double*& a, const Pairs& b)
{
	const __m128d ai = _mm_set1_pd (a[i]);
	addTerm128<first, i, 0> (sums, ai, b);
	addTerm128<first, i, 1> (sums, ai, b);
	addTerm128<first, i, 2> (sums, ai, b);
	addTerm128<first, i, 3> (sums, ai, b);
	// The next row's term of a after this row's sums, as for the wider units.
	asm ("" : "+x"(sums.v[0]), "+x"(sums.v[1]), "+x"(sums.v[2]), "+x"(sums.v[3]), "+r"(a));
}

// Outputs 2 first ... 2 first + 7, rows i = 0 ... 15 in turn.
template <int32 first, int32... i>
__attribute__ ((always_inline)) inline void quarter128 (double* out, const double* a, const Pairs& b,
                                                       std::integer_sequence<int32, i...>)
{
	Quarter128 sums;
	for (__m128d& v : sums.v)
		v = _mm_setzero_pd ();
	(addRow128<first, i> (sums, a, b), ...);
	for (int32 s = 0; s < 4; ++s)
		_mm_storeu_pd (out + 2 * (first + s), sums.v[s]);
}

template <int32 stride>
void leafBaseline (double* out, const double* a, const double* b)
{
	Pairs pairs;
	for (int32 q = 0; q < 8; ++q)
		pairs.p[q] = _mm_loadu_pd (b + 2 * q);
	constexpr auto rows = leafRows<stride> ();
	quarter128<0> (out, a, pairs, rows);
	quarter128<4> (out, a, pairs, rows);
	quarter128<8> (out, a, pairs, rows);
	quarter128<12> (out, a, pairs, rows);
}

// --- AVX-512: a leaf's b in two registers; every window of b is cut from them, so the sums read
// no memory but a's terms.

// Eight terms from offset `by` of the sixteen in low and high, as valignq cuts them.
template <int32 by>
__attribute__ ((target ("avx512f"), always_inline)) inline __m512d across512 (__m512d low, __m512d high)
{
	// All lanes kept: the unmasked form's undefined source trips a false uninitialised warning.
	return _mm512_castsi512_pd (_mm512_maskz_alignr_epi64 (0xFF, _mm512_castpd_si512 (high), _mm512_castpd_si512 (low), by));
}

// b[t ... t + 7] of the 16 terms in lo and hi, +0 outside them.
template <int32 t>
__attribute__ ((target ("avx512f"), always_inline)) inline __m512d window512 (__m512d lo, __m512d hi)
{
	const __m512d zero = _mm512_setzero_pd ();
	if constexpr (t == 0)
		return lo;
	else if constexpr (t == kLeaf / 2)
		return hi;
	else if constexpr (t < 0)
		return across512<t + 8> (zero, lo);
	else if constexpr (t < kLeaf / 2)
		return across512<t> (lo, hi);
	else
		return across512<t - 8> (hi, zero);
}

// The four sums of eight outputs each; sum s takes a[i] b[8 s + lane - i].
struct Sums512
{
	__m512d v[4];
};

// One window of b, cut once, goes into the sums of every a that multiplies this b.
template <int32 i, int32 s, int32 count>
__attribute__ ((target ("avx512f"), always_inline)) inline void addTerm512 (Sums512 (&sums)[count],
                                                                           const __m512d (&ai)[count], __m512d lo,
                                                                           __m512d hi)
{
	constexpr int32 t = 8 * s - i;
	if constexpr (t + 7 >= 0 && t < kLeaf)
	{
		const __m512d window = window512<t> (lo, hi);
		for (int32 l = 0; l < count; ++l)
			sums[l].v[s] = _mm512_add_pd (_mm512_mul_pd (ai[l], window), sums[l].v[s]);
	}
}

template <int32 i, int32 count>
__attribute__ ((target ("avx512f"), always_inline)) inline void addRow512 (Sums512 (&sums)[count],
                                                                          const double* (&a)[count], __m512d lo,
                                                                          __m512d hi)
{
	__m512d ai[count];
	for (int32 l = 0; l < count; ++l)
		ai[l] = _mm512_set1_pd (a[l][i]);
	addTerm512<i, 0> (sums, ai, lo, hi);
	addTerm512<i, 1> (sums, ai, lo, hi);
	addTerm512<i, 2> (sums, ai, lo, hi);
	addTerm512<i, 3> (sums, ai, lo, hi);
	// The next row's terms of a are loaded after this row's sums: loaded all at once, the terms
	// would leave too few registers for the sums and windows.
	for (int32 l = 0; l < count; ++l)
		asm ("" : "+v"(sums[l].v[0]), "+v"(sums[l].v[1]), "+v"(sums[l].v[2]), "+v"(sums[l].v[3]), "+r"(a[l]));
}

// The leaves of `count` a's with one b, rows i = 0 ... 15 in turn: every output's additions in
// the scalar loop's order.
template <int32 count, int32... i>
__attribute__ ((target ("avx512f"), always_inline)) inline void leaves512 (Sums512 (&sums)[count],
                                                                          const double* (&a)[count], __m512d lo,
                                                                          __m512d hi, std::integer_sequence<int32, i...>)
{
	for (Sums512& leaf : sums)
		for (__m512d& v : leaf.v)
			v = _mm512_setzero_pd ();
	(addRow512<i> (sums, a, lo, hi), ...);
}

__attribute__ ((target ("avx512f"))) void leafAvx512 (double* out, const double* a, const double* b)
{
	Sums512 sums[1];
	const double* terms[1] = {a};
	leaves512 (sums, terms, _mm512_loadu_pd (b), _mm512_loadu_pd (b + 8), leafRows<1> ());
	for (int32 k = 0; k < 4; ++k)
		_mm512_storeu_pd (out + 8 * k, sums[0].v[k]);
}

// Makes the compiler cut the next leaves' windows from low and high only after the last leaves'
// sums are done; it would otherwise cut every leaf's windows first and spill them.
template <int32 count>
__attribute__ ((target ("avx512f"), always_inline)) inline void after512 (const Sums512 (&done)[count], __m512d& low,
                                                                         __m512d& high)
{
	for (int32 l = 0; l < count; ++l)
		asm ("" : "+v"(low), "+v"(high) : "v"(done[l].v[0]), "v"(done[l].v[1]), "v"(done[l].v[2]), "v"(done[l].v[3]));
}

// `count` splits of one b, each whole in registers: the differences of a and b, the three
// leaves and the combine, whose terms never leave them. The windows of b serve every split.
// The splits are read field by field where they lie: a copy would load two fields at once, and
// wait for the two stores that wrote them.
template <int32 count, int32 stride>
__attribute__ ((target ("avx512f"), always_inline)) inline void leafSplits512 (
    const ProductKernels::LeafSplit* const (&splits)[count])
{
	const double* b = splits[0]->b;
	__m512d lowLo = _mm512_loadu_pd (b), lowHi = _mm512_loadu_pd (b + 8);
	__m512d highLo = _mm512_loadu_pd (b + kLeaf), highHi = _mm512_loadu_pd (b + kLeaf + 8);
	const double* lowTerms[count];
	const double* highTerms[count];
	const double* differenceTerms[count];
	// a_hi - a_lo a vector at a time, each term broadcast from memory as the rows need it.
	alignas (64) double differences[count][kLeaf];
	for (int32 l = 0; l < count; ++l)
	{
		const double* a = splits[l]->a;
		lowTerms[l] = a;
		highTerms[l] = a + kLeaf;
		for (int32 k = 0; k < kLeaf; k += 8)
			_mm512_store_pd (differences[l] + k, _mm512_sub_pd (_mm512_loadu_pd (a + kLeaf + k), _mm512_loadu_pd (a + k)));
		differenceTerms[l] = differences[l];
		// Hidden from the compiler, which would otherwise cut each term out of the registers it
		// stored, at a shuffle each.
		asm ("" : "+r"(differenceTerms[l]) : : "memory");
	}
	constexpr auto rows = leafRows<stride> ();
	Sums512 middle[count], low[count], high[count];
	leaves512 (middle, differenceTerms, _mm512_sub_pd (lowLo, highLo), _mm512_sub_pd (lowHi, highHi), rows);
	after512 (middle, lowLo, lowHi);
	leaves512 (low, lowTerms, lowLo, lowHi, rows);
	after512 (low, highLo, highHi);
	leaves512 (high, highTerms, highLo, highHi, rows);
	for (int32 l = 0; l < count; ++l)
	{
		double* out = splits[l]->out;
		for (int32 k = 0; k < 2; ++k)
		{
			// combine, j = 8 k ... 8 k + 7: t = out[32 + j] + out[16 + j], and so on.
			const __m512d t = _mm512_add_pd (high[l].v[k], low[l].v[k + 2]);
			_mm512_storeu_pd (out + 8 * k, low[l].v[k]);
			_mm512_storeu_pd (out + kLeaf + 8 * k, _mm512_add_pd (_mm512_add_pd (low[l].v[k], t), middle[l].v[k]));
			_mm512_storeu_pd (out + 2 * kLeaf + 8 * k,
			                  _mm512_add_pd (_mm512_add_pd (t, high[l].v[k + 2]), middle[l].v[k + 2]));
			_mm512_storeu_pd (out + 3 * kLeaf + 8 * k, high[l].v[k + 2]);
		}
	}
}

template <int32 stride>
__attribute__ ((target ("avx512f"))) void leafSplitAvx512 (const ProductKernels::LeafSplit& split)
{
	const ProductKernels::LeafSplit* const splits[1] = {&split};
	leafSplits512<1, stride> (splits);
}

template <int32 stride>
__attribute__ ((target ("avx512f"))) void leafSplitPairAvx512 (const ProductKernels::LeafSplit& first,
                                                              const ProductKernels::LeafSplit& second)
{
	const ProductKernels::LeafSplit* const splits[2] = {&first, &second};
	leafSplits512<2, stride> (splits);
}

// --- AVX2: the same with four registers of b, windows cut with lane permutes and shuffles.

struct Quarters
{
	__m256d q[4];
};

template <int32 q>
__attribute__ ((target ("avx2"), always_inline)) inline __m256d quarter (const Quarters& b)
{
	if constexpr (q < 0 || q > 3)
		return _mm256_setzero_pd ();
	else
		return b.q[q];
}

// b[t ... t + 3], +0 outside the 16 terms.
template <int32 t>
__attribute__ ((target ("avx2"), always_inline)) inline __m256d window256 (const Quarters& b)
{
	constexpr int32 q = (t + 4) / 4 - 1;
	constexpr int32 r = t - 4 * q;
	const __m256d first = quarter<q> (b);
	const __m256d second = quarter<q + 1> (b);
	if constexpr (r == 0)
		return first;
	else
	{
		// first's upper half and second's lower half: the window at t = 4 q + 2.
		const __m256d across = _mm256_permute2f128_pd (first, second, 0x21);
		if constexpr (r == 1)
			return _mm256_shuffle_pd (first, across, 0x5);
		else if constexpr (r == 2)
			return across;
		else
			return _mm256_shuffle_pd (across, second, 0x5);
	}
}

// Four sums of four outputs each, from output 4 first on: sum s takes a[i] b[first + 4 s + lane - i].
// Sixteen registers hold one such half of a leaf's sums with b and a window, not the whole leaf.
struct Half256
{
	__m256d v[4];
};

template <int32 first, int32 i, int32 s>
__attribute__ ((target ("avx2"), always_inline)) inline void addTerm256 (Half256& sums, __m256d ai, const Quarters& b)
{
	constexpr int32 t = 4 * (first + s) - i;
	if constexpr (t + 3 >= 0 && t < kLeaf)
		sums.v[s] = _mm256_add_pd (_mm256_mul_pd (ai, window256<t> (b)), sums.v[s]);
}

template <int32 first, int32 i>
__attribute__ ((target ("avx2"), always_inline)) inline void addRow256 (Half256& sums, const double*& a, const Quarters& b)
{
	const __m256d ai = _mm256_set1_pd (a[i]);
	addTerm256<first, i, 0> (sums, ai, b);
	addTerm256<first, i, 1> (sums, ai, b);
	addTerm256<first, i, 2> (sums, ai, b);
	addTerm256<first, i, 3> (sums, ai, b);
	// As for AVX-512: the next row's term of a after this row's sums.
	asm ("" : "+x"(sums.v[0]), "+x"(sums.v[1]), "+x"(sums.v[2]), "+x"(sums.v[3]), "+r"(a));
}

// Outputs 4 first ... 4 first + 15, rows i = 0 ... 15 in turn.
template <int32 first, int32... i>
__attribute__ ((target ("avx2"), always_inline)) inline void half256 (double* out, const double* a, const Quarters& b,
                                                                     std::integer_sequence<int32, i...>)
{
	Half256 sums;
	for (__m256d& v : sums.v)
		v = _mm256_setzero_pd ();
	(addRow256<first, i> (sums, a, b), ...);
	for (int32 s = 0; s < 4; ++s)
		_mm256_storeu_pd (out + 4 * (first + s), sums.v[s]);
}

__attribute__ ((target ("avx2"), always_inline)) inline Quarters quarters (const double* b)
{
	return {{_mm256_loadu_pd (b), _mm256_loadu_pd (b + 4), _mm256_loadu_pd (b + 8), _mm256_loadu_pd (b + 12)}};
}

template <int32 stride>
__attribute__ ((target ("avx2"))) void leafAvx2 (double* out, const double* a, const double* b)
{
	const Quarters quarter = quarters (b);
	constexpr auto rows = leafRows<stride> ();
	half256<0> (out, a, quarter, rows);
	half256<4> (out, a, quarter, rows);
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

__attribute__ ((target ("avx512f"))) void differencesAvx512 (double* out, const double* first, const double* second,
                                                            int32 count)
{
	differencesOn<Lanes8> (out, first, second, count);
}

__attribute__ ((target ("avx512f"))) void combineAvx512 (double* out, const double* middle, int32 n)
{
	combineOn<Lanes8> (out, middle, n);
}

using LeafFunction = void (*) (double*, const double*, const double*);
using Differences = void (*) (double*, const double*, const double*, int32);
using Combine = void (*) (double*, const double*, int32);

// The split as separate passes, the middle product in a buffer of its own.
__attribute__ ((always_inline)) inline void composedLeafSplit (const ProductKernels::LeafSplit& split,
                                                               LeafFunction leaf, Differences difference,
                                                               Combine combine)
{
	double aDiff[kLeaf];
	double bDiff[kLeaf];
	double middle[2 * kLeaf];
	difference (aDiff, split.a + kLeaf, split.a, kLeaf);
	difference (bDiff, split.b, split.b + kLeaf, kLeaf);
	leaf (middle, aDiff, bDiff);
	leaf (split.out, split.a, split.b);
	leaf (split.out + 2 * kLeaf, split.a + kLeaf, split.b + kLeaf);
	combine (split.out, middle, ProductKernels::kLeafSplitLength);
}

template <int32 stride>
void leafSplitBaseline (const ProductKernels::LeafSplit& split)
{
	composedLeafSplit (split, leafBaseline<stride>, differencesBaseline, combineBaseline);
}

// Sixteen registers hold one leaf's sums, not three: the leaves run one after another.
template <int32 stride>
__attribute__ ((target ("avx2"))) void leafSplitAvx2 (const ProductKernels::LeafSplit& split)
{
	composedLeafSplit (split, leafAvx2<stride>, differencesAvx2, combineAvx2);
}

// Without room for two leaves' sums and the windows, a pair runs as two splits.
template <int32 stride>
void leafSplitPairBaseline (const ProductKernels::LeafSplit& first, const ProductKernels::LeafSplit& second)
{
	leafSplitBaseline<stride> (first);
	leafSplitBaseline<stride> (second);
}

template <int32 stride>
__attribute__ ((target ("avx2"))) void leafSplitPairAvx2 (const ProductKernels::LeafSplit& first,
                                                         const ProductKernels::LeafSplit& second)
{
	leafSplitAvx2<stride> (first);
	leafSplitAvx2<stride> (second);
}

// By width.
constexpr LeafFunction kLeaves[] = {leafBaseline<1>, leafAvx2<1>, leafAvx512};
constexpr ProductKernels::Unit kUnits[] = {
    {{leafSplitBaseline<1>, leafSplitPairBaseline<1>}, {leafSplitBaseline<2>, leafSplitPairBaseline<2>},
     differencesBaseline, combineBaseline},
    {{leafSplitAvx2<1>, leafSplitPairAvx2<1>}, {leafSplitAvx2<2>, leafSplitPairAvx2<2>}, differencesAvx2, combineAvx2},
    {{leafSplitAvx512<1>, leafSplitPairAvx512<1>}, {leafSplitAvx512<2>, leafSplitPairAvx512<2>}, differencesAvx512,
     combineAvx512},
};

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

// The unit that runs the leaf splits, which hold nearly all of a block product's arithmetic,
// fastest: each unit's best of several rounds, the rounds taking the units in turn so that a
// change of clock weighs on all alike.
ProductKernels::Width fastestWidth ()
{
	constexpr int32 rounds = 9;
	constexpr int32 splitsPerRound = 48;
	constexpr int32 length = ProductKernels::kLeafSplitLength;
	double a[length], b[length], out[2 * length];
	for (int32 k = 0; k < length; ++k)
	{
		a[k] = 1.0 / (k + 3);
		b[k] = 1.0 - 1.0 / (k + 2);
	}
	const ProductKernels::LeafSplit split {out, a, b};
	using Clock = std::chrono::steady_clock;
	const auto units = static_cast<size_t> (ProductKernels::widest ()) + 1;
	std::array<Clock::duration, ProductKernels::kAvx512 + 1> best;
	best.fill (Clock::duration::max ());
	for (int32 round = 0; round < rounds; ++round)
	{
		for (size_t unit = 0; unit < units; ++unit)
		{
			const Clock::time_point start = Clock::now ();
			for (int32 k = 0; k < splitsPerRound; ++k)
				kUnits[unit].splits.single (split);
			best[unit] = std::min (best[unit], Clock::now () - start);
		}
	}
	const auto fastest = std::min_element (best.begin (), best.begin () + static_cast<std::ptrdiff_t> (units));
	return static_cast<ProductKernels::Width> (fastest - best.begin ());
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

ProductKernels::Width ProductKernels::chosen ()
{
	static const Width width = fastestWidth ();
	return width;
}

const ProductKernels::Unit& ProductKernels::chosenUnit ()
{
	static const Unit& unit = unitAt (chosen ());
	return unit;
}

const ProductKernels::Unit& ProductKernels::unitAt (Width width)
{
	return kUnits[runnable (width)];
}

void ProductKernels::schoolbook (double* out, const double* a, const double* b, int32 n)
{
	schoolbookAt (chosen (), out, a, b, n);
}

void ProductKernels::leafSplit (const LeafSplit& split)
{
	chosenUnit ().splits.single (split);
}

void ProductKernels::leafSplitPair (const LeafSplit& first, const LeafSplit& second)
{
	chosenUnit ().splits.pair (first, second);
}

void ProductKernels::differences (double* out, const double* first, const double* second, int32 count)
{
	chosenUnit ().differences (out, first, second, count);
}

void ProductKernels::combine (double* out, const double* middle, int32 n)
{
	chosenUnit ().combine (out, middle, n);
}

void ProductKernels::schoolbookAt (Width width, double* out, const double* a, const double* b, int32 n)
{
	if (n == kLeafLength)
		kLeaves[runnable (width)](out, a, b);
	else
		plainProduct (out, a, b, n);
}

void ProductKernels::leafSplitAt (Width width, const LeafSplit& split)
{
	unitAt (width).splits.single (split);
}

void ProductKernels::leafSplitPairAt (Width width, const LeafSplit& first, const LeafSplit& second)
{
	unitAt (width).splits.pair (first, second);
}

void ProductKernels::differencesAt (Width width, double* out, const double* first, const double* second, int32 count)
{
	unitAt (width).differences (out, first, second, count);
}

void ProductKernels::combineAt (Width width, double* out, const double* middle, int32 n)
{
	unitAt (width).combine (out, middle, n);
}

} // namespace DSPLib
} // namespace KOREMU
