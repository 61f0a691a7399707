#pragma once

#include "tools/irgen/BandLimitedResponse.h"
#include "tools/irgen/DesignParameters.h"
#include "tools/irgen/Fft.h"

#include <complex>
#include <vector>

namespace Veltrane {
namespace IrGen {

// Designs the decorrelating pair. Set A is a dense noise burst with a flat third-octave
// spectrum, found by alternating between the time envelope, the smoothed spectrum and set B's
// early shape; set B is set A through a fixed colouring filter with a small fitted correction,
// so the two share structure at a small lag but hardly at lag zero.
class ResponseDesigner
{
public:
	explicit ResponseDesigner (const DesignParameters& parameters);

	BandLimitedResponse designA () const;
	BandLimitedResponse designB (const BandLimitedResponse& a) const;

	// Relative magnitude (linear) that set A's smoothed spectrum follows.
	double flatTarget (double frequency) const;
	// The colouring filter from set A to set B, before its level is set.
	std::complex<double> colour (double frequency, double leak) const;
	// The same without its high-pass and its advance: what set B's correction goes through.
	std::complex<double> colourShape (double frequency) const;

private:
	using Spectrum = std::vector<std::complex<double>>;

	double seconds (int index) const;
	double leadEnvelope (double t) const;
	double bodyEnvelope (double t) const;
	double tail (double t) const;
	std::vector<double> fixedPart () const;
	std::vector<double> seedNoise () const;
	std::vector<double> localRms (const std::vector<double>& signal) const;
	void shapeInTime (std::vector<double>& signal, const std::vector<double>& fixed, double& bodyScale) const;
	void addToSum (std::vector<double>& signal) const;
	void shapeSpectrum (std::vector<double>& signal, double fromFrequency) const;
	// Share of B's peak that B may reach this many seconds from its peak time.
	double peakLimitB (double fromPeak) const;
	void shapeColouredPeak (std::vector<double>& signal) const;
	void restoreTail (std::vector<double>& signal, const std::vector<double>& fixed) const;
	void levelBands (std::vector<double>& signal, double fromFrequency) const;
	Spectrum toSpectrum (const std::vector<double>& signal) const;
	std::vector<double> toSignal (const Spectrum& spectrum) const;
	BandLimitedResponse toResponse (const std::vector<double>& signal) const;
	using Columns = std::vector<std::vector<double>>;
	Spectrum gaussian (double centre, double width) const;
	// Each part sampled for the first table of a rate family (0: 44.1 kHz, 1: 48 kHz).
	Columns sampleParts (const std::vector<Spectrum>& parts, int family) const;
	static std::vector<double> combine (const Columns& columns, const std::vector<double>& coefficients);
	static Spectrum combine (const std::vector<Spectrum>& parts, const std::vector<double>& coefficients);
	static double familyRate (int family);
	static int familyLength (int family);
	BandLimitedResponse fitLowEnd (const BandLimitedResponse& a) const;
	std::vector<double> bandLevels (const std::vector<Spectrum>& parts, const std::vector<double>& coefficients) const;
	std::vector<double> residualsB (const std::vector<double>& b, const std::vector<double>& a, int family) const;

	DesignParameters p;
	Fft fft;
	int topHarmonic;
	double designRate;
};

} // namespace IrGen
} // namespace Veltrane
