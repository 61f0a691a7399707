#include "dsp/Convolver.h"

#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <vector>

using namespace KOREMU::DSPLib;

namespace {

std::vector<double> randomSequence (int32 n, unsigned seed)
{
	std::mt19937 generator (seed);
	std::uniform_real_distribution<double> uniform (-1.0, 1.0);
	std::vector<double> s (static_cast<size_t> (n));
	for (double& x : s)
		x = uniform (generator);
	return s;
}

// The plain double sum over i + k = t, in extended precision, as the reference.
std::vector<long double> referenceProduct (const std::vector<double>& a, const std::vector<double>& b)
{
	std::vector<long double> out (2 * a.size (), 0.0L);
	for (size_t i = 0; i < a.size (); ++i)
		for (size_t k = 0; k < b.size (); ++k)
			out[i + k] += static_cast<long double> (a[i]) * b[k];
	return out;
}

// Rounding grows with the number of terms summed into each output and the recursion depth.
double toleranceFor (int32 n)
{
	return 1e-15 * n * std::log2 (static_cast<double> (n) + 1.0) + 1e-15;
}

void expectMatchesReference (const std::vector<double>& out, const std::vector<double>& a,
                             const std::vector<double>& b, int32 n)
{
	const std::vector<long double> expected = referenceProduct (a, b);
	ASSERT_EQ (out.size (), expected.size ());
	for (size_t t = 0; t < out.size (); ++t)
		ASSERT_NEAR (out[t], static_cast<double> (expected[t]), toleranceFor (n)) << "term " << t << " of n = " << n;
	EXPECT_EQ (out.back (), 0.0) << "the last term of a 2n-term product is always 0";
}

class PowerOfTwoProductTest : public ::testing::TestWithParam<int32>
{
};

// Scratch and output are sized exactly, so a sanitizer build also checks the 2n scratch bound.
TEST_P (PowerOfTwoProductTest, KaratsubaAndSchoolbookEqualTheExactProduct)
{
	const int32 n = GetParam ();
	const std::vector<double> a = randomSequence (n, 11u + static_cast<unsigned> (n));
	const std::vector<double> b = randomSequence (n, 97u + static_cast<unsigned> (n));
	std::vector<double> fast (2 * static_cast<size_t> (n), 123.0), direct (2 * static_cast<size_t> (n), 123.0);
	std::vector<double> scratch (2 * static_cast<size_t> (n), 0.0);
	Convolver::karatsubaProduct (fast.data (), a.data (), b.data (), n, scratch.data ());
	Convolver::directProduct (direct.data (), a.data (), b.data (), n);
	expectMatchesReference (fast, a, b, n);
	expectMatchesReference (direct, a, b, n);
}

INSTANTIATE_TEST_SUITE_P (Sizes, PowerOfTwoProductTest,
                          ::testing::Values (1, 2, 4, 8, 16, 32, 64, 128, 256, 512, 1024, 2048, 4096));

class OtherSizeProductTest : public ::testing::TestWithParam<int32>
{
};

// Sizes that do not halve exactly at every level: every term must still be there.
TEST_P (OtherSizeProductTest, FallsBackToTheSchoolbookProduct)
{
	const int32 n = GetParam ();
	const std::vector<double> a = randomSequence (n, 5u);
	const std::vector<double> b = randomSequence (n, 6u);
	std::vector<double> fast (2 * static_cast<size_t> (n)), direct (2 * static_cast<size_t> (n));
	std::vector<double> scratch (2 * static_cast<size_t> (n));
	Convolver::karatsubaProduct (fast.data (), a.data (), b.data (), n, scratch.data ());
	Convolver::directProduct (direct.data (), a.data (), b.data (), n);
	EXPECT_EQ (fast, direct);
	expectMatchesReference (fast, a, b, n);
}

INSTANTIATE_TEST_SUITE_P (Sizes, OtherSizeProductTest, ::testing::Values (3, 29, 30, 31, 33, 48, 60, 100, 511, 1000));

TEST (KaratsubaProduct, SizeBelowOneWritesNothing)
{
	const std::vector<double> a {1.0, 2.0}, b {3.0, 4.0};
	for (int32 n : {0, -4})
	{
		std::vector<double> out (4, 7.0), scratch (4, 7.0);
		Convolver::karatsubaProduct (out.data (), a.data (), b.data (), n, scratch.data ());
		Convolver::directProduct (out.data (), a.data (), b.data (), n);
		EXPECT_EQ (out, std::vector<double> (4, 7.0)) << "n = " << n;
	}
}

} // namespace
