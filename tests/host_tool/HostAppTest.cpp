#include "FixtureBundle.h"

#include "tests/support/BundlePath.h"

#include "tools/vst3host/HostApp.h"
#include "tools/vst3host/WavFile.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <sstream>

using namespace veltrane_test;
using namespace Veltrane::Host;
using testing::HasSubstr;

namespace {

struct HostRun
{
	int status;
	std::string out;
	std::string err;
};

HostRun runHost (const std::vector<std::string>& args)
{
	std::ostringstream out;
	std::ostringstream err;
	const int status = HostApp (out, err).run (args);
	return {status, out.str (), err.str ()};
}

struct FailingRun
{
	const char* label;
	std::vector<std::string> args;
	int status;
	const char* message;
};

void PrintTo (const FailingRun& c, std::ostream* os)
{
	*os << c.label;
}

class FailingCommand : public testing::TestWithParam<FailingRun>
{
};

} // namespace

TEST_P (FailingCommand, ExitsNonZeroAndSaysWhy)
{
	const HostRun run = runHost (GetParam ().args);
	EXPECT_EQ (run.status, GetParam ().status);
	EXPECT_THAT (run.err, HasSubstr (GetParam ().message));
}

INSTANTIATE_TEST_SUITE_P (
    HostApp, FailingCommand,
    testing::Values (FailingRun {"NoCommand", {}, 2, "usage"},
                     FailingRun {"UnknownOption", {"list", "x", "--fast", "1"}, 2, "unknown option --fast"},
                     FailingRun {"MissingBundle", {"list", "/no/such.vst3"}, 1, "no bundle folder at /no/such.vst3"},
                     FailingRun {"BundleWithoutFactory", {"list", fixtureBundle ("NoFactory")}, 1,
                                 "exports no GetPluginFactory"},
                     FailingRun {"MissingInput", {"render", veltraneBundle (), "/no/such.wav", "/tmp/x.wav"}, 1,
                                 "/no/such.wav"},
                     FailingRun {"MissingState",
                                 {"render", fixtureBundle ("TestEffect"), "/no/such.wav", "o.wav", "--load-state",
                                  "/no/such.chunk"},
                                 1, "/no/such"}),
    [] (const testing::TestParamInfo<FailingRun>& info) { return info.param.label; });

TEST (HostApp, ListsTheClassesOfTheBuiltBundle)
{
	const HostRun run = runHost ({"list", veltraneBundle ()});
	EXPECT_EQ (run.status, 0) << run.err;
	EXPECT_THAT (run.out, HasSubstr ("Component Controller Class  \"ks Veltrane Controller\""));
}

TEST (HostApp, ListsTheParametersThroughTheProcessorsController)
{
	const HostRun run = runHost ({"list", fixtureBundle ("TestEffect")});
	EXPECT_EQ (run.status, 0) << run.err;
	EXPECT_THAT (run.out, HasSubstr ("Audio Module Class  \"Test Effect\""));
	EXPECT_THAT (run.out, HasSubstr ("Gain"));
}

TEST (HostApp, RendersTheDemoAndKeepsTheStateItWasAskedFor)
{
	const ScratchFolder scratch;
	ASSERT_EQ (runHost ({"demo", scratch.file ("demo.wav"), "--seconds", "0.5", "--rate", "44100"}).status, 0);
	const HostRun run = runHost ({"render", fixtureBundle ("TestEffect"), scratch.file ("demo.wav"), scratch.file ("out.wav"),
	                          "--param", "0=0.5", "--save-state", scratch.file ("saved.chunk")});
	ASSERT_EQ (run.status, 0) << run.err;
	EXPECT_THAT (run.out, HasSubstr (scratch.file ("out.wav")));

	const AudioBuffer in = WavFile::read (scratch.file ("demo.wav"));
	const AudioBuffer out = WavFile::read (scratch.file ("out.wav"));
	EXPECT_EQ (out.sampleRate, 44100);
	ASSERT_EQ (out.numFrames (), in.numFrames ());
	EXPECT_FLOAT_EQ (out.channels[1][1000], 0.5 * in.channels[1][1000]);

	const HostRun reloaded = runHost ({"render", fixtureBundle ("TestEffect"), scratch.file ("demo.wav"),
	                               scratch.file ("again.wav"), "--load-state", scratch.file ("saved.chunk")});
	ASSERT_EQ (reloaded.status, 0) << reloaded.err;
	EXPECT_FLOAT_EQ (WavFile::read (scratch.file ("again.wav")).channels[0][2000], 0.5 * in.channels[0][2000]);
}
