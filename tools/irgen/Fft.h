#pragma once

#include <complex>
#include <vector>

namespace Veltrane {
namespace IrGen {

// In-place radix-2 complex FFT of one fixed power-of-two size.
class Fft
{
public:
	explicit Fft (int size);

	int size () const { return n; }
	// X[k] = sum x[j] e^(-2 pi i jk/n); no scaling.
	void forward (std::vector<std::complex<double>>& data) const;
	// x[j] = sum X[k] e^(+2 pi i jk/n); no scaling.
	void inverse (std::vector<std::complex<double>>& data) const;

private:
	void transform (std::vector<std::complex<double>>& data, bool inverse) const;

	int n;
	std::vector<int> bitReversed;
	std::vector<std::complex<double>> twiddles;
};

} // namespace IrGen
} // namespace Veltrane
