#include "vstgui/lib/vstguidebug.h"

#include <utility>

namespace VSTGUI {

namespace {

AssertionHandler& installedHandler ()
{
	static AssertionHandler handler;
	return handler;
}

} // namespace

void setAssertionHandler (AssertionHandler handler)
{
	installedHandler () = std::move (handler);
}

bool hasAssertionHandler ()
{
	return static_cast<bool> (installedHandler ());
}

void doAssert (const char* filename, const char* line, const char* desc)
{
	if (installedHandler ())
		installedHandler () (filename, line, desc);
}

} // namespace VSTGUI
