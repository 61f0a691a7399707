#include "dsp/KaratsubaPlan.h"

namespace KOREMU {
namespace DSPLib {

// A split into leaves takes the differences of its response itself, so the tree stops above it;
// the top split, which the plan runs in phases of its own, keeps them whatever its length.
bool KaratsubaPlan::keepsDifferences (int32 n, bool top)
{
	return ProductKernels::splits (n) && (top || n > ProductKernels::kLeafSplitLength);
}

// n / 2 differences and the trees of three sub-products, level after level; a loop, since the
// nodes ask for it at every level.
int32 KaratsubaPlan::treeSize (int32 n, bool top)
{
	int32 size = 0;
	int32 copies = 1;
	for (bool first = top; keepsDifferences (n, first); n /= 2, copies *= 3, first = false)
		size += copies * (n / 2);
	return size;
}

void KaratsubaPlan::setResponse (const double* newResponse, int32 n)
{
	response = newResponse;
	length = n;
	evenTerms = n > 1;
	for (int32 k = 1; k < n; k += 2)
		evenTerms = evenTerms && response[k] == 0.0;
	tree.assign (static_cast<size_t> (treeSize (n, true)), 0.0);
	buildTree (response, n, tree.data (), true);
	steps.clear ();
}

void KaratsubaPlan::buildTree (const double* a, int32 n, double* node, bool top)
{
	if (!keepsDifferences (n, top))
		return;
	const int32 h = n / 2;
	const int32 child = treeSize (h);
	ProductKernels::differences (node, a + h, a, h);
	buildTree (node, h, node + h);
	buildTree (a, h, node + h + child);
	buildTree (a + h, h, node + h + 2 * child);
}

int64_t KaratsubaPlan::costOf (StepKind kind, int32 n)
{
	switch (kind)
	{
		case kSchoolbook:
			return int64_t {n} * n;
		case kNode:
			// A split into leaves: three leaf products, the differences and the combine.
			if (n == ProductKernels::kLeafSplitLength)
				return 3 * costOf (kSchoolbook, n / 2) + 2 * n;
			return 3 * costOf (kNode, n / 2) + 2 * n;
		case kDifferences:
		case kCombine:
			break;
	}
	return n;
}

void KaratsubaPlan::emit (StepKind kind, int32 n, double* out, const double* first, const double* second,
                          const double* tree)
{
	steps.push_back ({kind, n, out, first, second, tree, evenTerms, costBefore (steps.size ()) + costOf (kind, n)});
}

// Convolver::karatsubaProduct's recursion, with the response's differences taken from its tree.
// own is where this plan's products go; input is where the input's differences go and are read,
// the same buffers for a plan of its own, a leader's for a plan that runs alongside it.
void KaratsubaPlan::emitProduct (Buffers own, Buffers input, const double* a, const double* node, const double* b,
                                 int32 n)
{
	if (!ProductKernels::splits (n))
	{
		emit (kSchoolbook, n, own.out, a, b);
		return;
	}
	if (n <= kNodeLength)
	{
		emit (kNode, n, own.out, a, b, node);
		return;
	}
	const int32 h = n / 2;
	const int32 child = treeSize (h);
	emit (kDifferences, h, input.out + h, b, b + h);
	emitProduct ({own.scratch, own.scratch + n}, {input.scratch, input.scratch + n}, node, node + h, input.out + h, h);
	emitProduct ({own.out, own.scratch + n}, {input.out, input.scratch + n}, a, node + h + child, b, h);
	emitProduct ({own.out + n, own.scratch + n}, {input.out + n, input.scratch + n}, a + h, node + h + 2 * child,
	             b + h, h);
	emit (kCombine, n, own.out, own.scratch, nullptr);
}

void KaratsubaPlan::bind (double* product, double* scratch, double* split, const double* block)
{
	bound = {product, scratch, split, block};
	emitSteps (product, scratch, bound);
}

void KaratsubaPlan::bindAlongside (const KaratsubaPlan& leader, double* product, double* scratch)
{
	bound = leader.bound;
	emitSteps (product, scratch, bound);
}

void KaratsubaPlan::emitSteps (double* product, double* scratch, const InputSide& input)
{
	// The kernels' unit is timed here, at setup, not at the first product on the audio thread.
	ProductKernels::chosen ();
	steps.clear ();
	partner = nullptr;
	if (!ProductKernels::splits (length))
		return;
	const int32 n = length;
	const int32 h = n / 2;
	const int32 child = treeSize (h);
	const double* node = tree.data ();
	const double* block = input.block;
	emitProduct ({product, scratch + n}, {input.product, input.scratch + n}, response, node + h + child, block, h);
	lowEnd = steps.size ();
	emit (kDifferences, h, input.split, block, block + h);
	emitProduct ({scratch, scratch + n}, {input.scratch, input.scratch + n}, node, node + h, input.split, h);
	emitProduct ({product + n, scratch + n}, {input.product + n, input.scratch + n}, response + h,
	             node + h + 2 * child, block + h, h);
	emit (kCombine, n, product, scratch, nullptr);
	startLow ();
}

void KaratsubaPlan::lead (KaratsubaPlan* alongside)
{
	partner = alongside;
	if (partner)
	{
		partner->phase = phase;
		partner->cursor = cursor;
	}
}

void KaratsubaPlan::runStep (const Step& step)
{
	switch (step.kind)
	{
		case kSchoolbook:
			ProductKernels::schoolbook (step.out, step.first, step.second, step.n);
			break;
		case kDifferences:
			ProductKernels::chosenUnit ().differences (step.out, step.first, step.second, step.n);
			break;
		case kCombine:
			ProductKernels::chosenUnit ().combine (step.out, step.first, step.n);
			break;
		case kNode:
		{
			const Step* node = &step;
			runNode (&node, 1);
			break;
		}
	}
}

void KaratsubaPlan::runNode (const Step* const* nodes, int32 count)
{
	NodeSide sides[kMaxSides];
	bool even = true;
	for (int32 s = 0; s < count; ++s)
	{
		sides[s] = {nodes[s]->out, nodes[s]->tree, nodes[s]->first};
		even = even && nodes[s]->evenTerms;
	}
	const ProductKernels::Unit& unit = ProductKernels::chosenUnit ();
	// The middle products of every level: n + n / 2 + ... < 2n terms a side. The sides lie an odd
	// number of lines apart: a multiple of 4 KiB would make the loads of one wait on the stores
	// of the other.
	constexpr int32 stride = 2 * kNodeLength + kCacheLineTerms;
	double scratch[kMaxSides * stride];
	double differences[kNodeLength];
	nodeProduct (unit, even ? unit.evenSplits : unit.splits, sides, count, nodes[0]->second, nodes[0]->n, scratch,
	             stride, differences);
}

void KaratsubaPlan::splitProduct (const ProductKernels::Splits& splits, const NodeSide* sides, int32 count,
                                  const double* b)
{
	if (count == 1)
		splits.single ({sides[0].out, sides[0].response, b});
	else
		splits.pair ({sides[0].out, sides[0].response, b}, {sides[1].out, sides[1].response, b});
}

// Convolver::karatsubaProduct's recursion with the response's differences taken from its tree;
// the sides' splits into leaves of the same input run as pairs.
void KaratsubaPlan::nodeProduct (const ProductKernels::Unit& unit, const ProductKernels::Splits& splits,
                                 const NodeSide* sides, int32 count, const double* b, int32 n, double* scratch,
                                 int32 scratchStride, double* differences)
{
	if (n == ProductKernels::kLeafSplitLength)
	{
		splitProduct (splits, sides, count, b);
		return;
	}
	const int32 h = n / 2;
	const int32 child = treeSize (h);
	unit.differences (differences, b, b + h, h);
	NodeSide middle[kMaxSides] {}, low[kMaxSides] {}, high[kMaxSides] {};
	for (int32 s = 0; s < count; ++s)
	{
		const NodeSide& side = sides[s];
		middle[s] = {scratch + s * scratchStride, side.tree + h, side.tree};
		low[s] = {side.out, side.tree + h + child, side.response};
		high[s] = {side.out + n, side.tree + h + 2 * child, side.response + h};
	}
	if (h == ProductKernels::kLeafSplitLength)
	{
		// The splits at once, without a call of the recursion each.
		splitProduct (splits, middle, count, differences);
		splitProduct (splits, low, count, b);
		splitProduct (splits, high, count, b + h);
	}
	else
	{
		nodeProduct (unit, splits, middle, count, differences, h, scratch + n, scratchStride, differences + h);
		nodeProduct (unit, splits, low, count, b, h, scratch + n, scratchStride, differences);
		nodeProduct (unit, splits, high, count, b + h, h, scratch + n, scratchStride, differences);
	}
	for (int32 s = 0; s < count; ++s)
		unit.combine (sides[s].out, scratch + s * scratchStride, n);
}

// A step of this plan and the same step of the plan alongside it: a node of the same input runs
// for both at once, and a step on the input alone, which both plans hold alike, runs once.
void KaratsubaPlan::runStepAt (size_t index)
{
	const Step& step = steps[index];
	if (!partner)
	{
		runStep (step);
		return;
	}
	const Step& other = partner->steps[index];
	if (step.kind == kNode && other.kind == kNode && step.second == other.second && step.n == other.n)
	{
		const Step* nodes[] = {&step, &other};
		runNode (nodes, 2);
	}
	else
	{
		runStep (step);
		if (!sameStep (step, other))
			runStep (other);
	}
}

bool KaratsubaPlan::sameStep (const Step& a, const Step& b)
{
	return a.kind == b.kind && a.n == b.n && a.out == b.out && a.first == b.first && a.second == b.second &&
	       a.tree == b.tree && a.evenTerms == b.evenTerms;
}

int64_t KaratsubaPlan::costBefore (size_t index) const
{
	return index == 0 ? 0 : steps[index - 1].costUntil;
}

size_t KaratsubaPlan::phaseBegin () const
{
	return phase == kLow ? 0 : lowEnd;
}

size_t KaratsubaPlan::phaseEnd () const
{
	return phase == kLow ? lowEnd : steps.size ();
}

void KaratsubaPlan::startLow ()
{
	setPhase (kLow, 0);
}

void KaratsubaPlan::startRest ()
{
	setPhase (kRest, lowEnd);
	if (cursor < steps.size ())
		advance ();
}

void KaratsubaPlan::setPhase (Phase next, size_t first)
{
	phase = next;
	cursor = first;
	if (partner)
	{
		partner->phase = next;
		partner->cursor = first;
	}
}

void KaratsubaPlan::advance ()
{
	runStepAt (cursor++);
	if (partner)
		partner->cursor = cursor;
}

void KaratsubaPlan::runShare (int32 done, int32 of)
{
	const size_t end = phaseEnd ();
	if (cursor >= end || of <= 0)
		return;
	const int64_t begin = costBefore (phaseBegin ());
	const int64_t total = costBefore (end) - begin;
	const int64_t target = done >= of ? costBefore (end) : begin + total * done / of;
	while (cursor < end && steps[cursor].costUntil <= target)
		advance ();
}

} // namespace DSPLib
} // namespace KOREMU
