// The whole processor through its process call, as a host drives it.
#include "plugin/processor/PlugProcessor.h"

#include "public.sdk/source/vst/hosting/processdata.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

// Arguments: sample rate, sample size (kSample32 or kSample64), block size in frames.
void wholeProcessor (benchmark::State& state)
{
	const auto rate = static_cast<double> (state.range (0));
	const auto sampleSize = static_cast<int32> (state.range (1));
	const auto block = static_cast<int32> (state.range (2));

	IPtr<PlugProcessor> processor = owned (new PlugProcessor);
	processor->initialize (nullptr);
	ProcessSetup setup {kRealtime, sampleSize, block, rate};
	HostProcessData data;
	if (processor->setupProcessing (setup) != kResultOk || processor->setActive (true) != kResultOk ||
	    !data.prepare (*processor, block, sampleSize))
	{
		state.SkipWithError ("the processor refused the setup");
		return;
	}
	std::mt19937 generator (7u);
	std::uniform_real_distribution<double> uniform (-0.5, 0.5);
	for (int32 c = 0; c < 2; ++c)
		for (int32 i = 0; i < block; ++i)
		{
			if (sampleSize == kSample32)
				data.getChannel32 (kInput, 0, c)[i] = static_cast<float> (uniform (generator));
			else
				data.getChannel64 (kInput, 0, c)[i] = uniform (generator);
		}

	using Clock = std::chrono::steady_clock;
	Clock::duration slowest {};
	for (auto _ : state)
	{
		const Clock::time_point start = Clock::now ();
		processor->process (data);
		slowest = std::max (slowest, Clock::now () - start);
		benchmark::ClobberMemory ();
	}

	const double blockSeconds = block / rate;
	// Seconds of audio per second of CPU time.
	state.counters["realtime"] =
	    benchmark::Counter (static_cast<double> (state.iterations ()) * blockSeconds, benchmark::Counter::kIsRate);
	// The slowest call as a share of the time the block lasts.
	state.counters["worst_block"] = std::chrono::duration<double> (slowest).count () / blockSeconds;

	processor->setActive (false);
	processor->terminate ();
}

BENCHMARK (wholeProcessor)
    ->ArgNames ({"rate", "bits64", "block"})
    ->ArgsProduct ({{44100, 96000, 192000}, {kSample32, kSample64}, {64, 512}})
    ->Unit (benchmark::kMicrosecond);

} // namespace
