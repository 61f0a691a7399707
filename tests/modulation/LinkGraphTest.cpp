#include "dsp/DSPAlgo.h"
#include "dsp/Gain.h"
#include "dsp/LorenzLFO.h"
#include "dsp/LorenzOSC.h"
#include "dsp/Mixer.h"
#include "dsp/ParameterLink.h"
#include "dsp/PhaseInverter.h"
#include "dsp/Splitter.h"

#include "tests/support/Buffers.h"
#include "tests/support/Measure.h"
#include "tests/support/SampleTypes.h"

#include <cmath>
#include <vector>

using namespace veltrane_test;
using namespace KOREMU::DSPLib;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {

constexpr int32 kFrames = 512;
constexpr int32 kLfoId = 10;
constexpr int32 kGainId = 2;
const double kMinus6Db = 0.50118723362727224;

template <typename Sample>
class LinkGraphTest : public ::testing::Test
{
protected:
	// A 1-in 1-out container running a Lorenz modulator as its controller and a Gain whose
	// "Gain" follows it. Depth 10 swings the gain by about +-10 dB.
	void build (int32 mode, double baseDb)
	{
		algo = owned (new DSPAlgo (1, 1, 1));
		lfo = static_cast<LorenzLFO*> (algo->addController (new LorenzLFO (kLfoId)));
		gain = static_cast<Gain*> (algo->addFunction (new Gain (kGainId, 1)));
		lfo->setParameter (LorenzLFO::kDepthParamNo, 0, true, false, 10.0);
		lfo->setParameter (LorenzLFO::kRateParamNo, 0, true, false, 10.0);
		gain->setParameter (Gain::kGainParamNo, 0, true, false, baseDb);
		ASSERT_NE (gain->linkParameter (lfo, Gain::kGainParamNo, 0, mode), nullptr);
		algo->setSampleRate (44100.0);
		algo->setBlockSize (kFrames);
		algo->setSampleSize (sampleSizeOf<Sample> ());
		ASSERT_EQ (algo->setup (), 0);
	}

	void run ()
	{
		ASSERT_EQ (process (*algo, in.get (), out.get (), kFrames), 0);
	}

	// This call's modulator output, from the controller's Cable.
	double lfoSample (int32 i) const
	{
		Cable* cable = algo->getControllerCable (kLfoId);
		if (cable->isFloat32 ())
			return static_cast<double> (cable->getBuffers32 ()[0][i]);
		return cable->getBuffers64 ()[0][i];
	}

	// The value a link stores on a block of this sample width.
	static double stored (double v) { return static_cast<double> (static_cast<Sample> (v)); }

	IPtr<DSPAlgo> algo;
	LorenzLFO* lfo {nullptr};
	Gain* gain {nullptr};
	Buffers<Sample> in {1, kFrames, 0.5};
	Buffers<Sample> out {1, kFrames};
};
TYPED_TEST_SUITE (LinkGraphTest, SampleTypes, SampleTypeNames);

struct ModeCase
{
	int32 mode;
	double sign; // of the modulator sample in the gain in dB
	double base; // weight of the base value
};

} // namespace

TYPED_TEST (LinkGraphTest, GainFollowsTheModulatorSampleBySampleInEveryMode)
{
	using Sample = TypeParam;
	const double baseDb = -6.0;
	const ModeCase modes[] = {
	    {kLinkReplace, 1.0, 0.0},
	    {kLinkAddToBase, 1.0, 1.0},
	    {kLinkSubtractFromBase, -1.0, 1.0},
	};
	for (const auto& m : modes)
	{
		SCOPED_TRACE (testing::Message () << "mode " << m.mode);
		this->build (m.mode, baseDb);
		double swing = 0.0;
		for (int32 call = 0; call < 8; ++call)
		{
			this->run ();
			for (int32 i = 0; i < kFrames; ++i)
			{
				const double s = this->lfoSample (i);
				const double db = this->stored (m.base * baseDb + m.sign * s);
				const double expected = 0.5 * dbToFactor (db);
				ASSERT_NEAR (this->out.at (0, i), expected, storedTolerance<Sample> (expected) * 8)
				    << "call " << call << " sample " << i;
				swing = std::max (swing, std::fabs (s));
			}
		}
		EXPECT_GT (swing, 1.0) << "the modulator swings the gain by more than 1 dB";

		const DSPParameter* p = this->gain->findParameter (Gain::kGainParamNo, 0);
		const double last = this->lfoSample (kFrames - 1);
		EXPECT_EQ (p->getPlainValue (), this->stored (m.base * baseDb + m.sign * last));
		EXPECT_EQ (p->getBaseValue (), m.mode == kLinkReplace ? this->stored (last) : baseDb);
	}
}

TYPED_TEST (LinkGraphTest, TheOwnersUnforcedSetIsOverriddenByTheNextSample)
{
	this->build (kLinkReplace, 0.0);
	this->run ();
	this->gain->setParameter (Gain::kGainParamNo, 0, true, false, -96.0);
	this->run ();
	const double expected = 0.5 * dbToFactor (this->stored (this->lfoSample (0)));
	EXPECT_NEAR (this->out.at (0, 0), expected, storedTolerance<TypeParam> (expected) * 8);
}

TYPED_TEST (LinkGraphTest, BypassedModulatorLeavesTheGainAtItsLastValue)
{
	using Sample = TypeParam;
	this->build (kLinkReplace, 0.0);
	this->run ();
	this->run ();
	const double held = this->lfoSample (kFrames - 1);

	this->lfo->setParameter (kBypassParamNo, 0, true, false, 1.0);
	for (int32 call = 0; call < 3; ++call)
	{
		this->run ();
		EXPECT_EQ (this->lfoSample (0), 0.0);
		const double expected = 0.5 * dbToFactor (this->stored (held));
		for (int32 i = 0; i < kFrames; ++i)
			ASSERT_NEAR (this->out.at (0, i), expected, storedTolerance<Sample> (expected) * 8) << i;
	}

	this->lfo->setParameter (kBypassParamNo, 0, true, false, 0.0);
	this->run ();
	const double resumed = this->lfoSample (0);
	EXPECT_NE (resumed, 0.0);
	const double expected = 0.5 * dbToFactor (this->stored (resumed));
	EXPECT_NEAR (this->out.at (0, 0), expected, storedTolerance<Sample> (expected) * 8);
}

// A grouped Gain passes the linked value to every channel of the group.
TYPED_TEST (LinkGraphTest, ALinkedGroupMovesEveryChannel)
{
	using Sample = TypeParam;
	IPtr<DSPAlgo> algo = owned (new DSPAlgo (1, 2, 2));
	auto* lfo = static_cast<LorenzLFO*> (algo->addController (new LorenzLFO (kLfoId)));
	auto* gain = static_cast<Gain*> (algo->addFunction (new Gain (kGainId, 2)));
	lfo->setParameter (LorenzLFO::kDepthParamNo, 0, true, false, 10.0);
	gain->setParameterGroup (Gain::kGainParamNo, 0, 1);
	gain->setParameterGroup (Gain::kGainParamNo, 1, 1);
	ASSERT_NE (gain->linkParameter (lfo, Gain::kGainParamNo, 0, kLinkReplace), nullptr);
	prepare<Sample> (*algo);
	Buffers<Sample> in (2, kFrames, 0.25), out (2, kFrames);
	process (*algo, in.get (), out.get (), kFrames);
	EXPECT_EQ (out.channel (0), out.channel (1));
	EXPECT_NE (out.at (0, kFrames - 1), static_cast<Sample> (0.25));
}

// Gain -6 dB, split to two channels, channel 1 inverted, then mixed in decibels with input 1
// at -6 dB: the output is the gained input times (1 - 10^(-6/20)).
TYPED_TEST (LinkGraphTest, SimpleBlocksRunInASeriesContainer)
{
	using Sample = TypeParam;
	IPtr<DSPAlgo> algo = owned (new DSPAlgo (1, 1, 1));
	auto* gain = static_cast<Gain*> (algo->addFunction (new Gain (1, 1)));
	algo->addFunction (new Splitter (2, 1, 2));
	auto* inverter = static_cast<PhaseInverter*> (algo->addFunction (new PhaseInverter (3, 2)));
	auto* mixer = static_cast<Mixer*> (algo->addFunction (new Mixer (4, 2, 1, Mixer::kDecibelLevels)));
	gain->setParameter (Gain::kGainParamNo, 0, true, false, -6.0);
	inverter->setParameter (PhaseInverter::kInversionParamNo, 1, true, false, 1.0);
	mixer->setLevel (Mixer::kLevelParamNo, 1, 0, -6.0);
	prepare<Sample> (*algo);

	Buffers<Sample> in (1, kFrames), out (1, kFrames);
	for (int32 i = 0; i < kFrames; ++i)
		in.at (0, i) = static_cast<Sample> (std::sin (0.05 * i));
	process (*algo, in.get (), out.get (), kFrames);
	for (int32 i = 0; i < kFrames; ++i)
	{
		const double gained = static_cast<double> (static_cast<Sample> (kMinus6Db * static_cast<double> (in.at (0, i))));
		const double expected = gained * (1.0 - kMinus6Db);
		ASSERT_NEAR (out.at (0, i), expected, storedTolerance<Sample> (1.0) * 4) << i;
	}
}

// A parallel container 1 -> 3: a two-output oscillator beside a Gain.
TYPED_TEST (LinkGraphTest, OscillatorRunsAsAGeneratorBesideAnEffect)
{
	using Sample = TypeParam;
	IPtr<DSPAlgo> algo = owned (new DSPAlgo (1, 1, 3, kParallelTopology));
	algo->addFunction (new LorenzOSC (1, 2));
	auto* gain = static_cast<Gain*> (algo->addFunction (new Gain (2, 1)));
	gain->setParameter (Gain::kGainParamNo, 0, true, false, 12.0);
	prepare<Sample> (*algo, 250000.0);

	Buffers<Sample> in (1, kFrames, 0.1), out (3, kFrames);
	process (*algo, in.get (), out.get (), kFrames);
	LorenzAttractor reference;
	reference.setStep (0.001);
	for (int32 i = 0; i < kFrames; ++i)
	{
		reference.advance ();
		const auto oscillator = static_cast<Sample> (reference.getX () * LorenzAttractor::kOutputScale);
		ASSERT_EQ (out.at (0, i), oscillator) << i;
		ASSERT_EQ (out.at (1, i), oscillator) << i;
		ASSERT_NEAR (out.at (2, i), 0.1 * dbToFactor (12.0), storedTolerance<Sample> (1.0) * 4) << i;
	}
}
