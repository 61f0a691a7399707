#pragma once

#include <complex>
#include <vector>

namespace Veltrane {
namespace IrGen {

// A continuous-time response h(t) given as a band-limited Fourier series of period T:
// h(t) = c0 + 2 Re sum_{k>=1} c_k e^(2 pi i k t / T), with c0 real. A design lives well inside one
// period, so sampling it at any rate above twice its top harmonic gives the same response.
class BandLimitedResponse
{
public:
	BandLimitedResponse (double period, std::vector<std::complex<double>> harmonics);

	double period () const { return periodSeconds; }
	const std::vector<std::complex<double>>& harmonics () const { return coefficients; }
	double topFrequency () const;

	double valueAt (double seconds) const;
	// h(m / rate) for m = 0 .. length-1; rate x period must be a whole number of samples and the
	// top harmonic must lie below half the rate.
	std::vector<double> sample (double rate, int length) const;

private:
	double periodSeconds;
	std::vector<std::complex<double>> coefficients;
};

} // namespace IrGen
} // namespace Veltrane
