#include "dsp/LorenzLFO.h"

#include "dsp/FrameConversion.h"

namespace KOREMU {
namespace DSPLib {

namespace {
// Bounds the glide for absurd sample rates; 30 ms stays far below it at any real one.
constexpr int32 kMaxGlideSamples = 1 << 20;
} // namespace

LorenzLFO::LorenzLFO (int32 id) : Controller (id)
{
	addParameter (kRateParamNo, u"Rate", 0, kDefaultRate, 0.0, kMaxRate);
	addParameter (kDepthParamNo, u"Depth", 0, kDefaultDepth, 0.0, kMaxDepth);
	addParameter (kScaleParamNo, u"Scale", 0, LorenzAttractor::kOutputScale);
}

int32 LorenzLFO::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float**, float** o, int32 n) { render (o, n); });
}

int32 LorenzLFO::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double**, double** o, int32 n) { render (o, n); });
}

template <typename Sample>
void LorenzLFO::render (Sample** outputs, int32 frames)
{
	const int32 glideSamples = framesFromValue (kGlideMs * 0.001 * getSampleRate (), 0, 0, kMaxGlideSamples);
	rate.glideTo (getParameter (kRateParamNo), glideSamples);
	depth.glideTo (getParameter (kDepthParamNo), glideSamples);
	const double scale = getParameter (kScaleParamNo);
	attractor.setStep (rate.getValue () / getSampleRate ());
	double gain = depth.getValue () * scale;
	const bool followX = scale == LorenzAttractor::kOutputScale;
	Sample* out = outputs ? outputs[0] : nullptr;
	// The state stays in registers through the loop: the output stores could otherwise alias it.
	LorenzAttractor walker = attractor;
	for (int32 i = 0; i < frames; ++i)
	{
		if (rate.isGliding ())
			walker.setStep (rate.next () / getSampleRate ());
		if (depth.isGliding ())
			gain = depth.next () * scale;
		walker.advance ();
		const double coordinate = followX ? walker.getX () : walker.getY ();
		if (out)
			out[i] = static_cast<Sample> (gain * coordinate);
	}
	attractor = walker;
}

} // namespace DSPLib
} // namespace KOREMU
