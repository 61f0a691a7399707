#pragma once

#include "dsp/Cable.h"
#include "dsp/DSPFunction.h"
#include "dsp/KaratsubaPlan.h"
#include "dsp/RingDelayLine.h"

#include <memory>
#include <vector>

namespace KOREMU {
namespace DSPLib {

// Convolves each channel with its own finite impulse response, block by block: N input samples
// (the response length padded to a power of two) are collected, multiplied with the response by
// Karatsuba multiplication, overlap-added and handed out one per input sample. The latency is
// exactly N; block boundaries fall every N samples counted from setup.
//
// The product is spread over the collection period so that no single call computes it whole:
// a_lo b_lo of the top Karatsuba split runs while the block's second half comes in, and the rest
// during the first half of the next block, before output N / 2 needs it. The output is the same,
// bit for bit, as computing karatsubaProduct on the first sample of the next block.
//
// The response is set before setup; a set between setup and teardown is ignored, because setup
// sizes every buffer from N. Without a response (N = 0) the block allocates nothing, outputs
// zeros and reports latency 0.
class Convolver : public DSPFunction
{
public:
	Convolver (int32 id, int32 channels);
	~Convolver () override;

	// One response array per channel, each of length samples; gains (one per channel) scale the
	// responses as they are copied, and may be null.
	void setImpulseResponse (const double* const* responses, int32 length, const double* gains = nullptr);
	// The channels' responses one after another in a single array.
	void setImpulseResponse (const double* response, int32 length, const double* gains = nullptr);

	uint32 getLatency () const override;
	int32 setup () override;
	int32 teardown () override;
	int32 reset () override;
	int32 process32 (float** inputs, float** outputs, int32 frames) override;
	int32 process64 (double** inputs, double** outputs, int32 frames) override;

	// Writes the 2n terms of the product of the n-term sequences a and b to out (the last term is
	// always 0), using 2n values of scratch. out must not overlap a, b or scratch. A power-of-two n
	// above 29 runs Karatsuba steps; any other n the schoolbook product.
	static void karatsubaProduct (double* out, const double* a, const double* b, int32 n, double* scratch);
	// The schoolbook product alone, for any n.
	static void directProduct (double* out, const double* a, const double* b, int32 n);

	// Makes follower multiply this convolver's input side instead of its own: the input block and
	// every difference of it are computed once, here, for both, and each split into leaves of the
	// same input runs for both responses at once. Both have one channel and the same N, and run
	// side by side on the same input from setup on, as a parallel container's members do; call it
	// before setup. Both go on working while bypassed, so that neither falls behind the other.
	void shareInput (Convolver& follower);

	bool isSetUp () const { return setUp; }

private:
	// The source of one channel's response, or null when that channel has none.
	template <typename Source>
	void storeResponses (Source&& channelSource, int32 length, const double* gains);
	void releaseBuffers ();
	bool canShareWith (const Convolver& other) const;
	// Binds the follower's plan alongside this one's, when both are set up.
	void linkFollower ();
	// The follower goes back to a plan of its own before this convolver's buffers go.
	void unlinkFollower ();
	// This convolver's plan is about to change: the leader stops running it.
	void leaveLeader ();
	void bindOwnPlan (int32 channel);
	bool spreads () const;
	void completeBlock (int32 channel);
	void completeWholeProduct (int32 channel);
	void completeSecondHalf (int32 channel);
	void writeFinished (int32 channel, int32 from, int32 to);
	void runShare (int32 channel);
	int32 nextEvent (int32 channel) const;
	template <typename Sample>
	void render (Sample** inputs, Sample** outputs, int32 frames);
	template <typename Sample>
	void renderChannel (int32 channel, const Sample* input, Sample* output, int32 frames);

	int32 channelCount () const;

	Steinberg::IPtr<Cable> scratch;
	Steinberg::IPtr<Cable> overlap;
	Steinberg::IPtr<Cable> inputBlock;
	Steinberg::IPtr<Cable> product;
	// The top split's differences b_lo - b_hi, kept while the next block overwrites b_lo.
	Steinberg::IPtr<Cable> split;
	std::unique_ptr<RingDelayLine> ring;
	std::vector<DelayTap*> taps;
	std::vector<std::vector<double>> responses;
	std::vector<KaratsubaPlan> plans;
	int32 paddedLength {0};
	std::vector<int32> fillCounts;
	// Per channel: true from a completed block until its second half is written.
	std::vector<char> secondHalfDue;
	bool setUp {false};
	Convolver* leader {nullptr};
	Convolver* follower {nullptr};
	// True while the leader's plan runs this one's: its phases and shares are the leader's to run.
	bool led {false};
};

} // namespace DSPLib
} // namespace KOREMU
