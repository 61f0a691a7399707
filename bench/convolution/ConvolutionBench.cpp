#include "dsp/Convolver.h"
#include "dsp/HShifterConvCont.h"
#include "dsp/ProductKernels.h"

#include <benchmark/benchmark.h>

#include <random>
#include <vector>

using namespace KOREMU::DSPLib;

namespace {

constexpr double kRate = 48000.0;
constexpr int32 kHostBlock = 512;

std::vector<double> noise (size_t count, unsigned seed)
{
	std::mt19937 generator (seed);
	std::uniform_real_distribution<double> uniform (-1.0, 1.0);
	std::vector<double> s (count);
	for (double& x : s)
		x = uniform (generator);
	return s;
}

// Items are the samples of one block product; "realtime" is seconds of 48 kHz audio per second.
void countSamples (benchmark::State& state, int64_t samplesPerIteration)
{
	state.SetItemsProcessed (state.iterations () * samplesPerIteration);
	state.counters["realtime"] = benchmark::Counter (static_cast<double> (state.iterations ()) *
	                                                     static_cast<double> (samplesPerIteration) / kRate,
	                                                 benchmark::Counter::kIsRate);
}

void karatsubaProduct (benchmark::State& state)
{
	const auto n = static_cast<int32> (state.range (0));
	const std::vector<double> a = noise (static_cast<size_t> (n), 1u), b = noise (static_cast<size_t> (n), 2u);
	std::vector<double> out (2 * static_cast<size_t> (n)), scratch (2 * static_cast<size_t> (n));
	for (auto _ : state)
	{
		Convolver::karatsubaProduct (out.data (), a.data (), b.data (), n, scratch.data ());
		benchmark::DoNotOptimize (out.data ());
		benchmark::ClobberMemory ();
	}
	countSamples (state, n);
}

void directProduct (benchmark::State& state)
{
	const auto n = static_cast<int32> (state.range (0));
	const std::vector<double> a = noise (static_cast<size_t> (n), 1u), b = noise (static_cast<size_t> (n), 2u);
	std::vector<double> out (2 * static_cast<size_t> (n));
	for (auto _ : state)
	{
		Convolver::directProduct (out.data (), a.data (), b.data (), n);
		benchmark::DoNotOptimize (out.data ());
		benchmark::ClobberMemory ();
	}
	countSamples (state, n);
}

// Splits into leaves (three 16 x 16 leaf products, the differences and the combine) on each
// vector unit: one split, or two of one input as the decorrelation pair runs them. The convolvers
// run the unit that ProductKernels::chosen names. Items are leaves.
void leafSplit (benchmark::State& state)
{
	const auto width = static_cast<ProductKernels::Width> (state.range (0));
	const bool pair = state.range (1) == 2;
	if (width > ProductKernels::widest ())
	{
		state.SkipWithError ("this processor lacks the unit");
		return;
	}
	constexpr int32 n = ProductKernels::kLeafSplitLength;
	const std::vector<double> a = noise (n, 5u), other = noise (n, 6u), b = noise (n, 7u);
	std::vector<double> out (2 * n), otherOut (2 * n);
	const ProductKernels::LeafSplit first {out.data (), a.data (), b.data ()};
	const ProductKernels::LeafSplit second {otherOut.data (), other.data (), b.data ()};
	for (auto _ : state)
	{
		if (pair)
			ProductKernels::leafSplitPairAt (width, first, second);
		else
			ProductKernels::leafSplitAt (width, first);
		benchmark::DoNotOptimize (out.data ());
		benchmark::DoNotOptimize (otherOut.data ());
		benchmark::ClobberMemory ();
	}
	state.SetItemsProcessed (state.iterations () * 3 * state.range (1));
	state.counters["chosen"] = ProductKernels::chosen () == width;
}

// Host blocks of 512 samples through a set-up block, one channel, 64-bit.
void runBlock (benchmark::State& state, DSPFunction& block)
{
	block.setSampleRate (kRate);
	block.setBlockSize (kHostBlock);
	block.setSampleSize (1);
	if (block.setup () != 0)
	{
		state.SkipWithError ("setup failed");
		return;
	}
	std::vector<double> in = noise (kHostBlock, 3u), out (kHostBlock);
	double* inputs[] = {in.data ()};
	double* outputs[] = {out.data ()};
	for (auto _ : state)
	{
		block.process64 (inputs, outputs, kHostBlock);
		benchmark::DoNotOptimize (out.data ());
		benchmark::ClobberMemory ();
	}
	block.teardown ();
	countSamples (state, kHostBlock);
}

void convolverBlock (benchmark::State& state)
{
	const auto length = static_cast<int32> (state.range (0));
	Steinberg::IPtr<Convolver> convolver = Steinberg::owned (new Convolver (0, 1));
	const std::vector<double> response = noise (static_cast<size_t> (length), 4u);
	convolver->setImpulseResponse (response.data (), length);
	runBlock (state, *convolver);
}

void shifterBlock (benchmark::State& state)
{
	Steinberg::IPtr<HShifterConvCont> shifter = Steinberg::owned (new HShifterConvCont (0, 1));
	shifter->setParameter (HShifterConvCont::kFrequencyShiftParam, true, false, 250.0);
	runBlock (state, *shifter);
}

} // namespace

BENCHMARK (karatsubaProduct)->RangeMultiplier (2)->Range (512, 4096);
BENCHMARK (directProduct)->RangeMultiplier (2)->Range (512, 4096);
BENCHMARK (convolverBlock)->RangeMultiplier (2)->Range (512, 4096);
BENCHMARK (shifterBlock);
BENCHMARK (leafSplit)
    ->ArgNames ({"width", "splits"})
    ->ArgsProduct ({{ProductKernels::kBaseline, ProductKernels::kAvx2, ProductKernels::kAvx512}, {1, 2}})
    ->Unit (benchmark::kNanosecond);
