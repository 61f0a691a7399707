#pragma once

#include <vector>

namespace Veltrane {
namespace IrGen {

// Measures one impulse-response table the way a listener's tools would: peak, sums, energy
// distribution over time, sign changes, band levels of its spectrum, correlation with another.
class TableMeasure
{
public:
	TableMeasure (const double* values, int length, double rate);

	int length () const { return static_cast<int> (v.size ()); }
	double rate () const { return sampleRate; }
	const std::vector<double>& values () const { return v; }

	// The value of largest magnitude, with its sign, and its index.
	double peakValue () const;
	int peakIndex () const;
	double sum () const;
	double energy () const;
	// Share of the energy in [first, end) samples.
	double energyShare (int first, int end) const;
	// Seconds from the start until the given share of the energy has arrived.
	double arrivalTime (double share) const;
	int signChanges () const;
	// Mean power of the spectrum over [low, high] Hz, in dB.
	double bandLevelDb (double low, double high) const;
	double thirdOctaveDb (double centre) const;

	// Normalized cross-correlation sum a[n] b[n + lag] / sqrt(Ea Eb).
	static double correlation (const TableMeasure& a, const TableMeasure& b, int lag);

private:
	double powerAt (double frequency) const;

	std::vector<double> v;
	double sampleRate;
};

} // namespace IrGen
} // namespace Veltrane
