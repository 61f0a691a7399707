#include "tools/vst3host/WavFile.h"

#include "tools/vst3host/HostError.h"

#include <sndfile.h>

#include <cmath>
#include <memory>

namespace Veltrane {
namespace Host {

namespace {

struct FileCloser
{
	void operator() (SNDFILE* file) const { sf_close (file); }
};
using FileHandle = std::unique_ptr<SNDFILE, FileCloser>;

FileHandle open (const std::string& path, int mode, SF_INFO& info)
{
	FileHandle file (sf_open (path.c_str (), mode, &info));
	if (!file)
		throw HostError ("cannot " + std::string (mode == SFM_READ ? "read" : "write") + " audio file " +
		                 path + ": " + sf_strerror (nullptr));
	return file;
}

void checkWritable (const std::string& path, const AudioBuffer& audio)
{
	if (audio.channels.empty ())
		throw HostError ("no audio to write to " + path);
	for (const auto& channel : audio.channels)
	{
		if (channel.size () != audio.numFrames ())
			throw HostError ("channels of unequal length for " + path);
	}
	if (!(audio.sampleRate >= 1) || audio.sampleRate != std::floor (audio.sampleRate))
		throw HostError ("sample rate " + std::to_string (audio.sampleRate) + " cannot be stored in " + path);
}

} // namespace

AudioBuffer WavFile::read (const std::string& path)
{
	SF_INFO info {};
	FileHandle file = open (path, SFM_READ, info);
	if (info.channels < 1 || info.frames < 0)
		throw HostError ("audio file " + path + " holds no channels");
	const auto numChannels = static_cast<size_t> (info.channels);
	std::vector<double> interleaved (static_cast<size_t> (info.frames) * numChannels);
	const sf_count_t got = sf_readf_double (file.get (), interleaved.data (), info.frames);
	if (got != info.frames)
		throw HostError ("audio file " + path + " ends early: " + sf_strerror (file.get ()));

	AudioBuffer audio;
	audio.sampleRate = info.samplerate;
	audio.channels.assign (numChannels, std::vector<double> (static_cast<size_t> (info.frames)));
	for (size_t frame = 0; frame < audio.numFrames (); ++frame)
	{
		for (size_t c = 0; c < numChannels; ++c)
			audio.channels[c][frame] = interleaved[frame * numChannels + c];
	}
	return audio;
}

void WavFile::write (const std::string& path, const AudioBuffer& audio)
{
	checkWritable (path, audio);
	SF_INFO info {};
	info.samplerate = static_cast<int> (audio.sampleRate);
	info.channels = static_cast<int> (audio.numChannels ());
	info.format = SF_FORMAT_WAV | SF_FORMAT_FLOAT;
	FileHandle file = open (path, SFM_WRITE, info);

	const size_t numChannels = audio.numChannels ();
	std::vector<double> interleaved (audio.numFrames () * numChannels);
	for (size_t frame = 0; frame < audio.numFrames (); ++frame)
	{
		for (size_t c = 0; c < numChannels; ++c)
			interleaved[frame * numChannels + c] = audio.channels[c][frame];
	}
	const auto frames = static_cast<sf_count_t> (audio.numFrames ());
	if (sf_writef_double (file.get (), interleaved.data (), frames) != frames)
		throw HostError ("cannot write audio file " + path + ": " + sf_strerror (file.get ()));
}

} // namespace Host
} // namespace Veltrane
