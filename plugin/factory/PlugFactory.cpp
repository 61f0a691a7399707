// The module's exported factory entry point.
#include "plugin/controller/PlugController.h"
#include "plugin/factory/GuardedCreate.h"
#include "plugin/factory/PlugClassInfos.h"
#include "plugin/processor/PlugProcessor.h"

#include "public.sdk/source/common/guardedcall.h"
#include "public.sdk/source/main/pluginfactory.h"

#include <memory>

using namespace Steinberg;
using namespace Steinberg::Vst;

namespace {

IPluginFactory* createFactory ()
{
	auto factory = std::make_unique<CPluginFactory> (plugFactoryInfo ());
	factory->registerClass (&plugProcessorClassInfo (), guardedCreate<&PlugProcessor::createInstance>);
	factory->registerClass (&plugControllerClassInfo (), guardedCreate<&PlugController::createInstance>);
	return factory.release ();
}

} // namespace

/** Builds the factory on the first call and after the host released the last one; otherwise hands
    out one more reference to the living factory. */
SMTG_EXPORT_SYMBOL IPluginFactory* PLUGIN_API GetPluginFactory ()
{
	return guardedCall (nullptr, [] () -> IPluginFactory* {
		std::lock_guard<std::mutex> guard (pluginFactoryLock ());
		if (gPluginFactory)
			gPluginFactory->addRef ();
		else
			gPluginFactory = createFactory ();
		return gPluginFactory;
	});
}
