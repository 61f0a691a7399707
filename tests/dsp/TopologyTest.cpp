#include "TestBlocks.h"

#include "dsp/DSPAlgo.h"

#include <gtest/gtest.h>

using namespace KOREMU::DSPLib;
using namespace KOREMU::DSPLib::Testing;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {
constexpr int32 kFrames = 8;

class Walk : public ::testing::Test
{
protected:
	IPtr<DSPAlgo> make (int32 inputs, int32 outputs, int32 topology)
	{
		algo = owned (new DSPAlgo (100, inputs, outputs, topology));
		in = std::make_unique<Buffers<double>> (inputs, kFrames);
		out = std::make_unique<Buffers<double>> (outputs, kFrames, -1.0);
		for (int c = 0; c < inputs; ++c)
			for (int i = 0; i < kFrames; ++i)
				in->at (c, i) = c + 1;
		return algo;
	}
	ScaleBlock* add (int32 id, int32 inputs, int32 outputs, double factor = 1.0, double offset = 0.0)
	{
		return static_cast<ScaleBlock*> (algo->addFunction (new ScaleBlock (id, inputs, outputs, factor, offset)));
	}
	void run ()
	{
		algo->setSampleRate (44100.0);
		algo->setBlockSize (kFrames);
		ASSERT_EQ (algo->setup (), 0);
		algo->process64 (in->get (), out->get (), kFrames);
	}
	double output (int c) { return out->at (c, kFrames - 1); }

	IPtr<DSPAlgo> algo;
	std::unique_ptr<Buffers<double>> in;
	std::unique_ptr<Buffers<double>> out;
};
} // namespace

TEST_F (Walk, SeriesFirstReadsInputsAndLastWritesOutputs)
{
	make (1, 2, kSeriesTopology);
	add (1, 1, 2, 2.0);
	add (2, 2, 2, 1.0, 0.5);
	run ();
	EXPECT_EQ (output (0), 2.5);
	EXPECT_EQ (output (1), 2.5);
	EXPECT_EQ (algo->getCable (1)->getBuffers64 ()[1][0], 2.0);
}

TEST_F (Walk, SeriesSkipsAChildThatDoesNotFitAndTheNextReadsItsZeroCable)
{
	make (1, 1, kSeriesTopology);
	add (1, 1, 2, 2.0);
	ScaleBlock* skipped = add (2, 1, 1, 3.0);
	add (3, 1, 1, 1.0);
	run ();
	EXPECT_EQ (skipped->calls, 0);
	EXPECT_EQ (output (0), 0.0);
}

TEST_F (Walk, SeriesOnlyChildWithFewerOutputsNeverRuns)
{
	make (1, 2, kSeriesTopology);
	ScaleBlock* child = add (1, 1, 1);
	run ();
	EXPECT_EQ (child->calls, 0);
	EXPECT_EQ (output (0), -1.0);
}

TEST_F (Walk, SeriesRunsAGeneratorFirstWhateverTheInputs)
{
	make (2, 1, kSeriesTopology);
	algo->addFunction (new ConstantGenerator (1, 1, 0.25));
	add (2, 1, 1, 4.0);
	run ();
	EXPECT_EQ (output (0), 1.0);
}

struct SideBySideCase
{
	const char* name;
	int32 topology;
	int32 inputs;
	int32 outputs;
	std::vector<std::pair<int32, int32>> children;
	std::vector<double> expected;
};

class SideBySide : public Walk, public ::testing::WithParamInterface<SideBySideCase>
{
};

TEST_P (SideBySide, LaysChildOutputsSideBySide)
{
	const SideBySideCase& c = GetParam ();
	make (c.inputs, c.outputs, c.topology);
	int32 id = 1;
	for (auto [childIn, childOut] : c.children)
	{
		add (id, childIn, childOut, 1.0, 10.0 * id);
		++id;
	}
	run ();
	for (size_t o = 0; o < c.expected.size (); ++o)
		EXPECT_EQ (output (static_cast<int> (o)), c.expected[o]) << c.name << " output " << o;
}

// Child k adds 10 k to its input; inputs carry 1, 2, ...; -1 marks an output the walk leaves alone.
INSTANTIATE_TEST_SUITE_P (
    Cases, SideBySide,
    ::testing::Values (
        SideBySideCase {"two 1-2 children", kParallelTopology, 1, 4, {{1, 2}, {1, 2}}, {11, 11, 21, 21}},
        SideBySideCase {"extra channel dropped", kParallelTopology, 1, 4, {{1, 2}, {1, 3}}, {11, 11, 21, 21}},
        SideBySideCase {"skipped child gives zeros", kParallelTopology, 2, 2, {{1, 1}}, {0, -1}},
        SideBySideCase {"per channel", kPerChannelTopology, 2, 2, {{1, 1}, {1, 1}}, {11, 22}},
        SideBySideCase {"per channel beyond the inputs", kPerChannelTopology, 1, 2, {{1, 1}, {1, 1}}, {11, 0}}),
    [] (const auto& info) {
	    std::string name = info.param.name;
	    for (char& ch : name)
		    if (!isalnum (static_cast<unsigned char> (ch)))
			    ch = '_';
	    return name;
    });

TEST_F (Walk, UnknownTopologyRunsNothingAndAResetGivesZeros)
{
	make (1, 1, 3);
	ScaleBlock* child = add (1, 1, 1);
	algo->setSampleRate (44100.0);
	algo->setBlockSize (kFrames);
	algo->setup ();
	algo->reset ();
	algo->process64 (in->get (), out->get (), kFrames);
	EXPECT_EQ (child->calls, 0);
	// The untouched output -1 blended halfway with the dry input 1.
	EXPECT_EQ (output (0), 0.0);
}

// Its members go on following the input, so that switching it back in fades to their warm output.
TEST_F (Walk, BypassedContainerCopiesAndKeepsItsMembersRunning)
{
	make (1, 2, kSeriesTopology);
	ScaleBlock* child = add (1, 1, 2, 5.0);
	auto* controller = static_cast<RampController*> (algo->addController (new RampController (9, 3.0, 0.0)));
	algo->setSampleRate (44100.0);
	algo->setBlockSize (kFrames);
	algo->setup ();
	algo->setParameter (kBypassParamNo, true, false, 1.0);
	algo->process64 (in->get (), out->get (), kFrames);
	for (int i = 0; i < 12000; i += kFrames)
		algo->process64 (in->get (), out->get (), kFrames);
	EXPECT_EQ (output (0), 1.0);
	EXPECT_EQ (output (1), 1.0);
	EXPECT_EQ (child->resets, 0);
	algo->getControllerCable (9)->clear ();
	const int callsBefore = child->calls;
	algo->process64 (in->get (), out->get (), kFrames);
	EXPECT_EQ (output (0), 1.0);
	EXPECT_EQ (child->calls, callsBefore + 1);
	EXPECT_EQ (algo->getControllerCable (9)->getBuffers64 ()[0][0], 3.0);
	EXPECT_EQ (controller->getKind (), kControllerKind);
}

namespace {
// A controller whose process call reports a failure.
class FailingController : public Controller
{
public:
	explicit FailingController (int32 id) : Controller (id) {}
	int32 process64 (double**, double**, int32) override { return 3; }
};
} // namespace

TEST_F (Walk, AFailingControllerStopsTheChildrenButNotTheMixStage)
{
	make (1, 1, kSeriesTopology);
	ScaleBlock* child = add (1, 1, 1, 4.0);
	algo->addController (new FailingController (9));
	algo->setSampleRate (44100.0);
	algo->setBlockSize (kFrames);
	ASSERT_EQ (algo->setup (), 0);
	algo->setParameter (kMixParamNo, true, false, 0.5);
	EXPECT_EQ (algo->process64 (in->get (), out->get (), kFrames), 0);
	EXPECT_EQ (child->calls, 0);
	// The untouched output -1 blended halfway with the dry input 1.
	EXPECT_EQ (output (0), 0.0);
}

TEST_F (Walk, ThirtyTwoBitGraphRunsOnFloatCables)
{
	algo = owned (new DSPAlgo (100, 1, 1));
	add (1, 1, 1, 2.0);
	add (2, 1, 1, 3.0);
	algo->setSampleRate (44100.0);
	algo->setBlockSize (kFrames);
	algo->setSampleSize (0);
	ASSERT_EQ (algo->setup (), 0);
	Buffers<float> fin (1, kFrames, 0.5f), fout (1, kFrames);
	algo->process32 (fin.get (), fout.get (), kFrames);
	EXPECT_EQ (fout.at (0, 3), 3.0f);
	EXPECT_NE (algo->getCable (1)->getBuffers32 (), nullptr);
}
