#include "tools/vst3host/HostOptions.h"

#include "tools/vst3host/HostError.h"

#include <cmath>
#include <cstdlib>
#include <limits>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Veltrane {
namespace Host {

namespace {

constexpr double kMaxSampleRate = 768000;
constexpr double kMaxBlockSize = 65536;
constexpr double kMaxDemoSeconds = 600;

double numberOf (const std::string& option, const std::string& text)
{
	char* end = nullptr;
	const double value = std::strtod (text.c_str (), &end);
	if (text.empty () || *end != 0 || !std::isfinite (value))
		throw HostError (option + " takes a number, not \"" + text + "\"");
	return value;
}

double numberIn (const std::string& option, const std::string& text, double min, double max)
{
	const double value = numberOf (option, text);
	if (value < min || value > max)
		throw HostError (option + " must lie between " + std::to_string (min) + " and " + std::to_string (max) +
		                 ", not " + text);
	return value;
}

int32 wholeNumberIn (const std::string& option, const std::string& text, double min, double max)
{
	const double value = numberIn (option, text, min, max);
	if (value != std::floor (value))
		throw HostError (option + " takes a whole number, not " + text);
	return static_cast<int32> (value);
}

std::pair<ParamID, ParamValue> parameterOf (const std::string& text)
{
	const size_t equals = text.find ('=');
	if (equals == std::string::npos)
		throw HostError ("--param takes TAG=VALUE, not \"" + text + "\"");
	const double tag = numberIn ("--param tag", text.substr (0, equals), 0,
	                             std::numeric_limits<ParamID>::max ());
	if (tag != std::floor (tag))
		throw HostError ("--param tag must be a whole number, not " + text.substr (0, equals));
	const double value = numberIn ("--param value", text.substr (equals + 1), 0, 1);
	return {static_cast<ParamID> (tag), value};
}

int32 sampleSizeOf (const std::string& bits)
{
	if (bits == "32")
		return kSample32;
	if (bits == "64")
		return kSample64;
	throw HostError ("--precision takes 32 or 64, not " + bits);
}

HostOptions::Command commandOf (const std::string& name)
{
	if (name == "list")
		return HostOptions::Command::List;
	if (name == "render")
		return HostOptions::Command::Render;
	if (name == "demo")
		return HostOptions::Command::Demo;
	if (name == "help" || name == "--help" || name == "-h")
		return HostOptions::Command::Help;
	throw HostError ("unknown command \"" + name + "\"");
}

size_t positionalCount (HostOptions::Command command)
{
	switch (command)
	{
		case HostOptions::Command::List: return 1;
		case HostOptions::Command::Render: return 3;
		case HostOptions::Command::Demo: return 1;
		case HostOptions::Command::Help: return 0;
	}
	return 0;
}

void takeOption (HostOptions& options, const std::string& option, const std::string& value)
{
	if (option == "--block")
		options.render.blockSize = wholeNumberIn (option, value, 1, kMaxBlockSize);
	else if (option == "--rate")
	{
		options.render.sampleRate = wholeNumberIn (option, value, 1, kMaxSampleRate);
		options.sampleRateGiven = true;
	}
	else if (option == "--precision")
		options.render.sampleSize = sampleSizeOf (value);
	else if (option == "--param")
		options.render.parameters.push_back (parameterOf (value));
	else if (option == "--load-state")
		options.loadStatePath = value;
	else if (option == "--save-state")
		options.saveStatePath = value;
	else if (option == "--seconds")
		options.demoSeconds = numberIn (option, value, 0, kMaxDemoSeconds);
	else
		throw HostError ("unknown option " + option);
}

void assignPositionals (HostOptions& options, const std::vector<std::string>& positionals)
{
	if (positionals.size () != positionalCount (options.command))
		throw HostError ("wrong number of arguments");
	switch (options.command)
	{
		case HostOptions::Command::List: options.bundlePath = positionals[0]; break;
		case HostOptions::Command::Render:
			options.bundlePath = positionals[0];
			options.inputPath = positionals[1];
			options.outputPath = positionals[2];
			break;
		case HostOptions::Command::Demo: options.outputPath = positionals[0]; break;
		case HostOptions::Command::Help: break;
	}
}

} // namespace

HostOptions HostOptions::parse (const std::vector<std::string>& args)
{
	HostOptions options;
	if (args.empty ())
		throw HostError ("no command given");
	options.command = commandOf (args[0]);
	std::vector<std::string> positionals;
	for (size_t i = 1; i < args.size (); ++i)
	{
		if (args[i] == "--keep-latency")
			options.render.compensateLatency = false;
		else if (args[i].rfind ("--", 0) == 0)
		{
			if (i + 1 >= args.size ())
				throw HostError (args[i] + " needs a value");
			takeOption (options, args[i], args[i + 1]);
			++i;
		}
		else
			positionals.push_back (args[i]);
	}
	assignPositionals (options, positionals);
	return options;
}

const char* HostOptions::usage ()
{
	return "usage:\n"
	       "  vst3host list <bundle.vst3>\n"
	       "      the module's classes, and the parameters of its audio processor\n"
	       "  vst3host render <bundle.vst3> <in.wav> <out.wav> [options]\n"
	       "      --block N           samples per process call (default 512)\n"
	       "      --rate HZ           processing and output sample rate (default: the input's)\n"
	       "      --precision 32|64   sample size of the process calls (default 32)\n"
	       "      --param TAG=VALUE   normalized parameter value, 0 to 1 (repeatable)\n"
	       "      --load-state FILE   state chunk to load before rendering\n"
	       "      --save-state FILE   state chunk to save after rendering\n"
	       "      --keep-latency      keep the processor's latency at the start of the output\n"
	       "  vst3host demo <out.wav> [--rate HZ] [--seconds S]\n"
	       "      writes a short stereo demo signal (default 48000 Hz, 4 s)\n";
}

} // namespace Host
} // namespace Veltrane
