#pragma once

namespace KOREMU {
namespace DSPLib {
namespace Testing {

// While alive, makes the nth allocation from now throw std::bad_alloc (n counts from 1).
class FailingAllocation
{
public:
	explicit FailingAllocation (long n);
	~FailingAllocation ();

	FailingAllocation (const FailingAllocation&) = delete;
	FailingAllocation& operator= (const FailingAllocation&) = delete;
};

} // namespace Testing
} // namespace DSPLib
} // namespace KOREMU
