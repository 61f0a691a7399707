// The product kernels at every vector width against the scalar loops they stand for.
#include "tests/support/GraphHarness.h"
#include "tests/support/Measure.h"

#include "dsp/Convolver.h"
#include "dsp/ProductKernels.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace veltrane_test;

namespace {

// The scalar loops of the schoolbook product, in their order of operations.
std::vector<double> scalarSchoolbook (const double* a, const double* b, int32 n)
{
	std::vector<double> out (2 * static_cast<size_t> (n), 0.0);
	for (int32 i = 0; i < n; ++i)
		for (int32 k = 0; k < n; ++k)
			out[static_cast<size_t> (i + k)] = b[k] * a[i] + out[static_cast<size_t> (i + k)];
	return out;
}

// The Karatsuba recursion with scalar loops throughout.
void scalarKaratsuba (double* out, const double* a, const double* b, int32 n, double* scratch)
{
	if (n <= 29)
	{
		const std::vector<double> direct = scalarSchoolbook (a, b, n);
		std::copy (direct.begin (), direct.end (), out);
		return;
	}
	const int32 h = n / 2;
	for (int32 k = 0; k < h; ++k)
	{
		out[k] = a[h + k] - a[k];
		out[h + k] = b[k] - b[h + k];
	}
	scalarKaratsuba (scratch, out, out + h, h, scratch + n);
	scalarKaratsuba (out, a, b, h, scratch + n);
	scalarKaratsuba (out + n, a + h, b + h, h, scratch + n);
	for (int32 j = 0; j < h; ++j)
	{
		const double t = out[n + j] + out[h + j];
		out[h + j] = (out[j] + t) + scratch[j];
		out[n + j] = (t + out[n + h + j]) + scratch[h + j];
	}
}

void expectSameBits (const std::vector<double>& actual, const std::vector<double>& expected)
{
	ASSERT_EQ (actual.size (), expected.size ());
	for (size_t k = 0; k < actual.size (); ++k)
		ASSERT_TRUE (sameBits (actual[k], expected[k])) << "term " << k << ": " << actual[k] << " instead of " << expected[k];
}

// Signed zeros and values of every size besides noise: the vector leaf's padding must not show.
std::vector<double> awkwardTerms (int32 n, unsigned seed)
{
	std::vector<double> v = whiteNoise (static_cast<size_t> (n), seed);
	const double specials[] = {-0.0, 0.0, 1e-310, -3e300, 1.0, -1.0};
	for (size_t k = 0; k < v.size (); k += 3)
		v[k] = specials[(k / 3 + seed) % (sizeof specials / sizeof specials[0])];
	return v;
}

class KernelWidthTest : public ::testing::TestWithParam<ProductKernels::Width>
{
};

TEST_P (KernelWidthTest, SchoolbookHasTheScalarLoopsBits)
{
	for (int32 n : {1, 2, 3, 8, 15, 16, 17, 29, 40})
	{
		for (unsigned seed : {1u, 2u})
		{
			const std::vector<double> a = awkwardTerms (n, seed), b = awkwardTerms (n, seed + 7u);
			std::vector<double> out (2 * static_cast<size_t> (n), 1.0);
			ProductKernels::schoolbookAt (GetParam (), out.data (), a.data (), b.data (), n);
			SCOPED_TRACE (n);
			expectSameBits (out, scalarSchoolbook (a.data (), b.data (), n));
		}
	}
}

// A split into leaves runs whole in registers; it must come out as the scalar recursion's step,
// alone or paired with another split of the same b.
TEST_P (KernelWidthTest, LeafSplitHasTheScalarRecursionsBits)
{
	constexpr int32 n = ProductKernels::kLeafSplitLength;
	for (unsigned seed : {10u, 11u, 12u})
	{
		const std::vector<double> a = awkwardTerms (n, seed), other = awkwardTerms (n, seed + 40u);
		const std::vector<double> b = awkwardTerms (n, seed + 20u);
		std::vector<double> expected (2 * n), otherExpected (2 * n), scratch (2 * n);
		scalarKaratsuba (expected.data (), a.data (), b.data (), n, scratch.data ());
		scalarKaratsuba (otherExpected.data (), other.data (), b.data (), n, scratch.data ());

		std::vector<double> out (2 * n, 1.0), first (2 * n, 1.0), second (2 * n, 1.0);
		ProductKernels::leafSplitAt (GetParam (), {out.data (), a.data (), b.data ()});
		ProductKernels::leafSplitPairAt (GetParam (), {first.data (), a.data (), b.data ()},
		                                 {second.data (), other.data (), b.data ()});
		SCOPED_TRACE (seed);
		expectSameBits (out, expected);
		expectSameBits (first, expected);
		expectSameBits (second, otherExpected);
	}
}

// With a's odd terms zero (signed zeros among them) the even splits leave those rows out; for
// finite b the bits must stay the scalar recursion's.
TEST_P (KernelWidthTest, EvenSplitsHaveTheScalarRecursionsBits)
{
	constexpr int32 n = ProductKernels::kLeafSplitLength;
	const ProductKernels::Splits& even = ProductKernels::unitAt (GetParam ()).evenSplits;
	for (unsigned seed : {13u, 14u, 15u})
	{
		std::vector<double> a = awkwardTerms (n, seed), other = awkwardTerms (n, seed + 40u);
		for (int32 k = 1; k < n; k += 2)
		{
			a[static_cast<size_t> (k)] = k % 4 == 1 ? 0.0 : -0.0;
			other[static_cast<size_t> (k)] = k % 4 == 1 ? -0.0 : 0.0;
		}
		const std::vector<double> b = awkwardTerms (n, seed + 20u);
		std::vector<double> expected (2 * n), otherExpected (2 * n), scratch (2 * n);
		scalarKaratsuba (expected.data (), a.data (), b.data (), n, scratch.data ());
		scalarKaratsuba (otherExpected.data (), other.data (), b.data (), n, scratch.data ());

		std::vector<double> out (2 * n, 1.0), first (2 * n, 1.0), second (2 * n, 1.0);
		even.single ({out.data (), a.data (), b.data ()});
		even.pair ({first.data (), a.data (), b.data ()}, {second.data (), other.data (), b.data ()});
		SCOPED_TRACE (seed);
		expectSameBits (out, expected);
		expectSameBits (first, expected);
		expectSameBits (second, otherExpected);
	}
}

TEST_P (KernelWidthTest, DifferencesAndCombineHaveTheScalarLoopsBits)
{
	for (int32 n : {32, 36, 64, 512})
	{
		const auto terms = 2 * static_cast<size_t> (n);
		const std::vector<double> first = awkwardTerms (n, 5u), second = whiteNoise (static_cast<size_t> (n), 6u);
		std::vector<double> difference (static_cast<size_t> (n));
		ProductKernels::differencesAt (GetParam (), difference.data (), first.data (), second.data (), n);
		std::vector<double> expectedDifference (static_cast<size_t> (n));
		for (size_t k = 0; k < expectedDifference.size (); ++k)
			expectedDifference[k] = first[k] - second[k];

		const std::vector<double> middle = whiteNoise (static_cast<size_t> (n), 7u);
		std::vector<double> out = awkwardTerms (static_cast<int32> (terms), 8u), expected (out);
		ProductKernels::combineAt (GetParam (), out.data (), middle.data (), n);
		const int32 h = n / 2;
		for (int32 j = 0; j < h; ++j)
		{
			const double t = expected[static_cast<size_t> (n + j)] + expected[static_cast<size_t> (h + j)];
			expected[static_cast<size_t> (h + j)] = (expected[static_cast<size_t> (j)] + t) + middle[static_cast<size_t> (j)];
			expected[static_cast<size_t> (n + j)] =
			    (t + expected[static_cast<size_t> (n + h + j)]) + middle[static_cast<size_t> (h + j)];
		}
		SCOPED_TRACE (n);
		expectSameBits (difference, expectedDifference);
		expectSameBits (out, expected);
	}
}

std::string widthName (const ::testing::TestParamInfo<ProductKernels::Width>& info)
{
	switch (info.param)
	{
		case ProductKernels::kBaseline:
			return "Baseline";
		case ProductKernels::kAvx2:
			return "Avx2";
		case ProductKernels::kAvx512:
			break;
	}
	return "Avx512";
}

// Units the processor lacks run on the widest it has, so every row is safe to run.
INSTANTIATE_TEST_SUITE_P (Widths, KernelWidthTest,
                          ::testing::Values (ProductKernels::kBaseline, ProductKernels::kAvx2, ProductKernels::kAvx512),
                          widthName);

TEST (ProductKernels, KaratsubaHasTheScalarRecursionsBits)
{
	for (int32 n : {32, 64, 512, 4096})
	{
		const std::vector<double> a = awkwardTerms (n, 3u), b = whiteNoise (static_cast<size_t> (n), 4u);
		const auto terms = 2 * static_cast<size_t> (n);
		std::vector<double> out (terms), scratch (terms), expected (terms), expectedScratch (terms);
		Convolver::karatsubaProduct (out.data (), a.data (), b.data (), n, scratch.data ());
		scalarKaratsuba (expected.data (), a.data (), b.data (), n, expectedScratch.data ());
		SCOPED_TRACE (n);
		expectSameBits (out, expected);
	}
}

} // namespace
