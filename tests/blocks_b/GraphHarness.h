#pragma once

#include "dsp/DSPAlgo.h"

#include <algorithm>
#include <cmath>
#include <random>
#include <vector>

namespace BlocksBTest {

using namespace KOREMU::DSPLib;
using Signal = std::vector<std::vector<double>>;

// Runs one block inside a series DSPAlgo, in 32-bit (sample size 0) or 64-bit form, feeding
// the signal in pieces of at most the block size.
class GraphHarness
{
public:
	GraphHarness (DSPFunction* block, double sampleRate = 44100.0, int32 sampleSize = 1, int32 blockSize = 512)
	: algo (Steinberg::owned (new DSPAlgo (1000, block->getNumInputs (), block->getNumOutputs ())))
	, block (block)
	, blockSize (blockSize)
	{
		algo->addFunction (block);
		algo->setSampleRate (sampleRate);
		algo->setBlockSize (blockSize);
		algo->setSampleSize (sampleSize);
	}

	~GraphHarness () { algo->teardown (); }

	int32 setup () { return algo->setup (); }
	DSPAlgo& graph () { return *algo; }
	DSPFunction& member () { return *block; }

	// Output of the graph for the input, as float64 whatever the form.
	Signal run (const Signal& input)
	{
		return algo->getSampleSize () == 0 ? runAs<float> (input) : runAs<double> (input);
	}

private:
	template <typename Sample>
	Signal runAs (const Signal& input)
	{
		const size_t channels = input.size ();
		const int32 total = channels ? static_cast<int32> (input[0].size ()) : 0;
		std::vector<std::vector<Sample>> in (channels), out (static_cast<size_t> (block->getNumOutputs ()));
		for (size_t c = 0; c < channels; ++c)
			in[c].assign (input[c].begin (), input[c].end ());
		for (auto& channel : out)
			channel.assign (static_cast<size_t> (total), Sample (0));
		std::vector<Sample*> inPtr (channels), outPtr (out.size ());
		for (int32 done = 0; done < total; done += blockSize)
		{
			const int32 n = std::min (blockSize, total - done);
			for (size_t c = 0; c < channels; ++c)
				inPtr[c] = in[c].data () + done;
			for (size_t c = 0; c < out.size (); ++c)
				outPtr[c] = out[c].data () + done;
			if constexpr (sizeof (Sample) == sizeof (float))
				algo->process32 (inPtr.data (), outPtr.data (), n);
			else
				algo->process64 (inPtr.data (), outPtr.data (), n);
		}
		Signal result (out.size ());
		for (size_t c = 0; c < out.size (); ++c)
			result[c].assign (out[c].begin (), out[c].end ());
		return result;
	}

	Steinberg::IPtr<DSPAlgo> algo;
	DSPFunction* block;
	int32 blockSize;
};

inline std::vector<double> whiteNoise (size_t frames, unsigned seed, double level = 1.0)
{
	std::mt19937 generator (seed);
	std::uniform_real_distribution<double> uniform (-level, level);
	std::vector<double> noise (frames);
	for (double& s : noise)
		s = uniform (generator);
	return noise;
}

// A signal whose value names its sample, so an output shows which input it took.
inline std::vector<double> ramp (size_t frames, double scale = 1.0)
{
	std::vector<double> r (frames);
	for (size_t i = 0; i < frames; ++i)
		r[i] = scale * static_cast<double> (i + 1);
	return r;
}

inline std::vector<double> sine (size_t frames, double frequency, double sampleRate)
{
	std::vector<double> s (frames);
	for (size_t i = 0; i < frames; ++i)
		s[i] = std::sin (2.0 * 3.14159265358979323846 * frequency * static_cast<double> (i) / sampleRate);
	return s;
}

inline double peak (const std::vector<double>& s, size_t from = 0)
{
	double p = 0.0;
	for (size_t i = from; i < s.size (); ++i)
		p = std::max (p, std::fabs (s[i]));
	return p;
}

} // namespace BlocksBTest
