#include "TestBlocks.h"

#include "tests/support/AllocationCounter.h"

#include "dsp/DSPAlgo.h"
#include "dsp/ParameterList.h"

#include <gtest/gtest.h>

#include <new>
#include <ostream>

using namespace KOREMU::DSPLib;
using namespace KOREMU::DSPLib::Testing;
using veltrane_test::FailingAllocation;
using Steinberg::IPtr;
using Steinberg::owned;

namespace {
// Fills the first storage exactly, so the next add has to grow it.
constexpr int32 kFilled = 10;

// Runs add with its nth allocation failing; true when the failure reached it.
template <typename Add>
bool failsAt (long n, Add&& add)
{
	FailingAllocation failure (n);
	try
	{
		add ();
	}
	catch (const std::bad_alloc&)
	{
		return true;
	}
	return false;
}

struct AddCase
{
	const char* name;
	int32 id;
};

void PrintTo (const AddCase& c, std::ostream* os)
{
	*os << c.name;
}

// Each case fails every allocation the add makes, one at a time, until the add goes through.
class FailedAdd : public ::testing::TestWithParam<AddCase>
{
};
} // namespace

TEST_P (FailedAdd, LeavesTheParameterListAsItWas)
{
	const uint32 key = static_cast<uint32> (GetParam ().id);
	for (long n = 1;; ++n)
	{
		ParameterList list;
		for (int32 k = 0; k < kFilled; ++k)
			list.add (new DSPParameter (static_cast<uint32> (k), u"P", 0, 0.0));
		DSPParameter* before = list.find (key);
		IPtr<DSPParameter> added = owned (new DSPParameter (key, u"Added", 0, 1.0));
		added->addRef (); // the reference the list takes over
		if (!failsAt (n, [&] { list.add (added.get ()); }))
		{
			EXPECT_EQ (list.find (key), added.get ());
			EXPECT_GT (n, 1) << "the add allocated nothing that could fail";
			break;
		}
		EXPECT_EQ (list.find (key), before) << "allocation " << n;
		EXPECT_EQ (list.size (), kFilled) << "allocation " << n;
		EXPECT_EQ (added->getRefCount (), 1) << "allocation " << n;
	}
}

TEST_P (FailedAdd, LeavesTheContainerAsItWas)
{
	const int32 id = GetParam ().id;
	for (long n = 1;; ++n)
	{
		IPtr<DSPAlgo> algo = owned (new DSPAlgo (100, 1, 1));
		for (int32 k = 0; k < kFilled; ++k)
			algo->addFunction (new ScaleBlock (k, 1, 1));
		DSPFunction* before = algo->getFunction (id);
		IPtr<DSPFunction> added = owned (new DSPFunction (id, 1, 1));
		added->addRef (); // the reference the container takes over
		if (!failsAt (n, [&] { algo->addFunction (added.get ()); }))
		{
			EXPECT_EQ (algo->getFunction (id), added.get ());
			EXPECT_GT (n, 1) << "the add allocated nothing that could fail";
			break;
		}
		EXPECT_EQ (algo->getFunction (id), before) << "allocation " << n;
		EXPECT_EQ (added->getRefCount (), 1) << "allocation " << n;
		algo->setBlockSize (8);
		ASSERT_EQ (algo->setup (), 0);
		for (int32 k = 0; k < kFilled; ++k)
			EXPECT_NE (algo->getCable (k), nullptr) << "allocation " << n << ", member " << k;
		// Every member doubles its input, so the series shows how many members it runs.
		Buffers<double> in (1, 8, 0.5), out (1, 8);
		ASSERT_EQ (algo->process64 (in.get (), out.get (), 8), 0);
		EXPECT_EQ (out.at (0, 7), 0.5 * (1 << kFilled)) << "allocation " << n;
	}
}

INSTANTIATE_TEST_SUITE_P (Keys, FailedAdd,
                          ::testing::Values (AddCase {"KeyAlreadyPresent", 5}, AddCase {"NewKey", 50}),
                          [] (const auto& info) { return std::string (info.param.name); });
