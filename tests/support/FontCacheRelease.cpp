// Cairo and fontconfig keep their font caches until told otherwise; releasing them at the end keeps
// the leak checker's report to the tests' own allocations.
#include <cairo.h>
#include <fontconfig/fontconfig.h>

#include <gtest/gtest.h>

namespace {

class FontCacheRelease : public testing::Environment
{
public:
	void TearDown () override
	{
		cairo_debug_reset_static_data ();
		FcFini ();
	}
};

const testing::Environment* const registered = testing::AddGlobalTestEnvironment (new FontCacheRelease);

} // namespace
