#pragma once

#include "dsp/ProductKernels.h"

#include "pluginterfaces/base/ftypes.h"

#include <cstdint>
#include <vector>

namespace KOREMU {
namespace DSPLib {

using Steinberg::int32;

// One channel's block product as a list of steps, so that a convolver can run it a share at a
// time. Below the top split the steps are Convolver::karatsubaProduct's recursion in its own
// order, with the same arithmetic; a product of kNodeLength terms or fewer is one step, which
// runs its whole recursion on a workspace that stays in the first-level cache. The top split's
// three sub-products run in two phases:
// - low: a_lo b_lo, which needs only the first half of the input block;
// - rest: the split differences, (a_hi - a_lo)(b_lo - b_hi), a_hi b_hi and the combine.
// The response's differences at every split are computed once, when the response is set.
class KaratsubaPlan
{
public:
	enum Phase : int32
	{
		kLow = 0,
		kRest = 1,
	};

	// The longest product that runs as one step: its differences, splits into leaves and combines
	// never leave the first-level cache, and a step of it takes a few microseconds.
	static constexpr int32 kNodeLength = 256;

	// n: the response length, a power of two. Allocates; the response must outlive the plan's steps.
	void setResponse (const double* response, int32 n);
	// Lays the steps out on the working buffers: product and scratch of 2n, split of n / 2, and
	// the input block of n. Allocates.
	void bind (double* product, double* scratch, double* split, const double* block);
	// Lays the steps out on its own product and scratch for a response of the same length, with
	// the input side (block, split and every difference of the input) that of a bound leader:
	// the plan multiplies the leader's input. Allocates.
	void bindAlongside (const KaratsubaPlan& leader, double* product, double* scratch);
	// Makes this plan run a plan bound alongside it, step for step with its own (null: none). The
	// partner's own calls must then leave its phases and shares to this plan.
	void lead (KaratsubaPlan* alongside);

	// Starts the low phase; it runs as the block's second half comes in.
	void startLow ();
	// Starts the rest phase and runs the split differences at once, before the block's first
	// half is overwritten.
	void startRest ();
	// Runs the current phase until done / of its cost is spent (all of it for done >= of).
	void runShare (int32 done, int32 of);

	Phase getPhase () const { return phase; }

private:
	enum StepKind : int32
	{
		kSchoolbook = 0,
		kDifferences = 1,
		kCombine = 2,
		// A whole product of kNodeLength terms or fewer: first is the response's terms, second the
		// input's, tree the response's differences below it.
		kNode = 3,
	};

	struct Step
	{
		StepKind kind;
		int32 n;
		double* out;
		const double* first;
		const double* second;
		const double* tree;
		// True when the response's odd terms are all zero: the node's splits leave their rows out.
		bool evenTerms;
		// The cost of the steps up to this one and it, counted from the start of the list.
		int64_t costUntil;
	};

	// A plan and the one alongside it.
	static constexpr int32 kMaxSides = 2;
	static constexpr int32 kCacheLineTerms = 8;

	// One plan's part of a node: where its product goes, its response's terms and differences.
	// The response's terms lie apart from out: the compiler would copy the two as one wide move,
	// whose load waits for the two narrow stores that wrote them.
	struct NodeSide
	{
		double* out;
		const double* tree;
		const double* response;
	};

	// Where a product's terms go: out, and scratch from which its recursion takes room.
	struct Buffers
	{
		double* out;
		double* scratch;
	};

	// The buffers a plan was bound to; the input side of the plans bound alongside it.
	struct InputSide
	{
		double* product;
		double* scratch;
		double* split;
		const double* block;
	};

	static bool keepsDifferences (int32 n, bool top);
	static int32 treeSize (int32 n, bool top = false);
	void buildTree (const double* a, int32 n, double* tree, bool top = false);
	void emitProduct (Buffers own, Buffers input, const double* a, const double* tree, const double* b, int32 n);
	void emitSteps (double* product, double* scratch, const InputSide& input);
	void emit (StepKind kind, int32 n, double* out, const double* first, const double* second,
	           const double* tree = nullptr);
	static int64_t costOf (StepKind kind, int32 n);
	// The node of the steps of one plan (count 1) or of a plan and the one alongside it (count 2),
	// which multiply the same input.
	static void runNode (const Step* const* nodes, int32 count);
	// Karatsuba's recursion for count sides of the same input b: the input's differences go to
	// differences, each side's middle products to its own scratch (2n terms each, side after side).
	static void nodeProduct (const ProductKernels::Unit& unit, const ProductKernels::Splits& splits,
	                         const NodeSide* sides, int32 count, const double* b, int32 n, double* scratch,
	                         int32 scratchStride, double* differences);
	// A split into leaves of the sides' input b, both sides' at once.
	static void splitProduct (const ProductKernels::Splits& splits, const NodeSide* sides, int32 count,
	                          const double* b);
	static void runStep (const Step& step);
	static bool sameStep (const Step& a, const Step& b);
	void runStepAt (size_t index);
	void advance ();
	void setPhase (Phase next, size_t first);
	int64_t costBefore (size_t index) const;
	size_t phaseBegin () const;
	size_t phaseEnd () const;

	const double* response {nullptr};
	int32 length {0};
	// Every odd term of the response is zero, and so is every odd term of its halves and of
	// their differences at every level.
	bool evenTerms {false};
	// Per split: its h differences a_hi - a_lo, then the trees of its three sub-products.
	std::vector<double> tree;
	std::vector<Step> steps;
	size_t lowEnd {0};
	size_t cursor {0};
	Phase phase {kLow};
	InputSide bound {};
	KaratsubaPlan* partner {nullptr};
};

} // namespace DSPLib
} // namespace KOREMU
