#include "tools/irgen/CoefficientFit.h"

#include <cmath>
#include <stdexcept>
#include <utility>

namespace Veltrane {
namespace IrGen {

namespace {

constexpr double kStep = 1e-7;

// Solves m x = v by Gaussian elimination with partial pivoting; m is square and is destroyed.
std::vector<double> solveLinear (std::vector<std::vector<double>> m, std::vector<double> v)
{
	const size_t n = v.size ();
	for (size_t c = 0; c < n; ++c)
	{
		size_t pivot = c;
		for (size_t r = c + 1; r < n; ++r)
			if (std::fabs (m[r][c]) > std::fabs (m[pivot][c]))
				pivot = r;
		std::swap (m[c], m[pivot]);
		std::swap (v[c], v[pivot]);
		if (m[c][c] == 0.0)
			throw std::runtime_error ("singular normal equations");
		for (size_t r = c + 1; r < n; ++r)
		{
			const double f = m[r][c] / m[c][c];
			for (size_t k = c; k < n; ++k)
				m[r][k] -= f * m[c][k];
			v[r] -= f * v[c];
		}
	}
	std::vector<double> x (n);
	for (size_t i = n; i-- > 0;)
	{
		double s = v[i];
		for (size_t k = i + 1; k < n; ++k)
			s -= m[i][k] * x[k];
		x[i] = s / m[i][i];
	}
	return x;
}

} // namespace

CoefficientFit::CoefficientFit (Residuals residuals, int iterations)
: residualsOf (std::move (residuals)), maxIterations (iterations)
{
}

double CoefficientFit::cost (const std::vector<double>& residuals)
{
	double sum = 0.0;
	for (double r : residuals)
		sum += r * r;
	return sum;
}

std::vector<std::vector<double>> CoefficientFit::jacobian (const std::vector<double>& x, const std::vector<double>& r) const
{
	std::vector<std::vector<double>> columns (x.size ());
	auto moved = x;
	for (size_t j = 0; j < x.size (); ++j)
	{
		moved[j] = x[j] + kStep;
		const auto shifted = residualsOf (moved);
		moved[j] = x[j];
		columns[j].resize (r.size ());
		for (size_t i = 0; i < r.size (); ++i)
			columns[j][i] = (shifted[i] - r[i]) / kStep;
	}
	return columns;
}

std::vector<double> CoefficientFit::solve (std::vector<double> x) const
{
	auto r = residualsOf (x);
	double current = cost (r);
	double damping = 1e-3;
	const size_t n = x.size ();
	for (int iteration = 0; iteration < maxIterations; ++iteration)
	{
		const auto columns = jacobian (x, r);
		std::vector<std::vector<double>> normal (n, std::vector<double> (n, 0.0));
		std::vector<double> gradient (n, 0.0);
		for (size_t a = 0; a < n; ++a)
		{
			for (size_t i = 0; i < r.size (); ++i)
				gradient[a] -= columns[a][i] * r[i];
			for (size_t b = a; b < n; ++b)
			{
				double s = 0.0;
				for (size_t i = 0; i < r.size (); ++i)
					s += columns[a][i] * columns[b][i];
				normal[a][b] = normal[b][a] = s;
			}
		}
		bool improved = false;
		for (int attempt = 0; attempt < 12 && !improved; ++attempt)
		{
			auto damped = normal;
			for (size_t a = 0; a < n; ++a)
				damped[a][a] += damping * normal[a][a] + 1e-12;
			const auto step = solveLinear (damped, gradient);
			auto candidate = x;
			for (size_t a = 0; a < n; ++a)
				candidate[a] += step[a];
			const auto candidateResiduals = residualsOf (candidate);
			const double candidateCost = cost (candidateResiduals);
			if (candidateCost < current)
			{
				x = candidate;
				r = candidateResiduals;
				current = candidateCost;
				damping = std::max (1e-9, damping / 3.0);
				improved = true;
			}
			else
				damping *= 4.0;
		}
		if (!improved)
			break;
	}
	return x;
}

} // namespace IrGen
} // namespace Veltrane
