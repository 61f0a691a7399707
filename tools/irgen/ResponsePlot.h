#pragma once

#include <string>
#include <vector>

namespace Veltrane {
namespace IrGen {

// Draws both responses (one band's tables) and their third-octave spectra into a PNG.
class ResponsePlot
{
public:
	ResponsePlot (std::vector<double> a, std::vector<double> b, double rate);

	// False when the file cannot be written.
	bool writePng (const std::string& path) const;

private:
	std::vector<double> tableA;
	std::vector<double> tableB;
	double sampleRate;
};

} // namespace IrGen
} // namespace Veltrane
