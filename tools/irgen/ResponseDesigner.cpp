#include "tools/irgen/ResponseDesigner.h"

#include "plugin/processor/ImpulseTables.h"
#include "tools/irgen/CoefficientFit.h"
#include "tools/irgen/ImpulseTableSet.h"
#include "tools/irgen/NoiseSource.h"
#include "tools/irgen/TableMeasure.h"

#include <algorithm>
#include <cmath>

namespace Veltrane {
namespace IrGen {

namespace {

const double kPi = std::acos (-1.0);

// Third-octave bands are numbered n for the centre 100 Hz x 2^(n/3): 40 Hz to 12.8 kHz.
constexpr int kLowestBandNumber = -4;
constexpr int kHighestBandNumber = 21;
const double kLowestBand = 100.0 * std::pow (2.0, kLowestBandNumber / 3.0);
// Each weight makes an error of about a third of what the figure allows cost about 1.
constexpr double kPeakWeight = 100.0;
constexpr double kSumWeight = 30.0;
constexpr double kEnergyWeight = 60.0;
constexpr double kCorrelationWeight = 100.0;
constexpr double kCrossWeight = 150.0;
constexpr double kColourWeight = 2.0; // per dB
// Where the fit of set B starts: the colouring filter's leak.
constexpr double kStartLeak = 0.05;

double raisedCosine (double t, double start, double width)
{
	if (t <= start)
		return 0.0;
	if (t >= start + width)
		return 1.0;
	return 0.5 - 0.5 * std::cos (kPi * (t - start) / width);
}

double dbToGain (double db)
{
	return std::pow (10.0, db / 20.0);
}

// Second-order analogue sections, evaluated on the imaginary axis.
std::complex<double> section (double f, double f0, std::complex<double> b2, std::complex<double> b1,
                              std::complex<double> b0, double q)
{
	const std::complex<double> s (0.0, f / f0);
	return (b2 * s * s + b1 * s + b0) / (s * s + s / q + 1.0);
}

std::complex<double> highPass2 (double f, double f0, double q)
{
	return section (f, f0, 1.0, 0.0, 0.0, q);
}

std::complex<double> lowPass2 (double f, double f0, double q)
{
	return section (f, f0, 0.0, 0.0, 1.0, q);
}

std::complex<double> peaking (double f, double f0, double q, double db)
{
	return section (f, f0, 1.0, dbToGain (db) / q, 1.0, q);
}

std::complex<double> notch (double f, double f0, double q)
{
	return section (f, f0, 1.0, 0.0, 1.0, q);
}

} // namespace

ResponseDesigner::ResponseDesigner (const DesignParameters& parameters)
: p (parameters)
, fft (parameters.designLength)
, topHarmonic (static_cast<int> (std::floor (parameters.topFrequency * parameters.period)))
, designRate (parameters.designLength / parameters.period)
{
}

double ResponseDesigner::seconds (int index) const
{
	return index / designRate;
}

double ResponseDesigner::flatTarget (double f) const
{
	struct Point
	{
		double frequency, db;
	};
	static const Point points[] = {{6400.0, 0.0}, {8000.0, -1.0}, {10000.0, -1.0}, {12800.0, -2.0}, {16000.0, -3.5}};
	if (f >= p.topFrequency)
		return 0.0;
	if (f <= points[0].frequency)
		return 1.0;
	if (f >= 16000.0)
		return dbToGain (-3.5) * (0.5 + 0.5 * std::cos (kPi * (f - 16000.0) / (p.topFrequency - 16000.0)));
	int i = 0;
	while (f > points[i + 1].frequency)
		++i;
	const double x = std::log (f / points[i].frequency) / std::log (points[i + 1].frequency / points[i].frequency);
	return dbToGain (points[i].db + x * (points[i + 1].db - points[i].db));
}

std::complex<double> ResponseDesigner::colourShape (double f) const
{
	// Butterworth fourth order for the fall above the pass band; a dip and two notches deepen it.
	const auto lowPass = lowPass2 (f, p.lowPass, 0.5411961) * lowPass2 (f, p.lowPass, 1.3065630);
	const auto dips = peaking (f, p.dip1, p.dip1Q, p.dip1Db) * peaking (f, p.dip2, p.dip2Q, p.dip2Db) * peaking (f, p.dip3, p.dip3Q, p.dip3Db);
	return dips * lowPass * notch (f, p.notch, p.notchQ) * notch (f, p.notch2, p.notchQ);
}

std::complex<double> ResponseDesigner::colour (double f, double leak) const
{
	const auto advance = std::polar (1.0, 2.0 * kPi * f * p.colourAdvance);
	return (highPass2 (f, p.resonance, p.resonanceQ) - leak) * colourShape (f) * advance;
}

double ResponseDesigner::peakLimitB (double fromPeak) const
{
	return std::fabs (fromPeak) <= p.peakWindow ? p.peakNear : p.peakFar;
}

double ResponseDesigner::leadEnvelope (double t) const
{
	if (t >= p.onset)
		return 0.0;
	const double rise = std::pow (10.0, p.leadRiseDb / 20.0 * (t / p.onset - 1.0));
	return p.leadLevel * rise * (1.0 - raisedCosine (t, p.onset - p.onsetRamp, p.onsetRamp));
}

double ResponseDesigner::bodyEnvelope (double t) const
{
	const double start = raisedCosine (t, p.onset - p.onsetRamp, p.onsetRamp);
	const double end = 1.0 - raisedCosine (t, p.bodyEnd, p.bodyFade);
	return start * end * std::exp (-std::max (0.0, t - p.onset) / p.bodyDecay);
}

double ResponseDesigner::tail (double t) const
{
	// A slow positive tail carries most of the sum (the gain at 0 Hz) at little energy, and the
	// table end cuts it off well above zero.
	const double fade = raisedCosine (t, p.tailStart, p.tailRise) * (1.0 - raisedCosine (t, p.tailEnd - 10e-3, 10e-3));
	return fade * p.tailValue * std::exp (-(t - p.tailReferenceTime) / p.tailDecay);
}

std::vector<double> ResponseDesigner::seedNoise () const
{
	NoiseSource noise (p.seed);
	std::vector<double> signal (p.designLength);
	for (auto& v : signal)
		v = noise.gaussian ();
	return signal;
}

std::vector<double> ResponseDesigner::localRms (const std::vector<double>& signal) const
{
	const int half = std::max (1, static_cast<int> (std::lround (p.envelopeWindow * designRate / 2.0)));
	std::vector<double> window (2 * half + 1);
	double weight = 0.0;
	for (int i = -half; i <= half; ++i)
	{
		window[i + half] = 0.5 + 0.5 * std::cos (kPi * i / (half + 1));
		weight += window[i + half];
	}
	const int n = static_cast<int> (signal.size ());
	std::vector<double> rms (n);
	for (int i = 0; i < n; ++i)
	{
		double sum = 0.0;
		for (int j = -half; j <= half; ++j)
		{
			const double v = signal[(i + j + n) % n];
			sum += window[j + half] * v * v;
		}
		rms[i] = std::sqrt (sum / weight);
	}
	return rms;
}

std::vector<double> ResponseDesigner::fixedPart () const
{
	// The lead-in: its own seeded noise, band-limited so that it is less busy than the body.
	NoiseSource noise (p.seed + 1);
	Spectrum spectrum (p.designLength);
	for (auto& c : spectrum)
		c = noise.gaussian ();
	fft.forward (spectrum);
	const int edge = static_cast<int> (p.leadBandwidth * p.period);
	for (int k = 0; k <= p.designLength / 2; ++k)
	{
		const double gain = k <= edge ? 1.0 : 0.0;
		spectrum[k] *= gain;
		if (k > 0)
			spectrum[p.designLength - k] *= gain;
	}
	fft.inverse (spectrum);
	std::vector<double> leadNoise (p.designLength);
	for (int i = 0; i < p.designLength; ++i)
		leadNoise[i] = spectrum[i].real ();
	const auto rms = localRms (leadNoise);

	std::vector<double> fixed (p.designLength);
	for (int i = 0; i < p.designLength; ++i)
	{
		const double t = seconds (i);
		fixed[i] = leadNoise[i] / rms[i] * leadEnvelope (t) + tail (t);
	}
	return fixed;
}

void ResponseDesigner::shapeInTime (std::vector<double>& signal, const std::vector<double>& fixed, double& bodyScale) const
{
	const int n = static_cast<int> (signal.size ());
	std::vector<double> noise (n);
	for (int i = 0; i < n; ++i)
		noise[i] = signal[i] - fixed[i];
	const auto rms = localRms (noise);
	const int peakIndex = static_cast<int> (std::lround (p.peakTime * designRate));
	const double limit = p.noiseLimit * p.peakValue;

	for (int i = 0; i < n; ++i)
	{
		const double unit = rms[i] > 1e-30 ? noise[i] / rms[i] : 0.0;
		double body = unit * bodyEnvelope (seconds (i)) * bodyScale;
		if (std::abs (i - peakIndex) > 2)
			body = std::clamp (body, -limit, limit);
		signal[i] = fixed[i] + body;
	}
	addToSum (signal);
	// The peak: a narrow bump that lifts the sample at the peak time to the peak value.
	const double lift = p.peakValue - signal[peakIndex];
	for (int j = -3; j <= 3; ++j)
		signal[peakIndex + j] += lift * std::exp (-0.5 * j * j);

	// Next time the body gets the level that brings the energy to its target.
	double fixedEnergy = 0.0;
	double energy = 0.0;
	for (int i = 0; i < n; ++i)
	{
		fixedEnergy += fixed[i] * fixed[i] / designRate;
		energy += signal[i] * signal[i] / designRate;
	}
	const double target = p.energyA / p.referenceRate;
	if (energy > fixedEnergy && target > fixedEnergy)
		bodyScale *= std::sqrt ((target - fixedEnergy) / (energy - fixedEnergy));
}

void ResponseDesigner::addToSum (std::vector<double>& signal) const
{
	// The sum (gain at 0 Hz) is set inside the body, by a bump of its envelope's shape, so that
	// it stays within the response instead of spreading over the period.
	const int n = static_cast<int> (signal.size ());
	std::vector<double> bump (n);
	double integral = 0.0;
	double bumpIntegral = 0.0;
	for (int i = 0; i < n; ++i)
	{
		const double t = seconds (i);
		bump[i] = raisedCosine (t, p.onset, p.sumBumpLength / 2) * (1.0 - raisedCosine (t, p.onset + p.sumBumpLength / 2, p.sumBumpLength / 2));
		integral += signal[i] / designRate;
		bumpIntegral += bump[i] / designRate;
	}
	const double missing = p.sumA * p.sumAim / p.referenceRate - integral;
	for (int i = 0; i < n; ++i)
		signal[i] += missing * bump[i] / bumpIntegral;
}

ResponseDesigner::Spectrum ResponseDesigner::toSpectrum (const std::vector<double>& signal) const
{
	Spectrum spectrum (signal.begin (), signal.end ());
	fft.forward (spectrum);
	for (auto& c : spectrum)
		c /= static_cast<double> (signal.size ());
	return spectrum;
}

std::vector<double> ResponseDesigner::toSignal (const Spectrum& harmonics) const
{
	Spectrum full (p.designLength, 0.0);
	full[0] = harmonics[0].real ();
	for (int k = 1; k <= topHarmonic; ++k)
	{
		full[k] = harmonics[k];
		full[p.designLength - k] = std::conj (harmonics[k]);
	}
	fft.inverse (full);
	std::vector<double> signal (p.designLength);
	for (int i = 0; i < p.designLength; ++i)
		signal[i] = full[i].real ();
	return signal;
}

void ResponseDesigner::shapeSpectrum (std::vector<double>& signal, double fromFrequency) const
{
	auto spectrum = toSpectrum (signal);
	std::vector<double> cumulative (topHarmonic + 2, 0.0);
	for (int k = 0; k <= topHarmonic; ++k)
		cumulative[k + 1] = cumulative[k] + std::norm (spectrum[k]);

	// Match the third-octave smoothed magnitude to the target; keep the fine ripple and the phase.
	const double sixth = std::pow (2.0, 1.0 / 6.0);
	const int firstShaped = static_cast<int> (std::ceil (fromFrequency * p.period));
	const int referenceLow = static_cast<int> (1000.0 * p.period);
	const int referenceHigh = static_cast<int> (5000.0 * p.period);
	const double level = std::sqrt ((cumulative[referenceHigh + 1] - cumulative[referenceLow]) / (referenceHigh - referenceLow + 1));
	Spectrum shaped (topHarmonic + 1, 0.0);
	shaped[0] = spectrum[0];
	for (int k = 1; k <= topHarmonic; ++k)
	{
		if (k < firstShaped)
		{
			shaped[k] = spectrum[k];
			continue;
		}
		const int lo = std::max (firstShaped, std::min (k - 2, static_cast<int> (std::floor (k / sixth))));
		const int hi = std::min (topHarmonic, std::max (k + 2, static_cast<int> (std::ceil (k * sixth))));
		const double smoothed = (cumulative[hi + 1] - cumulative[lo]) / (hi - lo + 1);
		const double target = flatTarget (k / p.period);
		shaped[k] = smoothed > 0.0 ? spectrum[k] * level * target / std::sqrt (smoothed) : 0.0;
	}

	// The level follows the energy.
	double energy = 0.0;
	for (int k = 0; k <= topHarmonic; ++k)
		energy += (k == 0 ? 1.0 : 2.0) * std::norm (shaped[k]) * p.period;
	const double scale = std::sqrt (p.energyA / p.referenceRate / energy);
	for (auto& c : shaped)
		c *= scale;
	signal = toSignal (shaped);
}

void ResponseDesigner::levelBands (std::vector<double>& signal, double fromFrequency) const
{
	// Third-octave bands (centres 100 Hz x 2^(n/3)) from fromFrequency up: the gain that brings
	// each band's mean power to the target, interpolated smoothly between the band centres so
	// that the correction stays short in time. A few passes settle the band levels.
	const double third = std::pow (2.0, 1.0 / 3.0);
	for (int pass = 0; pass < 3; ++pass)
	{
		auto spectrum = toSpectrum (signal);
		auto meanPower = [&] (int lo, int hi) {
			double sum = 0.0;
			for (int k = lo; k <= hi; ++k)
				sum += std::norm (spectrum[k]);
			return sum / (hi - lo + 1);
		};
		const double level = std::sqrt (meanPower (static_cast<int> (1000.0 * p.period), static_cast<int> (5000.0 * p.period)));
		std::vector<double> centres;
		std::vector<double> gains;
		for (double centre = fromFrequency; centre * std::sqrt (third) < p.topFrequency; centre *= third)
		{
			const int lo = static_cast<int> (std::ceil (centre / std::sqrt (third) * p.period));
			const int hi = static_cast<int> (std::floor (centre * std::sqrt (third) * p.period));
			double targetPower = 0.0;
			for (int k = lo; k <= hi; ++k)
				targetPower += std::pow (flatTarget (k / p.period), 2.0);
			targetPower *= level * level / (hi - lo + 1);
			centres.push_back (centre);
			gains.push_back (std::sqrt (targetPower / meanPower (lo, hi)));
		}
		const int first = static_cast<int> (std::ceil (centres.front () / std::sqrt (third) * p.period));
		for (int k = first; k <= topHarmonic; ++k)
		{
			const double f = k / p.period;
			size_t i = 0;
			while (i + 1 < centres.size () && centres[i + 1] < f)
				++i;
			double gain = gains[i];
			if (f > centres[i] && i + 1 < centres.size ())
			{
				const double x = std::log (f / centres[i]) / std::log (third);
				gain = std::exp ((1.0 - x) * std::log (gains[i]) + x * std::log (gains[i + 1]));
			}
			spectrum[k] *= gain;
		}
		spectrum.resize (topHarmonic + 1);
		signal = toSignal (spectrum);
	}
	double energy = 0.0;
	for (double v : signal)
		energy += v * v / designRate;
	const double scale = std::sqrt (p.energyA / p.referenceRate / energy);
	for (auto& v : signal)
		v *= scale;
}

BandLimitedResponse ResponseDesigner::toResponse (const std::vector<double>& signal) const
{
	auto spectrum = toSpectrum (signal);
	spectrum.resize (topHarmonic + 1);
	spectrum[0] = spectrum[0].real ();
	return BandLimitedResponse (p.period, spectrum);
}

void ResponseDesigner::shapeColouredPeak (std::vector<double>& signal) const
{
	// Set B follows from set A, so B's early shape is a target of A's design: where A through
	// the colouring filter goes past B's peak level, or misses it at B's peak time, A takes the
	// least change (a regularised inverse of the filter) that mends it.
	const auto spectrum = toSpectrum (signal);
	Spectrum coloured (topHarmonic + 1);
	for (int k = 0; k <= topHarmonic; ++k)
		coloured[k] = spectrum[k] * colour (k / p.period, kStartLeak);
	auto b = toSignal (coloured);
	double energy = 0.0;
	for (double v : b)
		energy += v * v / designRate;
	const auto& figures = p.families[0];
	const double gain = std::sqrt (figures.energyB / p.referenceRate / energy);
	const double peakTime = figures.peakIndexB / p.referenceRate;
	const int peakIndex = static_cast<int> (std::lround (peakTime * designRate));
	std::vector<double> change (b.size (), 0.0);
	for (size_t i = 0; i < b.size (); ++i)
	{
		const double value = gain * b[i];
		const double limit = peakLimitB (seconds (static_cast<int> (i)) - peakTime) * figures.peakB;
		double target = std::clamp (value, -limit, limit);
		if (static_cast<int> (i) == peakIndex)
			target = figures.peakB;
		change[i] = p.peakRelaxation * (target - value) / gain;
	}
	auto changeSpectrum = toSpectrum (change);
	double strongest = 0.0;
	for (int k = 0; k <= topHarmonic; ++k)
		strongest = std::max (strongest, std::norm (colour (k / p.period, kStartLeak)));
	Spectrum inverse (topHarmonic + 1);
	for (int k = 0; k <= topHarmonic; ++k)
	{
		const auto c = colour (k / p.period, kStartLeak);
		inverse[k] = changeSpectrum[k] * std::conj (c) / (std::norm (c) + p.inverseFloor * strongest);
	}
	// Only inside the body: the quiet lead-in and tail keep their own shape.
	const auto changeOfA = toSignal (inverse);
	for (size_t i = 0; i < signal.size (); ++i)
	{
		const double t = seconds (static_cast<int> (i));
		signal[i] += changeOfA[i] * raisedCosine (t, p.onset - p.onsetRamp, p.onsetRamp) * (1.0 - raisedCosine (t, p.bodyEnd, p.bodyFade));
	}
}

void ResponseDesigner::restoreTail (std::vector<double>& signal, const std::vector<double>& fixed) const
{
	// The levelling and the band limit spread a little noise over the quiet tail, where it would
	// cross zero; band-limited first, the tail after the body then takes its smooth shape again.
	auto spectrum = toSpectrum (signal);
	spectrum.resize (topHarmonic + 1);
	signal = toSignal (spectrum);
	for (size_t i = 0; i < signal.size (); ++i)
	{
		const double keep = raisedCosine (seconds (static_cast<int> (i)), p.bodyEnd, p.bodyFade);
		signal[i] = keep * fixed[i] + (1.0 - keep) * signal[i];
	}
}

BandLimitedResponse ResponseDesigner::designA () const
{
	const auto fixed = fixedPart ();
	auto signal = seedNoise ();
	double bodyScale = 0.4;
	for (int i = 0; i < p.iterations; ++i)
	{
		shapeInTime (signal, fixed, bodyScale);
		shapeSpectrum (signal, 35.0);
		shapeColouredPeak (signal);
	}
	// End on the time shape, which holds the sum, the peak and the tail, then level the bands
	// with a correction smooth enough to leave those nearly as they are.
	for (int i = 0; i < 4; ++i)
		shapeInTime (signal, fixed, bodyScale);
	levelBands (signal, p.finalShapeFrom);
	restoreTail (signal, fixed);
	return fitLowEnd (toResponse (signal));
}

ResponseDesigner::Spectrum ResponseDesigner::gaussian (double centre, double width) const
{
	// Harmonics of a unit-area Gaussian pulse: its spectrum in closed form.
	Spectrum harmonics (topHarmonic + 1);
	for (int k = 0; k <= topHarmonic; ++k)
	{
		const double f = k / p.period;
		const double magnitude = std::exp (-2.0 * kPi * kPi * width * width * f * f) / p.period;
		harmonics[k] = std::polar (magnitude, -2.0 * kPi * f * centre);
	}
	return harmonics;
}

ResponseDesigner::Columns ResponseDesigner::sampleParts (const std::vector<Spectrum>& parts, int family) const
{
	Columns columns;
	for (const auto& part : parts)
		columns.push_back (BandLimitedResponse (p.period, part).sample (familyRate (family), familyLength (family)));
	return columns;
}

std::vector<double> ResponseDesigner::combine (const Columns& columns, const std::vector<double>& coefficients)
{
	std::vector<double> out (columns.front ().size (), 0.0);
	for (size_t j = 0; j < columns.size (); ++j)
		for (size_t i = 0; i < out.size (); ++i)
			out[i] += coefficients[j] * columns[j][i];
	return out;
}

ResponseDesigner::Spectrum ResponseDesigner::combine (const std::vector<Spectrum>& parts, const std::vector<double>& coefficients)
{
	Spectrum out (parts.front ().size (), 0.0);
	for (size_t j = 0; j < parts.size (); ++j)
		for (size_t k = 0; k < out.size (); ++k)
			out[k] += coefficients[j] * parts[j][k];
	out[0] = out[0].real ();
	return out;
}

double ResponseDesigner::familyRate (int family)
{
	return ImpulseTableSet::kBandRates[family];
}

int ResponseDesigner::familyLength (int family)
{
	return Steinberg::Vst::kImpulseTableLengths[family];
}

BandLimitedResponse ResponseDesigner::fitLowEnd (const BandLimitedResponse& a) const
{
	// The tables end early, so their lowest bands are not those of the periodic design: level
	// them as the tables measure them, together with the sums, by smooth bumps in the body.
	std::vector<Spectrum> parts {a.harmonics ()};
	for (int i = 0; i < p.lowEndBumps; ++i)
		parts.push_back (gaussian (p.lowEndFirst + i * p.lowEndSpacing, p.lowEndWidth));
	Columns columns[2];
	double reference[2];
	for (int family = 0; family < 2; ++family)
	{
		columns[family] = sampleParts (parts, family);
		reference[family] = TableMeasure (columns[family][0].data (), familyLength (family), familyRate (family)).bandLevelDb (1000.0, 5000.0);
	}
	const auto withA = [] (const std::vector<double>& bumps) {
		std::vector<double> c {1.0};
		c.insert (c.end (), bumps.begin (), bumps.end ());
		return c;
	};
	const auto residuals = [&] (const std::vector<double>& bumps) {
		std::vector<double> r;
		for (int family = 0; family < 2; ++family)
		{
			const auto table = combine (columns[family], withA (bumps));
			const TableMeasure m (table.data (), familyLength (family), familyRate (family));
			for (double centre = kLowestBand; centre < p.lowEndTop; centre *= std::pow (2.0, 1.0 / 3.0))
				r.push_back (m.thirdOctaveDb (centre) - reference[family]);
			r.push_back (20.0 * std::log10 (std::max (1e-9, m.sum () / p.families[family].sumA)));
		}
		return r;
	};
	const std::vector<double> start (parts.size () - 1, 0.0);
	return BandLimitedResponse (p.period, combine (parts, withA (CoefficientFit (residuals, p.fitIterations).solve (start))));
}

std::vector<double> ResponseDesigner::residualsB (const std::vector<double>& b, const std::vector<double>& a, int family) const
{
	const auto& figures = p.families[family];
	const double rate = familyRate (family);
	std::vector<double> r;
	r.push_back (kPeakWeight * (b[figures.peakIndexB] - figures.peakB));
	for (size_t i = 0; i < b.size (); ++i)
	{
		const double limit = peakLimitB ((static_cast<int> (i) - figures.peakIndexB) / rate) * figures.peakB;
		r.push_back (kPeakWeight * std::max (0.0, std::fabs (b[i]) - limit));
	}
	double sum = 0.0;
	double energyA = 0.0;
	double energyB = 0.0;
	for (size_t i = 0; i < b.size (); ++i)
	{
		sum += b[i];
		energyA += a[i] * a[i];
		energyB += b[i] * b[i];
	}
	r.push_back (kSumWeight * (sum - figures.sumB) / std::fabs (figures.sumB));
	r.push_back (kEnergyWeight * (energyB - figures.energyB) / figures.energyB);
	const auto correlation = [&] (int lag) {
		double s = 0.0;
		for (size_t n = 0; n + lag < b.size (); ++n)
			if (static_cast<int> (n) + lag >= 0)
				s += a[n] * b[n + lag];
		return s / std::sqrt (energyA * energyB);
	};
	r.push_back (kCorrelationWeight * (correlation (0) - p.correlationAtZero));
	const int lag = static_cast<int> (std::lround (p.crossLag * rate));
	r.push_back (kCrossWeight * (correlation (lag) - p.crossCorrelation));
	for (int other = -2 * lag; other <= 4 * lag; ++other)
		if (std::abs (other - lag) > 1)
			r.push_back (kCrossWeight * std::max (0.0, correlation (other) - p.crossCorrelation));
	return r;
}

std::vector<double> ResponseDesigner::bandLevels (const std::vector<Spectrum>& parts, const std::vector<double>& coefficients) const
{
	// Mean power of the periodic spectrum over harmonics [first, last].
	const auto meanPower = [&] (int first, int last) {
		double power = 0.0;
		for (int k = first; k <= last; ++k)
		{
			std::complex<double> value = 0.0;
			for (size_t j = 0; j < coefficients.size (); ++j)
				value += coefficients[j] * parts[j][k];
			power += std::norm (value);
		}
		return power / (last - first + 1);
	};
	// Third-octave bands (centres 100 Hz x 2^(n/3)), 40 Hz to 12.8 kHz, in dB against 1 to 5 kHz.
	const double reference = meanPower (static_cast<int> (1000.0 * p.period), static_cast<int> (5000.0 * p.period));
	std::vector<double> levels;
	const double sixth = std::pow (2.0, 1.0 / 6.0);
	for (int n = kLowestBandNumber; n <= kHighestBandNumber; ++n)
	{
		const double centre = 100.0 * std::pow (2.0, n / 3.0);
		const int first = static_cast<int> (std::ceil (centre / sixth * p.period));
		const int last = static_cast<int> (std::floor (centre * sixth * p.period));
		levels.push_back (10.0 * std::log10 (meanPower (first, last) / reference));
	}
	return levels;
}

BandLimitedResponse ResponseDesigner::designB (const BandLimitedResponse& a) const
{
	// Set B is set A through the colouring filter, plus a short correction through the filter's
	// shape without its high-pass. The parts combine linearly: the coloured A, the leak (which
	// sets the sum), the narrow bumps that settle the early body and the broad ones for the sums.
	const auto& harmonics = a.harmonics ();
	std::vector<Spectrum> parts (2, Spectrum (harmonics.size ()));
	for (size_t k = 0; k < harmonics.size (); ++k)
	{
		const double f = k / p.period;
		parts[0][k] = harmonics[k] * colour (f, 0.0);
		parts[1][k] = harmonics[k] * (colour (f, 0.0) - colour (f, 1.0));
	}
	const auto throughFilter = [&] (Spectrum pulse) {
		for (size_t k = 0; k < pulse.size (); ++k)
			pulse[k] *= colourShape (k / p.period);
		return pulse;
	};
	for (int i = 0; i < p.peakShapeBumps; ++i)
		parts.push_back (throughFilter (gaussian (p.peakShapeFirst + i * p.peakShapeSpacing, p.peakShapeWidth)));
	parts.push_back (throughFilter (gaussian (p.sumBump, p.sumBumpWidth)));
	parts.push_back (throughFilter (gaussian (p.endBump, p.endBumpWidth)));

	Columns columns[2];
	std::vector<double> tablesA[2];
	for (int family = 0; family < 2; ++family)
	{
		columns[family] = sampleParts (parts, family);
		tablesA[family] = a.sample (familyRate (family), familyLength (family));
	}
	const auto colourLevels = bandLevels (parts, std::vector<double> {1.0, -kStartLeak});
	const auto residuals = [&] (const std::vector<double>& c) {
		auto r = residualsB (combine (columns[0], c), tablesA[0], 0);
		const auto r48 = residualsB (combine (columns[1], c), tablesA[1], 1);
		r.insert (r.end (), r48.begin (), r48.end ());
		// The correction keeps the colour: every band's level stays that of the coloured A.
		const auto levels = bandLevels (parts, c);
		for (size_t i = 0; i < levels.size (); ++i)
			r.push_back (kColourWeight * (levels[i] - colourLevels[i]));
		return r;
	};
	std::vector<double> start (parts.size (), 0.0);
	double energy = 0.0;
	for (double v : columns[0][0])
		energy += v * v;
	start[0] = std::sqrt (p.families[0].energyB / energy);
	start[1] = -start[0] * kStartLeak;
	return BandLimitedResponse (p.period, combine (parts, CoefficientFit (residuals, p.fitIterations).solve (start)));
}

} // namespace IrGen
} // namespace Veltrane
