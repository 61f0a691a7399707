#include "tools/vst3host/HostError.h"
#include "tools/vst3host/HostOptions.h"

#include <gtest/gtest.h>

using namespace Steinberg::Vst;
using namespace Veltrane::Host;

TEST (HostOptions, ReadsARenderCommandWithEveryOption)
{
	const HostOptions options = HostOptions::parse (
	    {"render", "b.vst3", "--block", "64", "in.wav", "--rate", "96000", "--precision", "64", "--param", "3=0.25",
	     "--param", "1000000=1", "--load-state", "a.chunk", "--save-state", "b.chunk", "--keep-latency", "out.wav"});
	EXPECT_EQ (options.command, HostOptions::Command::Render);
	EXPECT_EQ (options.bundlePath, "b.vst3");
	EXPECT_EQ (options.inputPath, "in.wav");
	EXPECT_EQ (options.outputPath, "out.wav");
	EXPECT_EQ (options.render.blockSize, 64);
	EXPECT_EQ (options.render.sampleRate, 96000);
	EXPECT_TRUE (options.sampleRateGiven);
	EXPECT_EQ (options.render.sampleSize, kSample64);
	EXPECT_EQ (options.render.parameters,
	           (std::vector<std::pair<ParamID, ParamValue>> {{3, 0.25}, {1000000, 1.0}}));
	EXPECT_EQ (options.loadStatePath, "a.chunk");
	EXPECT_EQ (options.saveStatePath, "b.chunk");
	EXPECT_FALSE (options.render.compensateLatency);
}

TEST (HostOptions, RenderDefaultsFollowTheInput)
{
	const HostOptions options = HostOptions::parse ({"render", "b.vst3", "in.wav", "out.wav"});
	EXPECT_FALSE (options.sampleRateGiven);
	EXPECT_EQ (options.render.sampleSize, kSample32);
	EXPECT_TRUE (options.render.compensateLatency);
	EXPECT_TRUE (options.render.parameters.empty ());
}

class BadCommandLine : public testing::TestWithParam<std::vector<std::string>>
{
};

TEST_P (BadCommandLine, IsRefused)
{
	EXPECT_THROW (HostOptions::parse (GetParam ()), HostError);
}

INSTANTIATE_TEST_SUITE_P (
    HostOptions, BadCommandLine,
    testing::Values (std::vector<std::string> {}, std::vector<std::string> {"play", "x"},
                     std::vector<std::string> {"list"}, std::vector<std::string> {"list", "a", "b"},
                     std::vector<std::string> {"render", "b", "in.wav"},
                     std::vector<std::string> {"render", "b", "i", "o", "--block"},
                     std::vector<std::string> {"render", "b", "i", "o", "--block", "0"},
                     std::vector<std::string> {"render", "b", "i", "o", "--block", "12.5"},
                     std::vector<std::string> {"render", "b", "i", "o", "--block", "1e9"},
                     std::vector<std::string> {"render", "b", "i", "o", "--rate", "-48000"},
                     std::vector<std::string> {"render", "b", "i", "o", "--rate", "48k"},
                     std::vector<std::string> {"render", "b", "i", "o", "--rate", "nan"},
                     std::vector<std::string> {"render", "b", "i", "o", "--precision", "16"},
                     std::vector<std::string> {"render", "b", "i", "o", "--param", "3"},
                     std::vector<std::string> {"render", "b", "i", "o", "--param", "3=1.5"},
                     std::vector<std::string> {"render", "b", "i", "o", "--param", "-1=0.5"},
                     std::vector<std::string> {"render", "b", "i", "o", "--param", "2.5=0.5"},
                     std::vector<std::string> {"render", "b", "i", "o", "--param", "=0.5"},
                     std::vector<std::string> {"render", "b", "i", "o", "--volume", "3"},
                     std::vector<std::string> {"demo", "o.wav", "--seconds", "-1"}));
