// The whole processor through its process call, as a host drives it: the built bundle loaded
// through its module entry and factory, buses negotiated and activated, processing switched on,
// and every call given the next block of a long signal, the parameter-change lists and a
// process context.
#include "DirectFir.h"

#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/PluginModule.h"

#include "plugin/processor/ImpulseTables.h"

#include "public.sdk/source/vst/hosting/parameterchanges.h"
#include "public.sdk/source/vst/hosting/processdata.h"

#include "pluginterfaces/vst/ivstprocesscontext.h"
#include "pluginterfaces/vst/vstspeaker.h"

#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <random>
#include <vector>

using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

namespace {

using Clock = std::chrono::steady_clock;

// The longest block product's period: every call position within it repeats each cycle.
constexpr int32 kCycleFrames = *std::max_element (std::begin (kImpulseTableLengths), std::end (kImpulseTableLengths));
// Cycles measured per burst profile; their median per position ignores the odd preempted call.
constexpr benchmark::IterationCount kProfileCycles = 15;
// Cycles measured per cost ratio; the ratio takes the median cycle of each side.
constexpr benchmark::IterationCount kRatioCycles = 31;
// The input runs through this much noise before it repeats, so no two calls see the same block.
constexpr double kSignalSeconds = 4.0;

double median (std::vector<double> values)
{
	const auto middle = values.begin () + static_cast<std::ptrdiff_t> (values.size () / 2);
	std::nth_element (values.begin (), middle, values.end ());
	return *middle;
}

// What one reading of the clock costs; taken off every timed interval, so that the figures do
// not depend on how cheap the machine's clock source is.
Clock::duration clockCost ()
{
	static const Clock::duration cost = [] {
		std::vector<double> readings;
		for (int k = 0; k < 1001; ++k)
		{
			const Clock::time_point first = Clock::now ();
			readings.push_back (static_cast<double> ((Clock::now () - first).count ()));
		}
		return Clock::duration (static_cast<Clock::rep> (median (readings)));
	}();
	return cost;
}

template <typename Work>
Clock::duration timed (Work&& work)
{
	const Clock::time_point start = Clock::now ();
	work ();
	const Clock::duration spent = Clock::now () - start;
	benchmark::ClobberMemory ();
	return std::max (spent - clockCost (), Clock::duration::zero ());
}

const PluginModule& bundle ()
{
	static const PluginModule module (VELTRANE_BUNDLE_PATH);
	return module;
}

// One instance of the plug-in as a host holds it, stereo in and out, fed a long noise signal.
class HostedProcessor
{
public:
	HostedProcessor (double rate, int32 sampleSize, int32 block)
	: instance (bundle ())
	, inputChanges (1, 1)
	, signal (2, std::vector<double> (static_cast<size_t> (rate * kSignalSeconds)))
	{
		std::mt19937 generator (7u);
		std::uniform_real_distribution<double> uniform (-0.5, 0.5);
		for (std::vector<double>& channel : signal)
			for (double& x : channel)
				x = uniform (generator);
		IComponent& component = instance.getProcessor ().getComponent ();
		IAudioProcessor& processor = instance.getProcessor ().getProcessor ();
		SpeakerArrangement in = SpeakerArr::kStereo;
		SpeakerArrangement out = SpeakerArr::kStereo;
		ProcessSetup setup {kRealtime, sampleSize, block, rate};
		ready = processor.setBusArrangements (&in, 1, &out, 1) == kResultTrue &&
		        component.activateBus (kAudio, kInput, 0, true) == kResultOk &&
		        component.activateBus (kAudio, kOutput, 0, true) == kResultOk &&
		        processor.setupProcessing (setup) == kResultOk && component.setActive (true) == kResultOk &&
		        data.prepare (component, block, sampleSize);
		if (!ready)
			return;
		processor.setProcessing (true);
		context.sampleRate = rate;
		data.processMode = kRealtime;
		data.inputParameterChanges = &inputChanges;
		data.outputParameterChanges = &outputChanges;
		data.processContext = &context;
	}
	~HostedProcessor ()
	{
		IAudioProcessor& processor = instance.getProcessor ().getProcessor ();
		processor.setProcessing (false);
		instance.getProcessor ().getComponent ().setActive (false);
	}

	bool isReady () const { return ready; }

	// The next block of the signal through one process call; the time of the call alone.
	Clock::duration timedCall ()
	{
		fillInput ();
		const Clock::duration spent = timed ([this] { instance.getProcessor ().getProcessor ().process (data); });
		inputChanges.clearQueue ();
		outputChanges.clearQueue ();
		context.projectTimeSamples += data.numSamples;
		return spent;
	}

private:
	void fillInput ()
	{
		const auto frames = static_cast<size_t> (data.numSamples);
		if (position + frames > signal[0].size ())
			position = 0;
		for (int32 c = 0; c < 2; ++c)
		{
			const double* from = signal[static_cast<size_t> (c)].data () + position;
			if (data.symbolicSampleSize == kSample32)
				std::transform (from, from + frames, data.getChannel32 (kInput, 0, c),
				                [] (double x) { return static_cast<float> (x); });
			else
				std::copy (from, from + frames, data.getChannel64 (kInput, 0, c));
		}
		data.inputs[0].silenceFlags = 0;
		data.outputs[0].silenceFlags = 0;
		position += frames;
	}

	PluginInstance instance;
	HostProcessData data;
	ParameterChanges inputChanges;
	ParameterChanges outputChanges;
	ProcessContext context {};
	std::vector<std::vector<double>> signal;
	size_t position {0};
	bool ready {false};
};

struct Setting
{
	double rate;
	int32 sampleSize;
	int32 block;
	double blockSeconds () const { return block / rate; }
	// Calls per cycle of the longest block product.
	int32 callsPerCycle () const { return std::max (kCycleFrames / block, 1); }
};

Setting settingOf (const benchmark::State& state)
{
	return {static_cast<double> (state.range (0)), static_cast<int32> (state.range (1)),
	        static_cast<int32> (state.range (2))};
}

bool isReady (const HostedProcessor& processor, benchmark::State& state)
{
	if (!processor.isReady ())
		state.SkipWithError ("the processor refused the setup");
	return processor.isReady ();
}

double seconds (Clock::duration d)
{
	return std::chrono::duration<double> (d).count ();
}

// Arguments: sample rate, sample size (kSample32 or kSample64), block size in frames.
void wholeProcessor (benchmark::State& state)
{
	const Setting setting = settingOf (state);
	HostedProcessor processor (setting.rate, setting.sampleSize, setting.block);
	if (!isReady (processor, state))
		return;
	Clock::duration slowest {};
	Clock::duration total {};
	for (auto _ : state)
	{
		const Clock::duration spent = processor.timedCall ();
		slowest = std::max (slowest, spent);
		total += spent;
	}

	// Seconds of audio per second spent in the process calls.
	state.counters["realtime"] = static_cast<double> (state.iterations ()) * setting.blockSeconds () / seconds (total);
	// The slowest call as a share of the time the block lasts.
	state.counters["worst_block"] = seconds (slowest) / setting.blockSeconds ();
}

// One iteration is one cycle of kCycleFrames, call by call. Each call position's time is the
// median over the cycles; the slowest position, as a share of the block's duration, is the
// figure a host's deadline meets or misses (above 1 it misses it every cycle).
void burstProfile (benchmark::State& state)
{
	const Setting setting = settingOf (state);
	HostedProcessor processor (setting.rate, setting.sampleSize, setting.block);
	if (!isReady (processor, state))
		return;
	const auto positions = static_cast<size_t> (setting.callsPerCycle ());
	std::vector<std::vector<double>> times (positions);
	for (auto _ : state)
		for (size_t p = 0; p < positions; ++p)
			times[p].push_back (seconds (processor.timedCall ()));

	double slowest = 0.0;
	double sum = 0.0;
	for (const std::vector<double>& calls : times)
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
		spent += timed ([&] {
			fir.process (in.data (), out.data (), frames);
			benchmark::DoNotOptimize (out.data ());
		});
	state.counters["ns_per_sample"] = std::chrono::duration<double, std::nano> (spent).count () /
	                                  (static_cast<double> (state.iterations ()) * frames);
}

// The processor's cost per frame as a share of the yardstick's per sample, both timed in the same
// run, call by call in turn, so that a change of clock or load weighs on both alike and each finds
// the caches as the other left them, as plug-ins in a host do. One iteration is one cycle of
// kCycleFrames, so every call position counts equally; each side's figure is its median cycle.
void costRatio (benchmark::State& state)
{
	const Setting setting = settingOf (state);
	HostedProcessor processor (setting.rate, setting.sampleSize, setting.block);
	if (!isReady (processor, state))
		return;
	const auto frames = static_cast<size_t> (setting.block);
	DirectFir fir (frames);
	std::vector<double> in (frames, 0.25), out (frames);
	std::vector<double> pluginCycles, firCycles;
	for (auto _ : state)
	{
		Clock::duration plugin {};
		Clock::duration filter {};
		for (int32 call = 0; call < setting.callsPerCycle (); ++call)
		{
			plugin += processor.timedCall ();
			filter += timed ([&] {
				fir.process (in.data (), out.data (), frames);
				benchmark::DoNotOptimize (out.data ());
			});
		}
		pluginCycles.push_back (seconds (plugin));
		firCycles.push_back (seconds (filter));
	}
	const double framesPerCycle = static_cast<double> (setting.callsPerCycle ()) * setting.block;
	const double pluginNs = median (pluginCycles) * 1e9 / framesPerCycle;
	const double firNs = median (firCycles) * 1e9 / framesPerCycle;
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
    ->Iterations (kRatioCycles)
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
