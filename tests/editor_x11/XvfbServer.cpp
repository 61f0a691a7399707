#include "XvfbServer.h"

#include <cerrno>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <poll.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr int kStartTimeoutMilliseconds = 20000;

// Reads the display number that -displayfd writes once the server accepts connections.
std::string readDisplayNumber (int fd)
{
	std::string number;
	pollfd ready {fd, POLLIN, 0};
	while (poll (&ready, 1, kStartTimeoutMilliseconds) > 0)
	{
		char c = 0;
		if (read (fd, &c, 1) != 1 || c == '\n')
			break;
		number += c;
	}
	return number;
}

} // namespace

bool XvfbServer::start (int width, int height)
{
	int fds[2];
	if (pipe (fds) != 0)
	{
		error = std::string ("pipe: ") + std::strerror (errno);
		return false;
	}
	const std::string screen = std::to_string (width) + "x" + std::to_string (height) + "x24";
	const std::string displayFd = std::to_string (fds[1]);
	pid = fork ();
	if (pid == 0)
	{
		close (fds[0]);
		// A test that crashes takes its server with it.
		prctl (PR_SET_PDEATHSIG, SIGTERM);
		execlp ("Xvfb", "Xvfb", "-displayfd", displayFd.c_str (), "-screen", "0", screen.c_str (), "-nolisten",
		        "tcp", "-noreset", static_cast<char*> (nullptr));
		_exit (127);
	}
	close (fds[1]);
	if (pid < 0)
	{
		close (fds[0]);
		error = std::string ("fork: ") + std::strerror (errno);
		pid = 0;
		return false;
	}
	const std::string number = readDisplayNumber (fds[0]);
	close (fds[0]);
	if (number.empty ())
	{
		error = "Xvfb did not start (is the xvfb package installed?)";
		return false;
	}
	display = ":" + number;
	setenv ("DISPLAY", display.c_str (), 1);
	return true;
}

XvfbServer::~XvfbServer ()
{
	if (pid <= 0)
		return;
	kill (pid, SIGTERM);
	int status = 0;
	waitpid (pid, &status, 0);
}
