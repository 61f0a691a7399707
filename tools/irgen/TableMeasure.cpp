#include "tools/irgen/TableMeasure.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace Veltrane {
namespace IrGen {

TableMeasure::TableMeasure (const double* values, int length, double rate)
: v (values, values + length), sampleRate (rate)
{
}

int TableMeasure::peakIndex () const
{
	int best = 0;
	for (int i = 1; i < length (); ++i)
		if (std::fabs (v[i]) > std::fabs (v[best]))
			best = i;
	return best;
}

double TableMeasure::peakValue () const
{
	return v[peakIndex ()];
}

double TableMeasure::sum () const
{
	double s = 0.0;
	for (double x : v)
		s += x;
	return s;
}

double TableMeasure::energy () const
{
	double e = 0.0;
	for (double x : v)
		e += x * x;
	return e;
}

double TableMeasure::energyShare (int first, int end) const
{
	double part = 0.0;
	double total = 0.0;
	for (int i = 0; i < length (); ++i)
	{
		total += v[i] * v[i];
		if (i >= first && i < end)
			part += v[i] * v[i];
	}
	return total > 0.0 ? part / total : 0.0;
}

double TableMeasure::arrivalTime (double share) const
{
	const double total = energy ();
	double arrived = 0.0;
	for (int i = 0; i < length (); ++i)
	{
		arrived += v[i] * v[i];
		if (arrived >= share * total)
			return (i + 1) / sampleRate;
	}
	return length () / sampleRate;
}

int TableMeasure::signChanges () const
{
	int changes = 0;
	for (int i = 1; i < length (); ++i)
		if ((v[i] < 0.0) != (v[i - 1] < 0.0))
			++changes;
	return changes;
}

double TableMeasure::powerAt (double frequency) const
{
	const double pi = std::acos (-1.0);
	const std::complex<double> step = std::polar (1.0, -2.0 * pi * frequency / sampleRate);
	std::complex<double> rotor = 1.0;
	std::complex<double> sum = 0.0;
	for (int i = 0; i < length (); ++i)
	{
		sum += v[i] * rotor;
		rotor *= step;
	}
	return std::norm (sum);
}

double TableMeasure::bandLevelDb (double low, double high) const
{
	// Points closer than the table's own resolution, so that narrow bands are not missed.
	const double resolution = sampleRate / length ();
	const int points = std::max (8, static_cast<int> (std::ceil (4.0 * (high - low) / resolution)));
	double power = 0.0;
	for (int i = 0; i < points; ++i)
		power += powerAt (low + (high - low) * (i + 0.5) / points);
	return 10.0 * std::log10 (power / points);
}

double TableMeasure::thirdOctaveDb (double centre) const
{
	const double sixth = std::pow (2.0, 1.0 / 6.0);
	return bandLevelDb (centre / sixth, centre * sixth);
}

double TableMeasure::correlation (const TableMeasure& a, const TableMeasure& b, int lag)
{
	double s = 0.0;
	for (int n = 0; n < a.length (); ++n)
		if (n + lag >= 0 && n + lag < b.length ())
			s += a.v[n] * b.v[n + lag];
	return s / std::sqrt (a.energy () * b.energy ());
}

} // namespace IrGen
} // namespace Veltrane
