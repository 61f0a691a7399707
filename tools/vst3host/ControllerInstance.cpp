#include "tools/vst3host/ControllerInstance.h"

#include "tools/vst3host/HostError.h"

#include "public.sdk/source/common/memorystream.h"

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace Veltrane {
namespace Host {

namespace {

void appendUtf8 (std::string& text, char32_t code)
{
	if (code < 0x80)
		text += static_cast<char> (code);
	else if (code < 0x800)
		text += {static_cast<char> (0xC0 | (code >> 6)), static_cast<char> (0x80 | (code & 0x3F))};
	else if (code < 0x10000)
		text += {static_cast<char> (0xE0 | (code >> 12)), static_cast<char> (0x80 | ((code >> 6) & 0x3F)),
		         static_cast<char> (0x80 | (code & 0x3F))};
	else
		text += {static_cast<char> (0xF0 | (code >> 18)), static_cast<char> (0x80 | ((code >> 12) & 0x3F)),
		         static_cast<char> (0x80 | ((code >> 6) & 0x3F)), static_cast<char> (0x80 | (code & 0x3F))};
}

// A 128-unit UTF-16 text as UTF-8, up to its terminator or its last unit.
std::string utf8Of (const String128 text)
{
	std::string utf8;
	for (int32 i = 0; i < 128 && text[i] != 0; ++i)
	{
		char32_t code = static_cast<char16_t> (text[i]);
		const bool pair = code >= 0xD800 && code < 0xDC00 && i + 1 < 128 &&
		                  text[i + 1] >= 0xDC00 && text[i + 1] < 0xE000;
		if (pair)
			code = 0x10000 + ((code - 0xD800) << 10) + (static_cast<char16_t> (text[++i]) - 0xDC00);
		appendUtf8 (utf8, code);
	}
	return utf8;
}

} // namespace

ControllerInstance::ControllerInstance (const PluginModule& module, const TUID cid, FUnknown* hostContext)
: controller (module.createInstance<IEditController> (cid))
{
	if (!controller)
		throw HostError ("the factory created no edit controller for the component's controller class");
	if (controller->initialize (hostContext) != kResultOk)
		throw HostError ("the edit controller failed to initialize");
}

ControllerInstance::~ControllerInstance ()
{
	controller->terminate ();
}

std::vector<ParameterRecord> ControllerInstance::getParameters () const
{
	std::vector<ParameterRecord> records;
	for (int32 i = 0; i < controller->getParameterCount (); ++i)
	{
		ParameterInfo info {};
		if (controller->getParameterInfo (i, info) != kResultOk)
			continue;
		ParameterRecord record;
		record.id = info.id;
		record.title = utf8Of (info.title);
		record.units = utf8Of (info.units);
		record.stepCount = info.stepCount;
		record.flags = info.flags;
		record.defaultValue = info.defaultNormalizedValue;
		record.value = controller->getParamNormalized (info.id);
		String128 text {};
		if (controller->getParamStringByValue (info.id, record.value, text) == kResultOk)
			record.valueText = utf8Of (text);
		records.push_back (record);
	}
	return records;
}

void ControllerInstance::setComponentState (const StateChunk& chunk)
{
	StateChunk copy (chunk);
	IPtr<MemoryStream> stream = owned (new MemoryStream (copy.data (), static_cast<TSize> (copy.size ())));
	if (controller->setComponentState (stream) != kResultOk)
		throw HostError ("the edit controller refused the component's state chunk of " +
		                 std::to_string (chunk.size ()) + " bytes");
}

} // namespace Host
} // namespace Veltrane
