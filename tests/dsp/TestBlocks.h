#pragma once

#include "tests/support/Buffers.h"

#include "dsp/Controller.h"
#include "dsp/DSPFunction.h"
#include "dsp/Generator.h"

#include <vector>

namespace KOREMU {
namespace DSPLib {
namespace Testing {

using veltrane_test::Buffers;

// Multiplies every channel by a factor and adds an offset; the offset tells blocks apart.
class ScaleBlock : public DSPFunction
{
public:
	ScaleBlock (int32 id, int32 inputs, int32 outputs, double factor = 2.0, double offset = 0.0)
	: DSPFunction (id, inputs, outputs), factor (factor), offset (offset) {}

	int32 process32 (float** in, float** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (float** i, float** o, int32 f) { render (i, o, f); });
	}
	int32 process64 (double** in, double** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (double** i, double** o, int32 f) { render (i, o, f); });
	}
	int32 setup () override
	{
		++setups;
		return failSetup ? 7 : DSPFunction::setup ();
	}
	int32 teardown () override
	{
		++teardowns;
		return DSPFunction::teardown ();
	}
	int32 reset () override
	{
		++resets;
		return DSPFunction::reset ();
	}
	uint32 getLatency () const override { return latency; }
	uint32 getTail () const override { return tail; }

	double factor;
	double offset;
	uint32 latency {0};
	uint32 tail {0};
	bool failSetup {false};
	int setups {0};
	int teardowns {0};
	int resets {0};
	int calls {0};
	int32 largestCall {0};

private:
	template <typename Sample>
	void render (Sample** in, Sample** out, int32 frames)
	{
		++calls;
		largestCall = std::max (largestCall, frames);
		for (int32 o = 0; o < getNumOutputs (); ++o)
			for (int32 i = 0; i < frames; ++i)
				out[o][i] = static_cast<Sample> (in[o % getNumInputs ()][i] * factor + offset);
	}
};

// Writes a constant to every output.
class ConstantGenerator : public Generator
{
public:
	ConstantGenerator (int32 id, int32 outputs, double value) : Generator (id, outputs), value (value) {}
	int32 process64 (double** in, double** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (double**, double** o, int32 f) {
			for (int32 c = 0; c < getNumOutputs (); ++c)
				for (int32 i = 0; i < f; ++i)
					o[c][i] = value;
		});
	}
	double value;
};

// A modulation source whose output at sample i is start + i * step.
class RampController : public Controller
{
public:
	RampController (int32 id, double start, double step) : Controller (id), start (start), step (step) {}
	int32 process32 (float** in, float** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (float**, float** o, int32 f) { render (o, f); });
	}
	int32 process64 (double** in, double** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (double**, double** o, int32 f) { render (o, f); });
	}
	double start;
	double step;

private:
	template <typename Sample>
	void render (Sample** out, int32 frames)
	{
		for (int32 i = 0; i < frames; ++i)
			out[0][i] = static_cast<Sample> (start + i * step);
	}
};

// A one-channel block with a linkable parameter 0 ("Target"); it records the value it saw at each sample.
class LinkTarget : public DSPFunction
{
public:
	LinkTarget (int32 id, int32 flags = DSPParameter::kLinkable, double minimum = -1e9, double maximum = 1e9)
	: DSPFunction (id, 1, 1)
	{
		addParameter (0, u"Target", flags, 0.0, minimum, maximum);
	}
	int32 process32 (float** in, float** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (float** i, float** o, int32 f) { render (i, o, f); });
	}
	int32 process64 (double** in, double** out, int32 n) override
	{
		return runBlock (in, out, n, [this] (double** i, double** o, int32 f) { render (i, o, f); });
	}
	std::vector<double> seen;

private:
	template <typename Sample>
	void render (Sample** in, Sample** out, int32 frames)
	{
		for (int32 i = 0; i < frames; ++i)
		{
			if (hasLinks ())
				applyLinks (i);
			seen.push_back (getParameter (0, 0));
			out[0][i] = in[0][i];
		}
	}
};

} // namespace Testing
} // namespace DSPLib
} // namespace KOREMU
