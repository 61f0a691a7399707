#include "tools/irgen/Fft.h"

#include <cmath>
#include <stdexcept>

namespace Veltrane {
namespace IrGen {

Fft::Fft (int size) : n (size), bitReversed (size), twiddles (size / 2)
{
	if (size < 2 || (size & (size - 1)) != 0)
		throw std::invalid_argument ("FFT size must be a power of two");
	int bits = 0;
	while ((1 << bits) < n)
		++bits;
	for (int i = 0; i < n; ++i)
	{
		int r = 0;
		for (int b = 0; b < bits; ++b)
			r |= ((i >> b) & 1) << (bits - 1 - b);
		bitReversed[i] = r;
	}
	const double pi = std::acos (-1.0);
	for (int k = 0; k < n / 2; ++k)
		twiddles[k] = std::polar (1.0, -2.0 * pi * k / n);
}

void Fft::forward (std::vector<std::complex<double>>& data) const
{
	transform (data, false);
}

void Fft::inverse (std::vector<std::complex<double>>& data) const
{
	transform (data, true);
}

void Fft::transform (std::vector<std::complex<double>>& data, bool inverse) const
{
	if (static_cast<int> (data.size ()) != n)
		throw std::invalid_argument ("FFT data has the wrong size");
	for (int i = 0; i < n; ++i)
		if (i < bitReversed[i])
			std::swap (data[i], data[bitReversed[i]]);
	for (int half = 1; half < n; half *= 2)
	{
		const int stride = n / (2 * half);
		for (int start = 0; start < n; start += 2 * half)
		{
			for (int j = 0; j < half; ++j)
			{
				auto w = twiddles[j * stride];
				if (inverse)
					w = std::conj (w);
				const auto odd = w * data[start + j + half];
				data[start + j + half] = data[start + j] - odd;
				data[start + j] += odd;
			}
		}
	}
}

} // namespace IrGen
} // namespace Veltrane
