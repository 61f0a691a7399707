#include "dsp/Convolver.h"

#include <algorithm>

namespace KOREMU {
namespace DSPLib {

namespace {

// Below this many terms the schoolbook product beats another level of recursion.
constexpr int32 kKaratsubaThreshold = 29;
// The largest padded length whose 2N-term buffers an int32 still counts.
constexpr int32 kLargestPaddedLength = 1 << 29;

bool isPowerOfTwo (int32 n)
{
	return n > 0 && (n & (n - 1)) == 0;
}

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

Convolver::~Convolver () = default;

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
	for (int32 c = 0; c < channelCount (); ++c)
	{
		std::vector<double>& response = responses[static_cast<size_t> (c)];
		response.assign (static_cast<size_t> (n), 0.0);
		const double* source = channelSource (c);
		if (!source)
			continue;
		const double gain = gains ? gains[c] : 1.0;
		for (int32 k = 0; k < length; ++k)
			response[static_cast<size_t> (k)] = gain * source[k];
	}
}

uint32 Convolver::getLatency () const
{
	return static_cast<uint32> (paddedLength);
}

int32 Convolver::setup ()
{
	releaseBuffers ();
	const int32 channels = channelCount ();
	const int32 n = paddedLength;
	if (n > 0 && channels > 0)
	{
		scratch = Steinberg::owned (new Cable (channels, 2 * n, 1));
		overlap = Steinberg::owned (new Cable (channels, n - 1, 1));
		inputBlock = Steinberg::owned (new Cable (channels, n, 1));
		product = Steinberg::owned (new Cable (channels, 2 * n, 1));
		ring = std::make_unique<RingDelayLine> (channels, std::max (getBlockSize (), n) + 1, getSampleSize (),
		                                        getSampleRate ());
		taps.assign (static_cast<size_t> (channels), nullptr);
		fillCounts.assign (static_cast<size_t> (channels), 0);
		// Placed before any write, so the first N reads return zeros.
		for (int32 c = 0; c < channels; ++c)
			taps[static_cast<size_t> (c)] = ring->setTap (n, c, 1, 0, false);
	}
	setUp = true;
	return DSPFunction::setup ();
}

int32 Convolver::teardown ()
{
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
	taps.clear ();
	ring.reset ();
	fillCounts.clear ();
}

// Keeps the fill counts and taps, so block boundaries stay where they were.
int32 Convolver::reset ()
{
	for (Cable* cable : {scratch.get (), overlap.get (), inputBlock.get (), product.get ()})
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

template <typename Sample>
void Convolver::renderChannel (int32 channel, const Sample* input, Sample* output, int32 frames)
{
	const auto ch = static_cast<size_t> (channel);
	int32& fill = fillCounts[ch];
	double* block = inputBlock->getBuffers64 ()[ch];
	DelayTap& tap = *taps[ch];
	for (int32 j = 0; j < frames; ++j)
	{
		if (fill == paddedLength)
			completeBlock (channel);
		block[fill] = static_cast<double> (input[j]);
		output[j] = static_cast<Sample> (ring->readTap (tap));
		++fill;
	}
}

// Turns the complete input block into N finished samples in the ring and re-places the tap so
// that the next N reads return them in order.
void Convolver::completeBlock (int32 channel)
{
	const auto ch = static_cast<size_t> (channel);
	const int32 n = paddedLength;
	double* result = product->getBuffers64 ()[ch];
	double* tail = overlap->getBuffers64 ()[ch];
	karatsubaProduct (result, responses[ch].data (), inputBlock->getBuffers64 ()[ch], n,
	                  scratch->getBuffers64 ()[ch]);
	for (int32 k = 0; k < n - 1; ++k)
		ring->write (channel, tail[k] + result[k]);
	ring->write (channel, result[n - 1]);
	std::copy (result + n, result + 2 * n - 1, tail);
	ring->setTap (n, channel, 1, 0, false);
	fillCounts[ch] = 0;
}

void Convolver::karatsubaProduct (double* out, const double* a, const double* b, int32 n, double* scratch)
{
	if (n < 1 || !out || !a || !b)
		return;
	// Only a power of two halves exactly at every level; any other n would lose terms.
	if (n <= kKaratsubaThreshold || !isPowerOfTwo (n) || !scratch)
	{
		directProduct (out, a, b, n);
		return;
	}
	const int32 h = n / 2;
	for (int32 k = 0; k < h; ++k)
	{
		out[k] = a[h + k] - a[k];
		out[h + k] = b[k] - b[h + k];
	}
	// (a_hi - a_lo)(b_lo - b_hi), then a_lo b_lo and a_hi b_hi in place of the differences.
	karatsubaProduct (scratch, out, out + h, h, scratch + n);
	karatsubaProduct (out, a, b, h, scratch + n);
	karatsubaProduct (out + n, a + h, b + h, h, scratch + n);
	// The middle term a_lo b_hi + a_hi b_lo = a_lo b_lo + a_hi b_hi + (a_hi - a_lo)(b_lo - b_hi), at offset h.
	for (int32 j = 0; j < h; ++j)
	{
		const double t = out[n + j] + out[h + j];
		out[h + j] = (out[j] + t) + scratch[j];
		out[n + j] = (t + out[n + h + j]) + scratch[h + j];
	}
}

void Convolver::directProduct (double* out, const double* a, const double* b, int32 n)
{
	if (n < 1 || !out || !a || !b)
		return;
	std::fill (out, out + 2 * static_cast<size_t> (n), 0.0);
	for (int32 i = 0; i < n; ++i)
	{
		for (int32 k = 0; k < n; ++k)
			out[i + k] = b[k] * a[i] + out[i + k];
	}
}

} // namespace DSPLib
} // namespace KOREMU
