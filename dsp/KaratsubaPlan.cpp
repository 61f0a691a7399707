#include "dsp/KaratsubaPlan.h"

#include "dsp/ProductKernels.h"

namespace KOREMU {
namespace DSPLib {

int32 KaratsubaPlan::treeSize (int32 n)
{
	return ProductKernels::splits (n) ? n / 2 + 3 * treeSize (n / 2) : 0;
}

void KaratsubaPlan::setResponse (const double* newResponse, int32 n)
{
	response = newResponse;
	length = n;
	tree.assign (static_cast<size_t> (treeSize (n)), 0.0);
	buildTree (response, n, tree.data ());
	steps.clear ();
}

void KaratsubaPlan::buildTree (const double* a, int32 n, double* node)
{
	if (!ProductKernels::splits (n))
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
		case kLeafSplit:
			// Three leaf products, the differences and the combine.
			return 3 * costOf (kSchoolbook, n / 2) + 2 * n;
		case kDifferences:
		case kCombine:
			break;
	}
	return n;
}

void KaratsubaPlan::emit (StepKind kind, int32 n, double* out, const double* first, const double* second,
                          const double* node)
{
	steps.push_back ({kind, n, out, first, second, node, costBefore (steps.size ()) + costOf (kind, n)});
}

// Convolver::karatsubaProduct's recursion, with the response's differences taken from its tree.
void KaratsubaPlan::emitProduct (double* out, const double* a, const double* node, const double* b, int32 n,
                                 double* scratch)
{
	if (!ProductKernels::splits (n))
	{
		emit (kSchoolbook, n, out, a, b);
		return;
	}
	const int32 h = n / 2;
	if (h == ProductKernels::kLeafLength)
	{
		emit (kLeafSplit, n, out, a, b, node);
		return;
	}
	const int32 child = treeSize (h);
	emit (kDifferences, h, out + h, b, b + h);
	emitProduct (scratch, node, node + h, out + h, h, scratch + n);
	emitProduct (out, a, node + h + child, b, h, scratch + n);
	emitProduct (out + n, a + h, node + h + 2 * child, b + h, h, scratch + n);
	emit (kCombine, n, out, scratch, nullptr);
}

void KaratsubaPlan::bind (double* product, double* scratch, double* split, const double* block)
{
	// The kernels' unit is timed here, at setup, not at the first product on the audio thread.
	ProductKernels::chosen ();
	steps.clear ();
	if (!ProductKernels::splits (length))
		return;
	const int32 n = length;
	const int32 h = n / 2;
	const int32 child = treeSize (h);
	const double* node = tree.data ();
	emitProduct (product, response, node + h + child, block, h, scratch + n);
	lowEnd = steps.size ();
	emit (kDifferences, h, split, block, block + h);
	emitProduct (scratch, node, node + h, split, h, scratch + n);
	emitProduct (product + n, response + h, node + h + 2 * child, block + h, h, scratch + n);
	emit (kCombine, n, product, scratch, nullptr);
	startLow ();
}

void KaratsubaPlan::runStep (const Step& step)
{
	switch (step.kind)
	{
		case kSchoolbook:
			ProductKernels::schoolbook (step.out, step.first, step.second, step.n);
			break;
		case kDifferences:
			ProductKernels::differences (step.out, step.first, step.second, step.n);
			break;
		case kCombine:
			ProductKernels::combine (step.out, step.first, step.n);
			break;
		case kLeafSplit:
			runLeafSplit (step);
			break;
	}
}

void KaratsubaPlan::runLeafSplit (const Step& step)
{
	ProductKernels::leafSplit ({step.out, step.first, step.node, step.second});
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
	phase = kLow;
	cursor = 0;
}

void KaratsubaPlan::startRest ()
{
	phase = kRest;
	cursor = lowEnd;
	if (cursor < steps.size ())
		runStep (steps[cursor++]);
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
		runStep (steps[cursor++]);
}

} // namespace DSPLib
} // namespace KOREMU
