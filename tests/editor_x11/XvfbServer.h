// An X server of the test's own, on a display number the server picks itself.
#pragma once

#include <string>
#include <sys/types.h>

class XvfbServer
{
public:
	XvfbServer () = default;
	/** Stops the server. */
	~XvfbServer ();
	XvfbServer (const XvfbServer&) = delete;
	XvfbServer& operator= (const XvfbServer&) = delete;

	/** Starts Xvfb and points DISPLAY at it; answers false, with the reason in error, when no
	    server came up. */
	bool start (int width, int height);
	const std::string& getError () const { return error; }
	const std::string& getDisplay () const { return display; }

private:
	pid_t pid {0};
	std::string display;
	std::string error;
};
