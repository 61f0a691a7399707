#pragma once

#include <functional>
#include <vector>

namespace Veltrane {
namespace IrGen {

// Finds the coefficients that bring a set of weighted residuals closest to zero in the least
// squares sense: Levenberg-Marquardt steps on a numerical Jacobian. Meant for a few dozen
// coefficients; the normal equations are solved densely.
class CoefficientFit
{
public:
	using Residuals = std::function<std::vector<double> (const std::vector<double>& coefficients)>;

	CoefficientFit (Residuals residuals, int iterations);

	std::vector<double> solve (std::vector<double> start) const;

	static double cost (const std::vector<double>& residuals);

private:
	std::vector<std::vector<double>> jacobian (const std::vector<double>& x, const std::vector<double>& r) const;

	Residuals residualsOf;
	int maxIterations;
};

} // namespace IrGen
} // namespace Veltrane
