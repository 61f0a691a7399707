// The whole processor through its process call, as a host drives it.
#include "DirectFir.h"

#include "plugin/processor/ImpulseTables.h"
#include "plugin/processor/PlugProcessor.h"

#include "public.sdk/source/vst/hosting/processdata.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

using Clock = std::chrono::steady_clock;

// The longest block product's period: every call position within it repeats each cycle.
constexpr int32 kCycleFrames = *std::max_element (std::begin (kImpulseTableLengths), std::end (kImpulseTableLengths));
// Cycles measured per burst profile; their median per position ignores the odd preempted call.
constexpr benchmark::IterationCount kProfileCycles = 15;

// A processor set up and active, with one block of noise as its input.
class ActiveProcessor
{
public:
	ActiveProcessor (double rate, int32 sampleSize, int32 block)
	{
		processor->initialize (nullptr);
		ProcessSetup setup {kRealtime, sampleSize, block, rate};
		ready = processor->setupProcessing (setup) == kResultOk && processor->setActive (true) == kResultOk &&
		        data.prepare (*processor, block, sampleSize);
		if (!ready)
			return;
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
	}
	~ActiveProcessor ()
	{
		processor->setActive (false);
		processor->terminate ();
	}

	bool isReady () const { return ready; }
	Clock::duration timedCall ()
	{
		const Clock::time_point start = Clock::now ();
		processor->process (data);
		const Clock::duration spent = Clock::now () - start;
		benchmark::ClobberMemory ();
		return spent;
	}

private:
	IPtr<PlugProcessor> processor = owned (new PlugProcessor);
	HostProcessData data;
	bool ready {false};
};

struct Setting
{
	double rate;
	int32 sampleSize;
	int32 block;
	double blockSeconds () const { return block / rate; }
};

Setting settingOf (const benchmark::State& state)
{
	return {static_cast<double> (state.range (0)), static_cast<int32> (state.range (1)),
	        static_cast<int32> (state.range (2))};
}

bool isReady (const ActiveProcessor& processor, benchmark::State& state)
{
	if (!processor.isReady ())
		state.SkipWithError ("the processor refused the setup");
	return processor.isReady ();
}

// Arguments: sample rate, sample size (kSample32 or kSample64), block size in frames.
void wholeProcessor (benchmark::State& state)
{
	const Setting setting = settingOf (state);
	ActiveProcessor processor (setting.rate, setting.sampleSize, setting.block);
	if (!isReady (processor, state))
		return;
	Clock::duration slowest {};
	for (auto _ : state)
		slowest = std::max (slowest, processor.timedCall ());

	// Seconds of audio per second of CPU time.
	state.counters["realtime"] = benchmark::Counter (static_cast<double> (state.iterations ()) * setting.blockSeconds (),
	                                                 benchmark::Counter::kIsRate);
	// The slowest call as a share of the time the block lasts.
	state.counters["worst_block"] = std::chrono::duration<double> (slowest).count () / setting.blockSeconds ();
}

double median (std::vector<double> values)
{
	const auto middle = values.begin () + static_cast<std::ptrdiff_t> (values.size () / 2);
	std::nth_element (values.begin (), middle, values.end ());
	return *middle;
}

// One iteration is one cycle of kCycleFrames, call by call. Each call position's time is the
// median over the cycles; the slowest position, as a share of the block's duration, is the
// figure a host's deadline meets or misses (above 1 it misses it every cycle).
void burstProfile (benchmark::State& state)
{
	const Setting setting = settingOf (state);
	ActiveProcessor processor (setting.rate, setting.sampleSize, setting.block);
	if (!isReady (processor, state))
		return;
	const auto positions = static_cast<size_t> (std::max (kCycleFrames / setting.block, 1));
	std::vector<std::vector<double>> seconds (positions);
	for (auto _ : state)
		for (size_t p = 0; p < positions; ++p)
			seconds[p].push_back (std::chrono::duration<double> (processor.timedCall ()).count ());

	double slowest = 0.0;
	double sum = 0.0;
	for (const std::vector<double>& calls : seconds)
	{
		const double m = median (calls);
		slowest = std::max (slowest, m);
		sum += m;
	}
	state.counters["slowest_position"] = slowest / setting.blockSeconds ();
	state.counters["median_position"] = sum / static_cast<double> (positions) / setting.blockSeconds ();
}

// The yardstick alone: nanoseconds per sample on blocks of 512.
void yardstick (benchmark::State& state)
{
	constexpr size_t frames = 512;
	DirectFir fir (frames);
	std::vector<double> in (frames, 0.25), out (frames);
	Clock::duration spent {};
	for (auto _ : state)
	{
		const Clock::time_point start = Clock::now ();
		fir.process (in.data (), out.data (), frames);
		benchmark::DoNotOptimize (out.data ());
		benchmark::ClobberMemory ();
		spent += Clock::now () - start;
	}
	state.counters["ns_per_sample"] = std::chrono::duration<double, std::nano> (spent).count () /
	                                  (static_cast<double> (state.iterations ()) * frames);
}

// The processor's cost per frame as a share of the yardstick's per sample, both timed in the same
// run, call by call in turn, so that a change of clock or load weighs on both alike. One iteration
// is one cycle of kCycleFrames, so every call position counts equally.
void costRatio (benchmark::State& state)
{
	const Setting setting = settingOf (state);
	ActiveProcessor processor (setting.rate, setting.sampleSize, setting.block);
	if (!isReady (processor, state))
		return;
	const auto frames = static_cast<size_t> (setting.block);
	DirectFir fir (frames);
	std::vector<double> in (frames, 0.25), out (frames);
	const auto calls = std::max (kCycleFrames / setting.block, 1);
	Clock::duration pluginTime {};
	Clock::duration firTime {};
	for (auto _ : state)
	{
		for (int32 call = 0; call < calls; ++call)
		{
			pluginTime += processor.timedCall ();
			const Clock::time_point start = Clock::now ();
			fir.process (in.data (), out.data (), frames);
			benchmark::DoNotOptimize (out.data ());
			benchmark::ClobberMemory ();
			firTime += Clock::now () - start;
		}
	}
	const double count = static_cast<double> (state.iterations ()) * calls * setting.block;
	const double pluginNs = std::chrono::duration<double, std::nano> (pluginTime).count () / count;
	const double firNs = std::chrono::duration<double, std::nano> (firTime).count () / count;
	state.counters["plugin_ns_per_frame"] = pluginNs;
	state.counters["yardstick_ns_per_sample"] = firNs;
	state.counters["ratio"] = pluginNs / firNs;
}

BENCHMARK (yardstick)->Unit (benchmark::kMicrosecond);

// The two settings the goals are set for, 32-bit as most hosts run.
BENCHMARK (costRatio)
    ->ArgNames ({"rate", "bits64", "block"})
    ->Args ({48000, kSample32, 512})
    ->Args ({192000, kSample32, 64})
    ->Unit (benchmark::kMicrosecond);

BENCHMARK (wholeProcessor)
    ->ArgNames ({"rate", "bits64", "block"})
    ->ArgsProduct ({{44100, 48000, 96000, 192000}, {kSample32, kSample64}, {64, 512}})
    ->Unit (benchmark::kMicrosecond);

BENCHMARK (burstProfile)
    ->ArgNames ({"rate", "bits64", "block"})
    ->ArgsProduct ({{48000, 96000, 192000}, {kSample32, kSample64}, {64, 512}})
    ->Iterations (kProfileCycles)
    ->Unit (benchmark::kMicrosecond);

} // namespace
