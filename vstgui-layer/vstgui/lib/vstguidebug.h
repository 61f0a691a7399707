// Stands in for VSTGUI's assertion facility (vstgui/lib/vstguidebug.h).
#pragma once

#include <functional>

namespace VSTGUI {

/** Called with the source file, the line and the message (null when there is none); it may throw. */
using AssertionHandler = std::function<void (const char* filename, const char* line, const char* desc)>;

void setAssertionHandler (AssertionHandler handler);
bool hasAssertionHandler ();
/** Reports a failed assertion to the installed handler; without one it does nothing. */
void doAssert (const char* filename, const char* line, const char* desc = nullptr);

} // namespace VSTGUI

#define VSTGUI_ASSERT_STR2(x) #x
#define VSTGUI_ASSERT_STR(x) VSTGUI_ASSERT_STR2 (x)
#define vstgui_assert(x, ...)                                                                   \
	do                                                                                          \
	{                                                                                           \
		if (!(x))                                                                               \
			::VSTGUI::doAssert (__FILE__, VSTGUI_ASSERT_STR (__LINE__), ##__VA_ARGS__);         \
	} while (false)
