#include "tools/irgen/BandLimitedResponse.h"

#include <cmath>
#include <stdexcept>

namespace Veltrane {
namespace IrGen {

BandLimitedResponse::BandLimitedResponse (double period, std::vector<std::complex<double>> harmonics)
: periodSeconds (period), coefficients (std::move (harmonics))
{
	if (!(period > 0.0) || coefficients.empty ())
		throw std::invalid_argument ("a response needs a period and at least a mean value");
}

double BandLimitedResponse::topFrequency () const
{
	return static_cast<double> (coefficients.size () - 1) / periodSeconds;
}

double BandLimitedResponse::valueAt (double seconds) const
{
	const double step = 2.0 * std::acos (-1.0) * seconds / periodSeconds;
	double sum = 0.0;
	for (size_t k = 1; k < coefficients.size (); ++k)
		sum += (coefficients[k] * std::polar (1.0, step * static_cast<double> (k))).real ();
	return coefficients[0].real () + 2.0 * sum;
}

std::vector<double> BandLimitedResponse::sample (double rate, int length) const
{
	const double samplesPerPeriod = rate * periodSeconds;
	const auto periodLength = static_cast<long> (std::lround (samplesPerPeriod));
	if (std::fabs (samplesPerPeriod - static_cast<double> (periodLength)) > 1e-9 || length > periodLength)
		throw std::invalid_argument ("the rate must fit a whole number of samples in one period");
	if (2.0 * topFrequency () >= rate)
		throw std::invalid_argument ("the rate is too low for the response's band");

	// Exact angles: the phase of harmonic k at sample m is (k m mod L) / L of a turn.
	std::vector<std::complex<double>> turn (periodLength);
	const double pi = std::acos (-1.0);
	for (long i = 0; i < periodLength; ++i)
		turn[i] = std::polar (1.0, 2.0 * pi * static_cast<double> (i) / static_cast<double> (periodLength));

	std::vector<double> out (length);
	for (int m = 0; m < length; ++m)
	{
		double sum = 0.0;
		long index = 0;
		for (size_t k = 1; k < coefficients.size (); ++k)
		{
			index += m;
			if (index >= periodLength)
				index %= periodLength;
			sum += (coefficients[k] * turn[index]).real ();
		}
		out[m] = coefficients[0].real () + 2.0 * sum;
	}
	return out;
}

} // namespace IrGen
} // namespace Veltrane
