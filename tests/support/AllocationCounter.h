// The test binaries' own global operator new, linked in by a test that uses one of these: it counts
// the allocations made on a thread, or makes one of them fail.
#pragma once

namespace veltrane_test {

/** While alive, counts the allocations made on the thread that created it. */
class AllocationCount
{
public:
	AllocationCount ();
	~AllocationCount ();

	long count () const;

	AllocationCount (const AllocationCount&) = delete;
	AllocationCount& operator= (const AllocationCount&) = delete;
};

/** While alive, makes the nth allocation from now on this thread throw std::bad_alloc (n counts
    from 1). */
class FailingAllocation
{
public:
	explicit FailingAllocation (long n);
	~FailingAllocation ();

	FailingAllocation (const FailingAllocation&) = delete;
	FailingAllocation& operator= (const FailingAllocation&) = delete;
};

} // namespace veltrane_test
