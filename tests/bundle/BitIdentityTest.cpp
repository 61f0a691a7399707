// Renders through the built bundle must keep their bits: every fixed setting, at every common rate,
// in both sample sizes and at host blocks of 1, 64 and 4096 frames, hashes to the digest recorded
// from a known-good build. Faster code may not change a single output sample.
#include "tests/support/BundlePath.h"

#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/Renderer.h"

#include "plugin/processor/PlugParamIds.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

using namespace veltrane_test;
using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

namespace {

using Values = std::vector<std::pair<ParamID, ParamValue>>;

struct Setting
{
	const char* name;
	size_t inputChannels;
	Values values;
};

const std::vector<Setting>& settings ()
{
	static const std::vector<Setting> all {
	    {"defaults", 2, {}},
	    {"wide", 2,
	     {{kMixId, 1.0}, {kShiftId, 0.7}, {kDelayId, 0.8}, {kCentreId, 0.4}, {kColorId, 0.6}, {kDriveId, 0.5},
	      {kDriveBypassId, 0.0}}},
	    {"stagesBypassed", 2, {{kMixId, 0.3}, {kDelayId, 0.2}, {kShiftBypassId, 1.0}, {kDecorrBypassId, 1.0}}},
	    {"globalBypass", 2, {{kBypassId, 1.0}}},
	    {"monoIn", 1, {{kShiftId, 0.35}, {kColorId, 1.0}, {kDriveId, 1.0}, {kDriveBypassId, 0.0}}},
	};
	return all;
}

const double kRates[] = {44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0};
const int32 kBlocks[] = {1, 64, 4096};

// A fifth of a second of noise under a tone, the same on every machine.
AudioBuffer signal (double sampleRate, size_t channels)
{
	AudioBuffer audio;
	audio.sampleRate = sampleRate;
	audio.channels.assign (channels, std::vector<double> (static_cast<size_t> (sampleRate * 0.2)));
	uint32_t seed = 2024;
	for (size_t c = 0; c < channels; ++c)
	{
		auto& channel = audio.channels[c];
		for (size_t i = 0; i < channel.size (); ++i)
		{
			seed = seed * 1664525u + 1013904223u;
			const double noise = static_cast<double> (seed >> 8) / static_cast<double> (1u << 24) - 0.5;
			const double tone = std::sin (2.0 * M_PI * (330.0 + 110.0 * static_cast<double> (c)) * static_cast<double> (i) / sampleRate);
			channel[i] = 0.4 * noise + 0.3 * tone;
		}
	}
	return audio;
}

// FNV-1a over the bytes of every output sample, channel after channel.
uint64_t digest (const AudioBuffer& audio)
{
	uint64_t hash = 14695981039346656037ull;
	for (const auto& channel : audio.channels)
	{
		for (double sample : channel)
		{
			unsigned char bytes[sizeof (double)];
			std::memcpy (bytes, &sample, sizeof bytes);
			for (unsigned char b : bytes)
				hash = (hash ^ b) * 1099511628211ull;
		}
	}
	return hash;
}

struct Case
{
	size_t setting;
	double sampleRate;
	int32 sampleSize;
};

std::string caseKey (const Case& c, int32 block)
{
	return std::string (settings ()[c.setting].name) + "/" + std::to_string (static_cast<int> (c.sampleRate)) + "/" +
	       (c.sampleSize == kSample64 ? "64" : "32") + "/" + std::to_string (block);
}

std::string hex (uint64_t value)
{
	char text[19];
	std::snprintf (text, sizeof text, "0x%016llx", static_cast<unsigned long long> (value));
	return text;
}

// Digests of the renders, by setting / rate / sample size / host block.
const std::map<std::string, uint64_t>& recordedDigests ()
{
	static const std::map<std::string, uint64_t> digests {
	    {"defaults/44100/32/1", 0xa469840c3b9f2f6d},
	    {"defaults/44100/32/64", 0x82ab3347e9a50a4d},
	    {"defaults/44100/32/4096", 0x82ab3347e9a50a4d},
	    {"defaults/44100/64/1", 0x0d1169b56ca42457},
	    {"defaults/44100/64/64", 0xa152f725ceba6ec3},
	    {"defaults/44100/64/4096", 0xc4696d8b852cb4c6},
	    {"defaults/48000/32/1", 0x2f063c49c84335dc},
	    {"defaults/48000/32/64", 0x2f063c49c84335dc},
	    {"defaults/48000/32/4096", 0x2f063c49c84335dc},
	    {"defaults/48000/64/1", 0xe1c482d7ea7fcff8},
	    {"defaults/48000/64/64", 0x69260844a7184acc},
	    {"defaults/48000/64/4096", 0xc30d9517c32a3d61},
	    {"defaults/88200/32/1", 0xb79005b90370a024},
	    {"defaults/88200/32/64", 0xb79005b90370a024},
	    {"defaults/88200/32/4096", 0xb79005b90370a024},
	    {"defaults/88200/64/1", 0xe8865df021e4088c},
	    {"defaults/88200/64/64", 0xabee402222e052dd},
	    {"defaults/88200/64/4096", 0x66da96649c0e25ef},
	    {"defaults/96000/32/1", 0xcbdd0b2d51c00f86},
	    {"defaults/96000/32/64", 0xcbdd0b2d51c00f86},
	    {"defaults/96000/32/4096", 0xcbdd0b2d51c00f86},
	    {"defaults/96000/64/1", 0x3466981c9fd1196e},
	    {"defaults/96000/64/64", 0xa07a8df2f17721d4},
	    {"defaults/96000/64/4096", 0xba658738bb063046},
	    {"defaults/176400/32/1", 0xf0e0e49a831c4abd},
	    {"defaults/176400/32/64", 0xb70fa91a0397029d},
	    {"defaults/176400/32/4096", 0xf0e0e49a831c4abd},
	    {"defaults/176400/64/1", 0x7e5a853ae1d1c426},
	    {"defaults/176400/64/64", 0xc47e488a4bdfaa54},
	    {"defaults/176400/64/4096", 0x242e916eec559220},
	    {"defaults/192000/32/1", 0x1deade01e88c1589},
	    {"defaults/192000/32/64", 0x1deade01e88c1589},
	    {"defaults/192000/32/4096", 0x1deade01e88c1589},
	    {"defaults/192000/64/1", 0xd87ef7cd7aaca689},
	    {"defaults/192000/64/64", 0x6ccbbef4a2db53b9},
	    {"defaults/192000/64/4096", 0x5b96202106bc8c0b},
	    {"wide/44100/32/1", 0x0903051a2fa0fd64},
	    {"wide/44100/32/64", 0x0903051a2fa0fd64},
	    {"wide/44100/32/4096", 0x0903051a2fa0fd64},
	    {"wide/44100/64/1", 0xe8782289848d8129},
	    {"wide/44100/64/64", 0x9b0b1eabc4c07d97},
	    {"wide/44100/64/4096", 0x1ad18502a4e61122},
	    {"wide/48000/32/1", 0x00b24b374dc38cd4},
	    {"wide/48000/32/64", 0x00b24b374dc38cd4},
	    {"wide/48000/32/4096", 0x00b24b374dc38cd4},
	    {"wide/48000/64/1", 0x3c49953cd8e4def1},
	    {"wide/48000/64/64", 0x5d3af22895b0421b},
	    {"wide/48000/64/4096", 0xf518a9918218444c},
	    {"wide/88200/32/1", 0xc56986ec0e3713a6},
	    {"wide/88200/32/64", 0xc56986ec0e3713a6},
	    {"wide/88200/32/4096", 0xc56986ec0e3713a6},
	    {"wide/88200/64/1", 0x55e94ba9380b68d5},
	    {"wide/88200/64/64", 0x33253c7d1670b7db},
	    {"wide/88200/64/4096", 0x2d56ab1aaf1ecef0},
	    {"wide/96000/32/1", 0x522eb4088a2a1d78},
	    {"wide/96000/32/64", 0x522eb4088a2a1d78},
	    {"wide/96000/32/4096", 0x522eb4088a2a1d78},
	    {"wide/96000/64/1", 0xf80042087a8548dd},
	    {"wide/96000/64/64", 0x268d192b4b357e39},
	    {"wide/96000/64/4096", 0xfb212de1c4eb04a7},
	    {"wide/176400/32/1", 0xb1a3071bb1f7b6b8},
	    {"wide/176400/32/64", 0xb1a3071bb1f7b6b8},
	    {"wide/176400/32/4096", 0xb1a3071bb1f7b6b8},
	    {"wide/176400/64/1", 0xe201a2c25cbae565},
	    {"wide/176400/64/64", 0xefda592efc171e25},
	    {"wide/176400/64/4096", 0xbd2862941e41103a},
	    {"wide/192000/32/1", 0xee6f3faff98ed864},
	    {"wide/192000/32/64", 0xee6f3faff98ed864},
	    {"wide/192000/32/4096", 0xee6f3faff98ed864},
	    {"wide/192000/64/1", 0xd0552489094fd585},
	    {"wide/192000/64/64", 0x75098c6fa73e4347},
	    {"wide/192000/64/4096", 0x08410b06ea35a4e9},
	    {"stagesBypassed/44100/32/1", 0x442fe6d06cb01fa9},
	    {"stagesBypassed/44100/32/64", 0x442fe6d06cb01fa9},
	    {"stagesBypassed/44100/32/4096", 0x442fe6d06cb01fa9},
	    {"stagesBypassed/44100/64/1", 0x5b3c90268e83e0a5},
	    {"stagesBypassed/44100/64/64", 0x953c0d1a2081e3be},
	    {"stagesBypassed/44100/64/4096", 0x9852041f8f68f97e},
	    {"stagesBypassed/48000/32/1", 0x678899c621661b18},
	    {"stagesBypassed/48000/32/64", 0x678899c621661b18},
	    {"stagesBypassed/48000/32/4096", 0x678899c621661b18},
	    {"stagesBypassed/48000/64/1", 0x9d3fde52e19c99b7},
	    {"stagesBypassed/48000/64/64", 0xa2bfa9314d4408d7},
	    {"stagesBypassed/48000/64/4096", 0x9b5ecce5e44cc1f0},
	    {"stagesBypassed/88200/32/1", 0xffb8d5f13613f92a},
	    {"stagesBypassed/88200/32/64", 0xffb8d5f13613f92a},
	    {"stagesBypassed/88200/32/4096", 0xffb8d5f13613f92a},
	    {"stagesBypassed/88200/64/1", 0x95bd8456843e2c53},
	    {"stagesBypassed/88200/64/64", 0x1ad3716b2ca1ffac},
	    {"stagesBypassed/88200/64/4096", 0x3bb3a3617ea507db},
	    {"stagesBypassed/96000/32/1", 0xdbada66336a89d76},
	    {"stagesBypassed/96000/32/64", 0xdbada66336a89d76},
	    {"stagesBypassed/96000/32/4096", 0xdbada66336a89d76},
	    {"stagesBypassed/96000/64/1", 0xc37085962ad0d235},
	    {"stagesBypassed/96000/64/64", 0x90edb8051a7b6386},
	    {"stagesBypassed/96000/64/4096", 0xcffddc3afc52be8c},
	    {"stagesBypassed/176400/32/1", 0x2550b7f6b330509b},
	    {"stagesBypassed/176400/32/64", 0x36f90990a12c467b},
	    {"stagesBypassed/176400/32/4096", 0xe1cac4aba4c4cc9b},
	    {"stagesBypassed/176400/64/1", 0x8902c8e45433cd7d},
	    {"stagesBypassed/176400/64/64", 0xae1bd1ad8ff6294b},
	    {"stagesBypassed/176400/64/4096", 0x82a1e72c105e27a9},
	    {"stagesBypassed/192000/32/1", 0xa8b2af00d706026b},
	    {"stagesBypassed/192000/32/64", 0xa8b2af00d706026b},
	    {"stagesBypassed/192000/32/4096", 0xa8b2af00d706026b},
	    {"stagesBypassed/192000/64/1", 0xa8dcff15a765e930},
	    {"stagesBypassed/192000/64/64", 0x1f4e378f970a1628},
	    {"stagesBypassed/192000/64/4096", 0x25f34c4d508d834d},
	    {"globalBypass/44100/32/1", 0x60255a6ee0b4a5cd},
	    {"globalBypass/44100/32/64", 0xe0e4000238ba206d},
	    {"globalBypass/44100/32/4096", 0x60255a6ee0b4a5cd},
	    {"globalBypass/44100/64/1", 0x934671ae4d31ca78},
	    {"globalBypass/44100/64/64", 0x9ee7412d123ce373},
	    {"globalBypass/44100/64/4096", 0xfa7899e5c5ef878b},
	    {"globalBypass/48000/32/1", 0xa9949be250fb2981},
	    {"globalBypass/48000/32/64", 0xa9949be250fb2981},
	    {"globalBypass/48000/32/4096", 0xa9949be250fb2981},
	    {"globalBypass/48000/64/1", 0x49602afd38847b25},
	    {"globalBypass/48000/64/64", 0x2693029faf641dfe},
	    {"globalBypass/48000/64/4096", 0x0097ebbaf04a49e6},
	    {"globalBypass/88200/32/1", 0x4bbba1072ea65b3f},
	    {"globalBypass/88200/32/64", 0x4bbba1072ea65b3f},
	    {"globalBypass/88200/32/4096", 0x4bbba1072ea65b3f},
	    {"globalBypass/88200/64/1", 0x9d0a52ce6e7fbfd9},
	    {"globalBypass/88200/64/64", 0xf3858f0ef5b24841},
	    {"globalBypass/88200/64/4096", 0xcdc0ac3af64a085f},
	    {"globalBypass/96000/32/1", 0x1081ad1ca405d755},
	    {"globalBypass/96000/32/64", 0x1081ad1ca405d755},
	    {"globalBypass/96000/32/4096", 0x1081ad1ca405d755},
	    {"globalBypass/96000/64/1", 0xbe89cdde32c060f8},
	    {"globalBypass/96000/64/64", 0x1b4516f9acdc2cf0},
	    {"globalBypass/96000/64/4096", 0x3abdadf7f51ef941},
	    {"globalBypass/176400/32/1", 0x17a1aa01e37ce394},
	    {"globalBypass/176400/32/64", 0x17a1aa01e37ce394},
	    {"globalBypass/176400/32/4096", 0x17a1aa01e37ce394},
	    {"globalBypass/176400/64/1", 0x2eb410c69d4fee4b},
	    {"globalBypass/176400/64/64", 0x268544b02ca992c5},
	    {"globalBypass/176400/64/4096", 0xea3320960d610ce8},
	    {"globalBypass/192000/32/1", 0x78abfdd267c75bb5},
	    {"globalBypass/192000/32/64", 0xd24e08847323d322},
	    {"globalBypass/192000/32/4096", 0x78abfdd267c75bb5},
	    {"globalBypass/192000/64/1", 0xd0ac589eceff9a20},
	    {"globalBypass/192000/64/64", 0x2cf2d22ee14919dd},
	    {"globalBypass/192000/64/4096", 0xd8d193f5d11b6c4d},
	    {"monoIn/44100/32/1", 0xb14a2fe4b1850cd2},
	    {"monoIn/44100/32/64", 0x2d56508ed357f195},
	    {"monoIn/44100/32/4096", 0xf8a722473605cb99},
	    {"monoIn/44100/64/1", 0xb1cd1469aaebb4cd},
	    {"monoIn/44100/64/64", 0x98ce5c0839fc83d2},
	    {"monoIn/44100/64/4096", 0xb22b7757de745690},
	    {"monoIn/48000/32/1", 0xce833dd12e264ce9},
	    {"monoIn/48000/32/64", 0xce833dd12e264ce9},
	    {"monoIn/48000/32/4096", 0xce833dd12e264ce9},
	    {"monoIn/48000/64/1", 0x679f1025621b90f1},
	    {"monoIn/48000/64/64", 0x75150af87c0dd400},
	    {"monoIn/48000/64/4096", 0x8fc6f55cf2524592},
	    {"monoIn/88200/32/1", 0x8c7f5f79320445a6},
	    {"monoIn/88200/32/64", 0x8c7f5f79320445a6},
	    {"monoIn/88200/32/4096", 0x8c7f5f79320445a6},
	    {"monoIn/88200/64/1", 0xb3a930bc0e2fc5dd},
	    {"monoIn/88200/64/64", 0x705202df92c1c0bd},
	    {"monoIn/88200/64/4096", 0xcd7a64437cd64ea7},
	    {"monoIn/96000/32/1", 0xc87fab6e5eedad4e},
	    {"monoIn/96000/32/64", 0xc87fab6e5eedad4e},
	    {"monoIn/96000/32/4096", 0xc87fab6e5eedad4e},
	    {"monoIn/96000/64/1", 0x5448a109a85ec739},
	    {"monoIn/96000/64/64", 0x01ba98261459c737},
	    {"monoIn/96000/64/4096", 0x8b5051b14d267a0a},
	    {"monoIn/176400/32/1", 0x1802efda5260ea4d},
	    {"monoIn/176400/32/64", 0x6ec9fae6d02d1ec2},
	    {"monoIn/176400/32/4096", 0x8155533457c5466d},
	    {"monoIn/176400/64/1", 0xf7a391e0dbfa426e},
	    {"monoIn/176400/64/64", 0x378720d01ad0c4c4},
	    {"monoIn/176400/64/4096", 0x78e5230ba8c18ddf},
	    {"monoIn/192000/32/1", 0xf930fb5e395c7322},
	    {"monoIn/192000/32/64", 0x7ab1ec65ecafbc02},
	    {"monoIn/192000/32/4096", 0x4f53314744d2e033},
	    {"monoIn/192000/64/1", 0x51c871f50392a947},
	    {"monoIn/192000/64/64", 0x54a384322d08f7a2},
	    {"monoIn/192000/64/4096", 0x0fe2c75865477830},
	};
	return digests;
}

std::vector<Case> allCases ()
{
	std::vector<Case> cases;
	for (size_t s = 0; s < settings ().size (); ++s)
		for (double rate : kRates)
			for (int32 size : {kSample32, kSample64})
				cases.push_back ({s, rate, size});
	return cases;
}

std::string caseName (const testing::TestParamInfo<Case>& info)
{
	return std::string (settings ()[info.param.setting].name) + "_" +
	       std::to_string (static_cast<int> (info.param.sampleRate)) + "Hz_" +
	       (info.param.sampleSize == kSample64 ? "64bit" : "32bit");
}

class RenderBits : public testing::TestWithParam<Case>
{
};

TEST_P (RenderBits, MatchRecordedDigests)
{
	PluginModule module (veltraneBundle ());
	const Case& c = GetParam ();
	const Setting& setting = settings ()[c.setting];
	const AudioBuffer input = signal (c.sampleRate, setting.inputChannels);
	for (int32 block : kBlocks)
	{
		PluginInstance plugin (module);
		Renderer renderer (plugin.getProcessor ());
		RenderSettings render;
		render.sampleRate = c.sampleRate;
		render.blockSize = block;
		render.sampleSize = c.sampleSize;
		render.parameters = setting.values;
		const uint64_t actual = digest (renderer.render (input, render));

		const std::string key = caseKey (c, block);
		const auto recorded = recordedDigests ().find (key);
		if (recorded == recordedDigests ().end ())
			ADD_FAILURE () << "no digest recorded for {\"" << key << "\", " << hex (actual) << "},";
		else
			EXPECT_EQ (hex (recorded->second), hex (actual)) << key;
	}
}

INSTANTIATE_TEST_SUITE_P (Bundle, RenderBits, testing::ValuesIn (allCases ()), caseName);

} // namespace
