#include "tests/support/AllocationCounter.h"

#include <cstdlib>
#include <new>

namespace {

thread_local bool counting = false;
thread_local long allocations = 0;
// Allocations left before the failing one; 0 when no failure is armed.
thread_local long allocationsLeft = 0;

// Whether this allocation is the one to fail; counts it when counting.
bool take ()
{
	if (counting)
		++allocations;
	return allocationsLeft > 0 && --allocationsLeft == 0;
}

void* allocate (std::size_t size)
{
	if (take ())
		throw std::bad_alloc ();
	if (void* p = std::malloc (size ? size : 1))
		return p;
	throw std::bad_alloc ();
}

void* allocateOrNull (std::size_t size) noexcept
{
	return take () ? nullptr : std::malloc (size ? size : 1);
}

} // namespace

void* operator new (std::size_t size) { return allocate (size); }
void* operator new[] (std::size_t size) { return allocate (size); }
void* operator new (std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull (size); }
void* operator new[] (std::size_t size, const std::nothrow_t&) noexcept { return allocateOrNull (size); }
void operator delete (void* p) noexcept { std::free (p); }
void operator delete[] (void* p) noexcept { std::free (p); }
void operator delete (void* p, std::size_t) noexcept { std::free (p); }
void operator delete[] (void* p, std::size_t) noexcept { std::free (p); }
void operator delete (void* p, const std::nothrow_t&) noexcept { std::free (p); }
void operator delete[] (void* p, const std::nothrow_t&) noexcept { std::free (p); }

namespace veltrane_test {

AllocationCount::AllocationCount ()
{
	allocations = 0;
	counting = true;
}

AllocationCount::~AllocationCount ()
{
	counting = false;
}

long AllocationCount::count () const
{
	return allocations;
}

FailingAllocation::FailingAllocation (long n)
{
	allocationsLeft = n;
}

FailingAllocation::~FailingAllocation ()
{
	allocationsLeft = 0;
}

} // namespace veltrane_test
