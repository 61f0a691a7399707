// One block run inside a series container, the way a host's graph runs it.
#pragma once

#include "tests/support/SampleTypes.h"

#include "dsp/DSPAlgo.h"

#include <algorithm>
#include <vector>

namespace veltrane_test {

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
			process<Sample> (*algo, inPtr.data (), outPtr.data (), n);
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

} // namespace veltrane_test
