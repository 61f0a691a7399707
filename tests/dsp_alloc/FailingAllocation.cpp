#include "FailingAllocation.h"

#include <cstdlib>
#include <new>

namespace {
// Allocations left before the failing one; 0 when no failure is armed.
long allocationsLeft = 0;

void* allocate (std::size_t size)
{
	if (allocationsLeft > 0 && --allocationsLeft == 0)
		throw std::bad_alloc ();
	if (void* p = std::malloc (size ? size : 1))
		return p;
	throw std::bad_alloc ();
}
} // namespace

void* operator new (std::size_t size)
{
	return allocate (size);
}

void* operator new[] (std::size_t size)
{
	return allocate (size);
}

void operator delete (void* p) noexcept
{
	std::free (p);
}

void operator delete[] (void* p) noexcept
{
	std::free (p);
}

void operator delete (void* p, std::size_t) noexcept
{
	std::free (p);
}

void operator delete[] (void* p, std::size_t) noexcept
{
	std::free (p);
}

namespace KOREMU {
namespace DSPLib {
namespace Testing {

FailingAllocation::FailingAllocation (long n)
{
	allocationsLeft = n;
}

FailingAllocation::~FailingAllocation ()
{
	allocationsLeft = 0;
}

} // namespace Testing
} // namespace DSPLib
} // namespace KOREMU
