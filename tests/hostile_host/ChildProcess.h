// Runs a piece of a test in a forked child process, so that a crash, an abort, a sanitizer report
// or a freeze fails that piece instead of ending the whole test run.
#pragma once

#include <functional>
#include <string>

struct ChildOutcome
{
	/** The wait status of the child. */
	int status = 0;
	/** What the child's body returned. */
	std::string report;

	/** The child ended normally and no assertion failed in it. */
	bool clean () const;
	/** How the child ended, for a failure message. */
	std::string describe () const;
};

/** Runs body in a child; the child exits with 0 when no assertion failed in it, with 1 otherwise
    and is killed by SIGALRM when it runs longer than seconds. */
ChildOutcome runInChild (const std::function<std::string ()>& body, unsigned seconds = 300);
