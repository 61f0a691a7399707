#include "ChildProcess.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstring>
#include <exception>

bool ChildOutcome::clean () const
{
	return WIFEXITED (status) && WEXITSTATUS (status) == 0;
}

std::string ChildOutcome::describe () const
{
	if (WIFSIGNALED (status))
	{
		const int signal = WTERMSIG (status);
		return std::string ("killed by signal ") + std::to_string (signal) + " (" + strsignal (signal) +
		       (signal == SIGALRM ? ", it froze)" : ")");
	}
	if (WIFEXITED (status))
		return "exited with status " + std::to_string (WEXITSTATUS (status));
	return "ended with wait status " + std::to_string (status);
}

namespace {

void writeAll (int fd, const std::string& text)
{
	size_t done = 0;
	while (done < text.size ())
	{
		const ssize_t written = write (fd, text.data () + done, text.size () - done);
		if (written <= 0)
			return;
		done += static_cast<size_t> (written);
	}
}

std::string readAll (int fd)
{
	std::string text;
	char buffer[4096];
	ssize_t got = 0;
	while ((got = read (fd, buffer, sizeof buffer)) > 0)
		text.append (buffer, static_cast<size_t> (got));
	return text;
}

// Failures already recorded for the running test, the parent's included.
int failedParts ()
{
	const testing::TestInfo* test = testing::UnitTest::GetInstance ()->current_test_info ();
	if (!test)
		return 0;
	int failed = 0;
	for (int i = 0; i < test->result ()->total_part_count (); ++i)
		failed += test->result ()->GetTestPartResult (i).failed () ? 1 : 0;
	return failed;
}

[[noreturn]] void runChild (const std::function<std::string ()>& body, int reportFd, unsigned seconds)
{
	alarm (seconds);
	const int failedBefore = failedParts ();
	int status = 0;
	try
	{
		writeAll (reportFd, body ());
		status = failedParts () > failedBefore ? 1 : 0;
	}
	catch (const std::exception& e)
	{
		std::fprintf (stderr, "the child threw: %s\n", e.what ());
		status = 2;
	}
	std::fflush (stdout);
	std::fflush (stderr);
	// No exit handlers: they belong to the parent's copy of the test program.
	_exit (status);
}

} // namespace

ChildOutcome runInChild (const std::function<std::string ()>& body, unsigned seconds)
{
	ChildOutcome outcome;
	int fds[2];
	if (pipe (fds) != 0)
	{
		ADD_FAILURE () << "no pipe for the child";
		outcome.status = -1;
		return outcome;
	}
	std::fflush (stdout);
	std::fflush (stderr);
	const pid_t child = fork ();
	if (child == 0)
	{
		close (fds[0]);
		runChild (body, fds[1], seconds);
	}
	close (fds[1]);
	if (child < 0)
	{
		ADD_FAILURE () << "cannot fork";
		close (fds[0]);
		outcome.status = -1;
		return outcome;
	}
	outcome.report = readAll (fds[0]);
	close (fds[0]);
	waitpid (child, &outcome.status, 0);
	return outcome;
}
