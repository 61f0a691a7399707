// The spread block product against the whole product computed on the first sample of the next
// block, bit for bit.
#include "tests/support/GraphHarness.h"
#include "tests/support/Measure.h"

#include "dsp/Convolver.h"

#include <gtest/gtest.h>

#include <cstring>

using namespace veltrane_test;

namespace {

// One channel of a convolver that runs the whole Karatsuba product when a block is complete.
class WholeProductConvolver
{
public:
	explicit WholeProductConvolver (std::vector<double> paddedResponse)
	: n (paddedResponse.size ())
	, response (std::move (paddedResponse))
	, block (n, 0.0)
	, overlap (n, 0.0)
	, finished (n, 0.0)
	, product (2 * n, 0.0)
	, scratch (2 * n, 0.0)
	{
	}

	double step (double x)
	{
		if (fill == n)
		{
			Convolver::karatsubaProduct (product.data (), response.data (), block.data (), static_cast<int32> (n),
			                             scratch.data ());
			for (size_t k = 0; k + 1 < n; ++k)
				finished[k] = overlap[k] + product[k];
			finished[n - 1] = product[n - 1];
			std::copy (product.begin () + static_cast<std::ptrdiff_t> (n), product.end () - 1, overlap.begin ());
			fill = 0;
		}
		block[fill] = x;
		return finished[fill++];
	}

	// The collected samples, the overlap and the finished samples not yet handed out become zeros.
	void reset ()
	{
		for (std::vector<double>* v : {&block, &overlap, &finished})
			std::fill (v->begin (), v->end (), 0.0);
	}

private:
	size_t n;
	std::vector<double> response;
	std::vector<double> block;
	std::vector<double> overlap;
	std::vector<double> finished;
	std::vector<double> product;
	std::vector<double> scratch;
	size_t fill {0};
};

struct SpreadCase
{
	int32 padded;
	int32 call;       // frames per process call
	int32 blockSize;  // the block size the convolver is configured with
	int32 sampleSize; // 0: float32, 1: float64
	int32 resetAt;    // the sample before whose call the convolver is reset; -1 for none
	bool evenTerms;   // every odd term of the responses is zero, as in a Hilbert filter
};

std::string caseName (const ::testing::TestParamInfo<SpreadCase>& info)
{
	const SpreadCase& c = info.param;
	std::string name = "N" + std::to_string (c.padded) + "_call" + std::to_string (c.call) + "_block" +
	                   std::to_string (c.blockSize) + (c.sampleSize == 0 ? "_f32" : "_f64");
	if (c.resetAt >= 0)
		name += "_reset" + std::to_string (c.resetAt);
	if (c.evenTerms)
		name += "_evenTerms";
	return name;
}

class SpreadProductTest : public ::testing::TestWithParam<SpreadCase>
{
};

template <typename Sample>
void expectSameAsWholeProduct (const SpreadCase& c)
{
	constexpr int32 kChannels = 2;
	const auto n = static_cast<size_t> (c.padded);
	// The first channel's response is one term short of N, so that padding is part of it.
	std::vector<std::vector<double>> responses;
	std::vector<WholeProductConvolver> references;
	for (int32 ch = 0; ch < kChannels; ++ch)
	{
		const size_t length = ch == 0 && n > 1 ? n - 1 : n;
		std::vector<double> r = whiteNoise (length, 11u + static_cast<unsigned> (ch), 0.5);
		r.resize (n, 0.0);
		for (size_t k = 1; c.evenTerms && k < n; k += 2)
			r[k] = k % 4 == 1 ? 0.0 : -0.0;
		responses.push_back (r);
		references.emplace_back (r);
	}
	const double* channels[kChannels] = {responses[0].data (), responses[1].data ()};

	Steinberg::IPtr<Convolver> convolver = Steinberg::owned (new Convolver (1, kChannels));
	convolver->setImpulseResponse (channels, c.padded);
	convolver->setSampleRate (48000.0);
	convolver->setBlockSize (c.blockSize);
	convolver->setSampleSize (c.sampleSize);
	ASSERT_EQ (convolver->setup (), 0);

	const size_t total = 4 * n + 3 * static_cast<size_t> (c.call) + 77;
	std::vector<std::vector<Sample>> in (kChannels), out (kChannels);
	for (int32 ch = 0; ch < kChannels; ++ch)
	{
		for (double x : whiteNoise (total, 21u + static_cast<unsigned> (ch)))
			in[static_cast<size_t> (ch)].push_back (static_cast<Sample> (x));
		out[static_cast<size_t> (ch)].assign (total, Sample (0));
	}
	for (size_t done = 0; done < total;)
	{
		const size_t frames = std::min (static_cast<size_t> (c.call), total - done);
		if (c.resetAt >= 0 && done <= static_cast<size_t> (c.resetAt) && static_cast<size_t> (c.resetAt) < done + frames)
		{
			convolver->reset ();
			for (WholeProductConvolver& reference : references)
				reference.reset ();
		}
		Sample* inputs[kChannels] = {in[0].data () + done, in[1].data () + done};
		Sample* outputs[kChannels] = {out[0].data () + done, out[1].data () + done};
		if constexpr (sizeof (Sample) == sizeof (float))
			convolver->process32 (inputs, outputs, static_cast<int32> (frames));
		else
			convolver->process64 (inputs, outputs, static_cast<int32> (frames));
		for (int32 ch = 0; ch < kChannels; ++ch)
		{
			const auto chn = static_cast<size_t> (ch);
			for (size_t t = done; t < done + frames; ++t)
			{
				const auto expected = static_cast<Sample> (references[chn].step (static_cast<double> (in[chn][t])));
				ASSERT_TRUE (sameBits (static_cast<double> (out[chn][t]), static_cast<double> (expected)))
				    << "channel " << ch << " sample " << t << ": " << out[chn][t] << " instead of " << expected;
			}
		}
		done += frames;
	}
	convolver->teardown ();
}

TEST_P (SpreadProductTest, OutputIsTheWholeProductsBitForBit)
{
	const SpreadCase c = GetParam ();
	if (c.sampleSize == 0)
		expectSameAsWholeProduct<float> (c);
	else
		expectSameAsWholeProduct<double> (c);
}

std::vector<SpreadCase> spreadCases ()
{
	std::vector<SpreadCase> cases;
	for (int32 padded : {1, 16, 32, 64, 256, 512, 1024, 4096})
		for (int32 call : {1, 7, 64, 4096})
			for (int32 sampleSize : {0, 1})
				cases.push_back ({padded, call, call, sampleSize, -1, false});
	// Calls longer than the configured block size run in pieces of it.
	for (int32 padded : {32, 512, 4096})
		for (int32 sampleSize : {0, 1})
			cases.push_back ({padded, 1000, 64, sampleSize, -1, false});
	// Responses whose odd terms are zero leave those terms' rows out of every split.
	for (int32 padded : {64, 512, 2048})
		for (int32 call : {7, 64})
			cases.push_back ({padded, call, call, 1, -1, true});
	// A reset while the product of the block before is still being finished, exactly at the
	// half, while the block's own low product runs, and on a block boundary.
	for (int32 resetAt : {512 + 100, 512 + 256, 512 + 400, 1024})
		for (int32 call : {1, 64})
			cases.push_back ({512, call, call, 1, resetAt, false});
	return cases;
}

INSTANTIATE_TEST_SUITE_P (Table, SpreadProductTest, ::testing::ValuesIn (spreadCases ()), caseName);

} // namespace
