#include "tests/support/BundlePath.h"

#include "tools/vst3host/DemoSignal.h"
#include "tools/vst3host/HostError.h"
#include "tools/vst3host/WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <fstream>

using namespace veltrane_test;
using namespace Veltrane::Host;

TEST (WavFile, KeepsEveryFloatSampleAndTheRate)
{
	const ScratchFolder scratch;
	AudioBuffer audio;
	audio.sampleRate = 44100;
	audio.channels = {{0.5, -0.25, 1.5, 0.1}, {0.0, 0.75, -1.0, -0.1}};
	WavFile::write (scratch.file ("a.wav"), audio);
	const AudioBuffer read = WavFile::read (scratch.file ("a.wav"));
	EXPECT_EQ (read.sampleRate, 44100);
	ASSERT_EQ (read.numChannels (), 2u);
	for (size_t c = 0; c < 2; ++c)
	{
		for (size_t n = 0; n < 4; ++n)
			EXPECT_EQ (read.channels[c][n], static_cast<double> (static_cast<float> (audio.channels[c][n])));
	}
}

TEST (WavFile, ReportsWhatItCannotDo)
{
	const ScratchFolder scratch;
	EXPECT_THROW (WavFile::read (scratch.file ("missing.wav")), HostError);
	std::ofstream (scratch.file ("text.wav")) << "not audio";
	EXPECT_THROW (WavFile::read (scratch.file ("text.wav")), HostError);

	AudioBuffer ragged;
	ragged.sampleRate = 48000;
	ragged.channels = {{0.0, 0.0}, {0.0}};
	EXPECT_THROW (WavFile::write (scratch.file ("r.wav"), ragged), HostError);
	EXPECT_THROW (WavFile::write (scratch.file ("e.wav"), AudioBuffer ()), HostError);
	AudioBuffer fine;
	fine.sampleRate = 48000;
	fine.channels = {{0.0}};
	EXPECT_THROW (WavFile::write (scratch.file ("no/such/folder.wav"), fine), HostError);
}

TEST (DemoSignal, IsStereoAudibleAndBelowFullScale)
{
	const AudioBuffer demo = DemoSignal::generate (48000, 2);
	ASSERT_EQ (demo.numChannels (), 2u);
	EXPECT_EQ (demo.numFrames (), 96000u);
	double peak = 0;
	for (const auto& channel : demo.channels)
	{
		for (double sample : channel)
			peak = std::max (peak, std::abs (sample));
	}
	EXPECT_GT (peak, 0.1);
	EXPECT_LT (peak, 1.0);
	EXPECT_NE (demo.channels[0], demo.channels[1]);
}
