#include "tools/vst3host/HostApp.h"

#include "tools/vst3host/DemoSignal.h"
#include "tools/vst3host/HostError.h"
#include "tools/vst3host/PluginInstance.h"
#include "tools/vst3host/WavFile.h"

#include "pluginterfaces/vst/ivstaudioprocessor.h"

#include <cstdio>
#include <iomanip>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Veltrane {
namespace Host {

namespace {

std::string hexOf (const TUID cid)
{
	std::string text;
	for (size_t i = 0; i < sizeof (TUID); ++i)
	{
		char digits[3];
		std::snprintf (digits, sizeof digits, "%02X", static_cast<unsigned char> (cid[i]));
		text += digits;
	}
	return text;
}

void printClasses (std::ostream& out, const PluginModule& module)
{
	const PFactoryInfo& info = module.getFactoryInfo ();
	out << "vendor: " << info.vendor << "  " << info.url << "  " << info.email << "\n";
	out << "classes:\n";
	for (const ClassRecord& record : module.getClasses ())
	{
		out << "  " << hexOf (record.cid) << "  " << record.category << "  \"" << record.name << "\"";
		if (!record.subCategories.empty ())
			out << "  " << record.subCategories;
		if (!record.version.empty ())
			out << "  version " << record.version << "  " << record.sdkVersion;
		out << "\n";
	}
}

void printParameters (std::ostream& out, PluginInstance& plugin)
{
	out << "parameters:\n";
	for (const ParameterRecord& parameter : plugin.getController ().getParameters ())
	{
		out << "  " << std::setw (8) << parameter.id << "  " << std::left << std::setw (16) << parameter.title
		    << std::right << "  " << parameter.valueText;
		if (!parameter.units.empty ())
			out << " " << parameter.units;
		out << "  (normalized " << parameter.value << ", steps " << parameter.stepCount << ", flags 0x"
		    << std::hex << parameter.flags << std::dec << ")\n";
	}
}

} // namespace

HostApp::HostApp (std::ostream& outStream, std::ostream& errStream) : out (outStream), err (errStream)
{
}

int HostApp::run (const std::vector<std::string>& args)
{
	HostOptions options;
	try
	{
		options = HostOptions::parse (args);
	}
	catch (const HostError& error)
	{
		err << "vst3host: " << error.what () << "\n" << HostOptions::usage ();
		return 2;
	}
	try
	{
		switch (options.command)
		{
			case HostOptions::Command::Help: out << HostOptions::usage (); break;
			case HostOptions::Command::List: list (options); break;
			case HostOptions::Command::Render: render (options); break;
			case HostOptions::Command::Demo: demo (options); break;
		}
	}
	catch (const std::exception& error)
	{
		err << "vst3host: " << error.what () << "\n";
		return 1;
	}
	return 0;
}

void HostApp::list (const HostOptions& options)
{
	const PluginModule module (options.bundlePath);
	printClasses (out, module);
	if (!module.findClass (kVstAudioEffectClass))
	{
		out << "no \"" << kVstAudioEffectClass << "\" class, so no parameters to list\n";
		return;
	}
	PluginInstance plugin (module);
	printParameters (out, plugin);
}

void HostApp::render (const HostOptions& options)
{
	const AudioBuffer input = WavFile::read (options.inputPath);
	RenderSettings settings = options.render;
	if (!options.sampleRateGiven)
		settings.sampleRate = input.sampleRate;
	const StateChunk state = options.loadStatePath.empty () ? StateChunk () : ChunkFile::read (options.loadStatePath);

	const PluginModule module (options.bundlePath);
	PluginInstance plugin (module);
	if (!options.loadStatePath.empty ())
		plugin.loadState (state);
	Renderer renderer (plugin.getProcessor ());
	const AudioBuffer output = renderer.render (input, settings);
	WavFile::write (options.outputPath, output);
	if (!options.saveStatePath.empty ())
		ChunkFile::write (options.saveStatePath, plugin.saveState ());

	out << "rendered " << output.numFrames () << " frames of " << output.numChannels () << " channels at "
	    << settings.sampleRate << " Hz (" << (settings.sampleSize == kSample64 ? 64 : 32) << "-bit, blocks of "
	    << settings.blockSize << "), latency " << renderer.getLatency () << " samples"
	    << (settings.compensateLatency ? " (compensated)" : "") << "\n";
	out << "output: " << options.outputPath << "\n";
}

void HostApp::demo (const HostOptions& options)
{
	const double rate = options.sampleRateGiven ? options.render.sampleRate : 48000;
	WavFile::write (options.outputPath, DemoSignal::generate (rate, options.demoSeconds));
	out << "demo signal: " << options.outputPath << "\n";
}

} // namespace Host
} // namespace Veltrane
