#include "dsp/MidSideStatic.h"

#include "dsp/FrameConversion.h"

namespace KOREMU {
namespace DSPLib {

MidSideStatic::MidSideStatic (int32 id) : DSPFunction (id, 2, 2)
{
	addParameter (kFcutMidParam, u"FcutMid", DSPParameter::kSetupOnly, kDefaultFcutMid, 1.0, 1000.0);
	addParameter (kFcutSideParam, u"FcutSide", DSPParameter::kSetupOnly, kDefaultFcutSide, 1.0, 1000.0);
}

double MidSideStatic::readCorner (int32 paramNo, double fallback)
{
	return finiteOr (getParameter (paramNo), fallback);
}

int32 MidSideStatic::setup ()
{
	const double rate = getSampleRate ();
	midCoefficients = FirstOrderCoefficients::highPass (readCorner (kFcutMidParam, kDefaultFcutMid), rate);
	sideCoefficients = FirstOrderCoefficients::highPass (readCorner (kFcutSideParam, kDefaultFcutSide), rate);
	return DSPFunction::setup ();
}

int32 MidSideStatic::reset ()
{
	mid = FirstOrderState ();
	side = FirstOrderState ();
	return DSPFunction::reset ();
}

int32 MidSideStatic::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 MidSideStatic::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

// Sum and difference are formed at the sample width (float32 in the 32-bit form), then
// filtered in float64.
template <typename Sample>
void MidSideStatic::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs)
		return;
	// The sections' histories and coefficients stay in registers through the loop: the output
	// stores could otherwise alias them.
	FirstOrderState midState = mid;
	FirstOrderState sideState = side;
	const FirstOrderCoefficients midCut = midCoefficients;
	const FirstOrderCoefficients sideCut = sideCoefficients;
	for (int32 i = 0; i < frames; ++i)
	{
		const Sample sum = inputs[0][i] + inputs[1][i];
		const Sample difference = inputs[0][i] - inputs[1][i];
		const double m = midState.highPass (midCut, static_cast<double> (sum));
		const double s = sideState.highPass (sideCut, static_cast<double> (difference));
		outputs[0][i] = static_cast<Sample> ((m + s) * 0.5);
		outputs[1][i] = static_cast<Sample> ((m - s) * 0.5);
	}
	mid = midState;
	side = sideState;
}

} // namespace DSPLib
} // namespace KOREMU
