#include "dsp/DSPFunction.h"

#include <gtest/gtest.h>

#include <vector>

using namespace KOREMU::DSPLib;

namespace {

// A block whose own work doubles its input, so bypass and crossfade are visible in the output.
class Doubler : public DSPFunction
{
public:
	Doubler () : DSPFunction (1, 1, 1) {}
	int32 process64 (double** in, double** out, int32 frames) override
	{
		return runBlock (in, out, frames, [] (double** i, double** o, int32 n) {
			for (int32 k = 0; k < n; ++k)
				o[0][k] = 2.0 * i[0][k];
		});
	}
};

std::vector<double> run (Doubler& block, int32 frames)
{
	std::vector<double> input (static_cast<size_t> (frames), 1.0);
	std::vector<double> output (static_cast<size_t> (frames), 0.0);
	double* in[] = {input.data ()};
	double* out[] = {output.data ()};
	block.process64 (in, out, frames);
	return output;
}

Doubler& prepared (Doubler& block)
{
	block.setSampleRate (1000.0);
	block.setBlockSize (64);
	block.setup ();
	return block;
}

} // namespace

TEST (BypassImmediately, TakesEitherStateFromTheFirstSampleWithoutAFade)
{
	for (bool bypassed : {true, false})
	{
		Doubler block;
		prepared (block).setBypassImmediately (bypassed);
		const double expected = bypassed ? 1.0 : 2.0;
		// No crossfade is under way, now or later.
		for (int call = 0; call < 8; ++call)
			for (double v : run (block, 64))
				ASSERT_DOUBLE_EQ (v, expected) << "bypassed " << bypassed << ", call " << call;
		EXPECT_EQ (block.getParameter (kBypassParamNo) != 0.0, bypassed);
	}
}

TEST (BypassImmediately, LaterChangesStillCrossfade)
{
	Doubler block;
	prepared (block).setBypassImmediately (true);
	block.setParameter (kBypassParamNo, true, false, 0.0);
	const std::vector<double> out = run (block, 64);
	EXPECT_DOUBLE_EQ (out.front (), 1.0);
	EXPECT_GT (out.back (), out.front ());
	EXPECT_LT (out.back (), 2.0);
	// The fade goes on in the next call.
	const std::vector<double> next = run (block, 64);
	EXPECT_GT (next.front (), out.back ());
	EXPECT_LT (next.front (), 2.0);
}

TEST (BypassImmediately, StopsAFadeUnderWay)
{
	Doubler block;
	prepared (block).setParameter (kBypassParamNo, true, false, 1.0);
	run (block, 8);
	block.setBypassImmediately (false);
	for (double v : run (block, 16))
		EXPECT_DOUBLE_EQ (v, 2.0);
}
