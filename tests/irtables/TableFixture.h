#pragma once

#include "tools/irgen/TableMeasure.h"
#include "plugin/processor/ImpulseTables.h"

#include <string>
#include <vector>

namespace Veltrane {

using IrGen::TableMeasure;

constexpr double kBandRates[Steinberg::Vst::kNumImpulseBands] = {44100.0, 48000.0, 88200.0, 96000.0, 176400.0, 192000.0};

// Table of a set ('A' or 'B') and band, as stored in the processor's constant data.
inline TableMeasure committedTable (char set, int band)
{
	using namespace Steinberg::Vst;
	int offset = set == 'A' ? 0 : kImpulseTableTotal / 2;
	for (int k = 0; k < band; ++k)
		offset += kImpulseTableLengths[k];
	return TableMeasure (kImpulseTableData + offset, kImpulseTableLengths[band], kBandRates[band]);
}

inline std::string tableName (char set, int band)
{
	return std::string (1, set) + std::to_string (band);
}

} // namespace Veltrane
