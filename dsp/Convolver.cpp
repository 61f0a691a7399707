#include "dsp/Convolver.h"

#include "dsp/FrameLoops.h"
#include "dsp/ProductKernels.h"

#include <algorithm>

namespace KOREMU {
namespace DSPLib {

namespace {

// Finished samples go to the ring in chunks of this many, summed on the stack.
constexpr int32 kFinishedChunk = 256;

// The largest padded length whose 2N-term buffers an int32 still counts.
constexpr int32 kLargestPaddedLength = 1 << 29;

// The next power of two at or above length; 0 when there is none in range.
int32 padToPowerOfTwo (int32 length)
{
	if (length < 1 || length > kLargestPaddedLength)
		return 0;
	int32 n = 1;
	while (n < length)
		n <<= 1;
	return n;
}

} // namespace

Convolver::Convolver (int32 id, int32 channels) : DSPFunction (id, channels, channels)
{
}

Convolver::~Convolver ()
{
	unlinkFollower ();
	leaveLeader ();
	if (follower)
		follower->leader = nullptr;
	if (leader)
		leader->follower = nullptr;
}

void Convolver::shareInput (Convolver& other)
{
	if (&other == this || leader || follower || other.leader || other.follower)
		return;
	follower = &other;
	other.leader = this;
	keepRunningWhileBypassed ();
	other.keepRunningWhileBypassed ();
	linkFollower ();
}

bool Convolver::canShareWith (const Convolver& other) const
{
	return channelCount () == 1 && other.channelCount () == 1 && paddedLength == other.paddedLength && spreads ();
}

void Convolver::linkFollower ()
{
	if (!follower || !ring || !follower->ring || !canShareWith (*follower))
		return;
	follower->plans[0].bindAlongside (plans[0], follower->product->getBuffers64 ()[0],
	                                  follower->scratch->getBuffers64 ()[0]);
	plans[0].lead (&follower->plans[0]);
	follower->led = true;
}

void Convolver::unlinkFollower ()
{
	if (!follower || !follower->led)
		return;
	plans[0].lead (nullptr);
	follower->led = false;
	follower->bindOwnPlan (0);
}

void Convolver::leaveLeader ()
{
	if (leader && led)
		leader->plans[0].lead (nullptr);
	led = false;
}

void Convolver::bindOwnPlan (int32 channel)
{
	const auto c = static_cast<size_t> (channel);
	plans[c].bind (product->getBuffers64 ()[c], scratch->getBuffers64 ()[c], split->getBuffers64 ()[c],
	               inputBlock->getBuffers64 ()[c]);
}

int32 Convolver::channelCount () const
{
	return std::max (getNumInputs (), 0);
}

void Convolver::setImpulseResponse (const double* const* channelResponses, int32 length, const double* gains)
{
	if (!channelResponses)
		return;
	storeResponses ([channelResponses] (int32 c) { return channelResponses[c]; }, length, gains);
}

void Convolver::setImpulseResponse (const double* response, int32 length, const double* gains)
{
	if (!response)
		return;
	const auto stride = static_cast<size_t> (std::max (length, 0));
	storeResponses ([response, stride] (int32 c) { return response + static_cast<size_t> (c) * stride; }, length,
	                gains);
}

template <typename Source>
void Convolver::storeResponses (Source&& channelSource, int32 length, const double* gains)
{
	const int32 n = padToPowerOfTwo (length);
	if (n == 0 || setUp)
		return;
	paddedLength = n;
	responses.resize (static_cast<size_t> (channelCount ()));
	plans.resize (responses.size ());
	for (int32 c = 0; c < channelCount (); ++c)
	{
		std::vector<double>& response = responses[static_cast<size_t> (c)];
		response.assign (static_cast<size_t> (n), 0.0);
		const double* source = channelSource (c);
		const double gain = gains ? gains[c] : 1.0;
		for (int32 k = 0; source && k < length; ++k)
			response[static_cast<size_t> (k)] = gain * source[k];
		plans[static_cast<size_t> (c)].setResponse (response.data (), n);
	}
}

uint32 Convolver::getLatency () const
{
	return static_cast<uint32> (paddedLength);
}

int32 Convolver::setup ()
{
	unlinkFollower ();
	leaveLeader ();
	releaseBuffers ();
	const int32 channels = channelCount ();
	const int32 n = paddedLength;
	if (n > 0 && channels > 0)
	{
		scratch = Steinberg::owned (new Cable (channels, 2 * n, 1));
		overlap = Steinberg::owned (new Cable (channels, n - 1, 1));
		inputBlock = Steinberg::owned (new Cable (channels, n, 1));
		product = Steinberg::owned (new Cable (channels, 2 * n, 1));
		split = Steinberg::owned (new Cable (channels, std::max (n / 2, 1), 1));
		// A follower's leader writes its finished samples up to a call ahead of its reads.
		const int32 ahead = leader ? n : 0;
		ring = std::make_unique<RingDelayLine> (channels, std::max (getBlockSize (), n) + ahead + 1, getSampleSize (),
		                                        getSampleRate ());
		taps.assign (static_cast<size_t> (channels), nullptr);
		fillCounts.assign (static_cast<size_t> (channels), 0);
		secondHalfDue.assign (static_cast<size_t> (channels), 0);
		// Placed before any write, so the first N reads return zeros.
		for (int32 c = 0; c < channels; ++c)
		{
			taps[static_cast<size_t> (c)] = ring->setTap (n, c, 1, 0, false);
			bindOwnPlan (c);
		}
	}
	setUp = true;
	if (leader)
		leader->linkFollower ();
	linkFollower ();
	return DSPFunction::setup ();
}

int32 Convolver::teardown ()
{
	unlinkFollower ();
	leaveLeader ();
	releaseBuffers ();
	setUp = false;
	return DSPFunction::teardown ();
}

void Convolver::releaseBuffers ()
{
	scratch = nullptr;
	overlap = nullptr;
	inputBlock = nullptr;
	product = nullptr;
	split = nullptr;
	taps.clear ();
	ring.reset ();
	fillCounts.clear ();
	secondHalfDue.clear ();
}

// Keeps the fill counts and taps, so block boundaries stay where they were. A product being
// spread runs on: every operand it has left is in the zeroed buffers, so it finishes as zeros,
// which is what the cleared ring holds.
int32 Convolver::reset ()
{
	for (Cable* cable : {scratch.get (), overlap.get (), inputBlock.get (), product.get (), split.get ()})
	{
		if (cable)
			cable->clear ();
	}
	if (ring)
		ring->clear ();
	return DSPFunction::reset ();
}

int32 Convolver::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 Convolver::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

template <typename Sample>
void Convolver::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs || frames <= 0)
		return;
	for (int32 c = 0; c < channelCount (); ++c)
	{
		Sample* out = outputs[c];
		if (!out)
			continue;
		if (!ring || !inputs[c])
			std::fill (out, out + frames, Sample (0));
		else
			renderChannel (c, inputs[c], out, frames);
	}
}

bool Convolver::spreads () const
{
	return ProductKernels::splits (paddedLength);
}

// The fill count at which the channel's next completion step is due.
int32 Convolver::nextEvent (int32 channel) const
{
	const int32 fill = fillCounts[static_cast<size_t> (channel)];
	const int32 half = paddedLength / 2;
	return spreads () && fill < half ? half : paddedLength;
}

template <typename Sample>
void Convolver::renderChannel (int32 channel, const Sample* input, Sample* output, int32 frames)
{
	const auto ch = static_cast<size_t> (channel);
	int32& fill = fillCounts[ch];
	double* block = inputBlock->getBuffers64 ()[ch];
	DelayTap& tap = *taps[ch];
	for (int32 j = 0; j < frames;)
	{
		if (fill == paddedLength)
			completeBlock (channel);
		else if (fill == paddedLength / 2 && secondHalfDue[ch])
			completeSecondHalf (channel);
		// Up to the next completion step nothing is written to the ring.
		const int32 count = std::min (frames - j, nextEvent (channel) - fill);
		std::transform (input + j, input + j + count, block + fill, [] (Sample x) { return static_cast<double> (x); });
		ring->readBlock (tap, output + j, count);
		fill += count;
		j += count;
		runShare (channel);
	}
}

// The low phase spreads over the block's second half, the rest over the next block's first half.
void Convolver::runShare (int32 channel)
{
	if (!spreads () || led)
		return;
	const auto ch = static_cast<size_t> (channel);
	const int32 fill = fillCounts[ch];
	const int32 half = paddedLength / 2;
	KaratsubaPlan& plan = plans[ch];
	if (plan.getPhase () == KaratsubaPlan::kLow)
	{
		if (fill > half)
			plan.runShare (fill - half, half);
	}
	else
		plan.runShare (fill, half);
}

// Writes the finished samples from ... to - 1 of the last complete block to the ring: the
// overlap of the block before it plus the product, the last sample the product alone.
void Convolver::writeFinished (int32 channel, int32 from, int32 to)
{
	const auto ch = static_cast<size_t> (channel);
	const int32 n = paddedLength;
	const double* result = product->getBuffers64 ()[ch];
	const double* tail = overlap->getBuffers64 ()[ch];
	// The product's own terms stay as they are: the combine still reads them.
	double finished[kFinishedChunk];
	for (int32 k = from; k < to;)
	{
		const int32 count = std::min (kFinishedChunk, to - k);
		const int32 summed = std::max (std::min (count, n - 1 - k), 0);
		FrameLoops::addFrames (finished, tail + k, result + k, summed);
		std::copy (result + k + summed, result + k + count, finished + summed);
		ring->writeBlock (channel, finished, count);
		k += count;
	}
	if (to == n)
		std::copy (result + n, result + 2 * n - 1, overlap->getBuffers64 ()[ch]);
}

// The input block is complete: its first N / 2 finished samples go to the ring, and the tap is
// re-placed so that the next reads return the block's finished samples in order.
void Convolver::completeBlock (int32 channel)
{
	const auto ch = static_cast<size_t> (channel);
	if (!spreads ())
	{
		completeWholeProduct (channel);
		return;
	}
	fillCounts[ch] = 0;
	secondHalfDue[ch] = 1;
	// A follower's finished samples are already in its ring, in order behind those its tap reads.
	if (led)
		return;
	const int32 half = paddedLength / 2;
	KaratsubaPlan& plan = plans[ch];
	plan.runShare (1, 1);
	writeFinished (channel, 0, half);
	if (follower && follower->led)
		follower->writeFinished (0, 0, half);
	ring->setTap (half, channel, 1, 0, false);
	plan.startRest ();
}

// The follower's second half is written with the leader's, before the leader's next product
// overwrites the follower's.
void Convolver::completeSecondHalf (int32 channel)
{
	const auto ch = static_cast<size_t> (channel);
	secondHalfDue[ch] = 0;
	if (led)
		return;
	KaratsubaPlan& plan = plans[ch];
	plan.runShare (1, 1);
	writeFinished (channel, paddedLength / 2, paddedLength);
	if (follower && follower->led)
		follower->writeFinished (0, paddedLength / 2, paddedLength);
	plan.startLow ();
}

// Below the first split the product is small enough to run whole on the first sample.
void Convolver::completeWholeProduct (int32 channel)
{
	const auto ch = static_cast<size_t> (channel);
	const int32 n = paddedLength;
	karatsubaProduct (product->getBuffers64 ()[ch], responses[ch].data (), inputBlock->getBuffers64 ()[ch], n,
	                  scratch->getBuffers64 ()[ch]);
	writeFinished (channel, 0, n);
	ring->setTap (n, channel, 1, 0, false);
	fillCounts[ch] = 0;
}

void Convolver::karatsubaProduct (double* out, const double* a, const double* b, int32 n, double* scratch)
{
	if (n < 1 || !out || !a || !b)
		return;
	// Only a power of two halves exactly at every level; any other n would lose terms.
	if (!ProductKernels::splits (n) || !scratch)
	{
		directProduct (out, a, b, n);
		return;
	}
	const int32 h = n / 2;
	ProductKernels::differences (out, a + h, a, h);
	ProductKernels::differences (out + h, b, b + h, h);
	// (a_hi - a_lo)(b_lo - b_hi), then a_lo b_lo and a_hi b_hi in place of the differences.
	karatsubaProduct (scratch, out, out + h, h, scratch + n);
	karatsubaProduct (out, a, b, h, scratch + n);
	karatsubaProduct (out + n, a + h, b + h, h, scratch + n);
	// The middle term a_lo b_hi + a_hi b_lo = a_lo b_lo + a_hi b_hi + (a_hi - a_lo)(b_lo - b_hi), at offset h.
	ProductKernels::combine (out, scratch, n);
}

void Convolver::directProduct (double* out, const double* a, const double* b, int32 n)
{
	if (n < 1 || !out || !a || !b)
		return;
	ProductKernels::schoolbook (out, a, b, n);
}

} // namespace DSPLib
} // namespace KOREMU
