#include "tests/support/BundlePath.h"

#include "tools/vst3host/ControllerInstance.h"
#include "tools/vst3host/HostError.h"

#include "plugin/factory/PlugCids.h"
#include "plugin/processor/PlugParamIds.h"
#include "plugin/processor/PlugParamState.h"

#include "public.sdk/source/common/memorystream.h"
#include "public.sdk/source/vst/hosting/hostclasses.h"

#include <gtest/gtest.h>

using namespace veltrane_test;
using namespace Steinberg;
using namespace Steinberg::Vst;
using namespace Veltrane::Host;

namespace {

StateChunk chunkOf (const PlugParamState& record)
{
	MemoryStream stream;
	EXPECT_EQ (record.writeState (&stream), kResultOk);
	return StateChunk (stream.getData (), stream.getData () + stream.getSize ());
}

// The controller of the built bundle, reached only through the loaded module.
class BundleController : public testing::Test
{
protected:
	ParamValue valueOf (ParamID tag) { return controller.getController ().getParamNormalized (tag); }

	HostApplication host;
	PluginModule module {veltraneBundle ()};
	ControllerInstance controller {module, kPlugControllerUID.toTUID (), &host};
};

struct ListedParameter
{
	ParamID tag;
	const char* title;
	const char* units;
	const char* text;
};

} // namespace

TEST_F (BundleController, ListsTheParametersInTheirOrderWithTheirDefaultTexts)
{
	const ListedParameter expected[] = {
	    {kMixId, "Mix", "%", "50"},        {kCentreId, "Centre", "%", "0"},
	    {kDelayId, "Delay", "%", "50"},    {kColorId, "Color", "%", "0"},
	    {kDecorrBypassId, "Decorr Bypass", "", "Off"}, {kShiftId, "Shift", "%", "10"},
	    {kShiftBypassId, "Shift Bypass", "", "Off"},   {kDriveId, "Drive", "%", "0"},
	    {kDriveBypassId, "Drive Bypass", "", "On"},    {kBypassId, "Bypass", "", "Off"},
	};
	const auto parameters = controller.getParameters ();
	ASSERT_EQ (parameters.size (), std::size (expected));
	for (size_t i = 0; i < parameters.size (); ++i)
	{
		SCOPED_TRACE (expected[i].title);
		EXPECT_EQ (parameters[i].id, expected[i].tag);
		EXPECT_EQ (parameters[i].title, expected[i].title);
		EXPECT_EQ (parameters[i].units, expected[i].units);
		EXPECT_EQ (parameters[i].valueText, expected[i].text);
		EXPECT_EQ (parameters[i].value, parameters[i].defaultValue);
	}
	EXPECT_EQ (parameters.back ().flags, ParameterInfo::kCanAutomate | ParameterInfo::kIsBypass);
}

TEST_F (BundleController, MirrorsAProcessorChunkHandedOverByTheHost)
{
	PlugParamState record (kNumParamSlots);
	record.setValue (kDelayId, 0.25);
	record.setValue (kDriveBypassId, 0.0);
	record.setValue (12, 0.75);
	record.setBypass (true);
	controller.setComponentState (chunkOf (record));

	EXPECT_EQ (valueOf (kDelayId), 0.25);
	EXPECT_EQ (valueOf (kDriveBypassId), 0.0);
	EXPECT_EQ (valueOf (kBypassId), 1.0);
	EXPECT_EQ (valueOf (kMixId), 0.0);
}

TEST_F (BundleController, RefusesATruncatedChunkAndKeepsEveryValue)
{
	PlugParamState record (kNumParamSlots);
	record.setValue (kMixId, 0.9);
	StateChunk chunk = chunkOf (record);
	chunk.pop_back ();
	const auto before = controller.getParameters ();
	EXPECT_THROW (controller.setComponentState (chunk), HostError);
	const auto after = controller.getParameters ();
	for (size_t i = 0; i < before.size (); ++i)
		EXPECT_EQ (after[i].value, before[i].value) << before[i].title;
}
