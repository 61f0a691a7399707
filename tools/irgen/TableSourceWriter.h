#pragma once

#include <string>
#include <vector>

namespace Veltrane {
namespace IrGen {

// Writes the C++ source that holds the twelve tables as the processor's constant data.
class TableSourceWriter
{
public:
	// values: A0..A5 then B0..B5, every one a single-precision number.
	static std::string write (const std::vector<double>& values);
};

} // namespace IrGen
} // namespace Veltrane
