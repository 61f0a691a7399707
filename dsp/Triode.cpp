#include "dsp/Triode.h"

#include "dsp/FrameConversion.h"

#include <algorithm>
#include <cmath>

namespace KOREMU {
namespace DSPLib {

Triode::Triode (int32 id, int32 channels) : DSPFunction (id, channels, channels)
{
	addParameter (kDistortionParam, u"Distortion", DSPParameter::kSmoothed, kDefaultDistortion, 1.0, 100.0);
	addParameter (kQParam, u"Q", DSPParameter::kSmoothed, kDefaultQ, -10.0, -0.01);
	addParameter (kOutGainParam, u"OutGain", DSPParameter::kSmoothed, kDefaultOutGain, 0.0, 2.0);
}

// 1 - e^x is written -expm1 (x): it stays exact and non-zero for arguments close to 0, where
// 1 - exp (x) would round to 0 and divide by it.
double Triode::shape (double u, double distortion, double q)
{
	const double offset = q / -std::expm1 (distortion * q);
	const double x = u - q;
	if (x == 0.0)
		return 1.0 / distortion + offset;
	return x / -std::expm1 (-distortion * x) + offset;
}

int32 Triode::setup ()
{
	states.assign (static_cast<size_t> (getNumInputs ()), ChannelState {});
	const double rate = getSampleRate ();
	lowPassIn = FirstOrderCoefficients::lowPass (kLowPassInHz, rate);
	highPass = FirstOrderCoefficients::highPass (kHighPassHz, rate);
	lowPassOut = FirstOrderCoefficients::lowPass (kLowPassOutHz, rate);
	settings.distortion = plainValue (kDistortionParam, settings.distortion);
	settings.q = plainValue (kQParam, settings.q);
	settings.outGain = plainValue (kOutGainParam, settings.outGain);
	return DSPFunction::setup ();
}

int32 Triode::teardown ()
{
	states = std::vector<ChannelState> ();
	return 0;
}

int32 Triode::reset ()
{
	std::fill (states.begin (), states.end (), ChannelState {});
	return DSPFunction::reset ();
}

int32 Triode::process32 (float** inputs, float** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (float** i, float** o, int32 n) { render (i, o, n); });
}

int32 Triode::process64 (double** inputs, double** outputs, int32 frames)
{
	return runBlock (inputs, outputs, frames, [this] (double** i, double** o, int32 n) { render (i, o, n); });
}

// Read without a smoothing step, so setup leaves the glides alone.
double Triode::plainValue (int32 paramNo, double fallback) const
{
	const DSPParameter* p = findParameter (paramNo);
	return p ? finiteOr (p->getPlainValue (), fallback) : fallback;
}

void Triode::readSettings ()
{
	settings.distortion = finiteOr (getParameter (kDistortionParam), settings.distortion);
	settings.q = finiteOr (getParameter (kQParam), settings.q);
	settings.outGain = finiteOr (getParameter (kOutGainParam), settings.outGain);
}

// Channel by channel, so with several channels each one continues the parameter glides where
// the channel before it left off.
template <typename Sample>
void Triode::render (Sample** inputs, Sample** outputs, int32 frames)
{
	if (!inputs || !outputs)
		return;
	for (size_t c = 0; c < states.size (); ++c)
	{
		ChannelState& state = states[c];
		for (int32 i = 0; i < frames; ++i)
		{
			readSettings ();
			const double u = state.lowPassIn.lowPass (lowPassIn, static_cast<double> (inputs[c][i]));
			const double v = shape (u, settings.distortion, settings.q) * settings.outGain;
			const double h = state.highPass.highPass (highPass, v);
			outputs[c][i] = static_cast<Sample> (state.lowPassOut.lowPass (lowPassOut, h));
		}
	}
}

} // namespace DSPLib
} // namespace KOREMU
