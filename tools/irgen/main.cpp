// veltrane_irgen: designs the decorrelation responses and writes the processor's table source
// and a plot of both responses.
#include "plugin/processor/ImpulseTables.h"
#include "tools/irgen/ImpulseTableSet.h"
#include "tools/irgen/ResponsePlot.h"
#include "tools/irgen/TableSourceWriter.h"

#include <cstdio>
#include <fstream>
#include <vector>

int main (int argc, char** argv)
{
	using namespace Veltrane::IrGen;
	if (argc != 3)
	{
		std::fprintf (stderr, "usage: %s <ImpulseTables.cpp to write> <plot.png to write>\n", argv[0]);
		return 2;
	}
	const ImpulseTableSet tables;
	const auto values = tables.values ();

	std::ofstream source (argv[1], std::ios::binary);
	source << TableSourceWriter::write (values);
	if (!source.flush ())
	{
		std::fprintf (stderr, "cannot write %s\n", argv[1]);
		return 1;
	}

	// Band 0 of each set: A0 is at the start, B0 follows A5.
	const int length = Steinberg::Vst::kImpulseTableLengths[0];
	const auto b0 = values.begin () + Steinberg::Vst::kImpulseTableTotal / 2;
	const ResponsePlot plot (std::vector<double> (values.begin (), values.begin () + length),
	                         std::vector<double> (b0, b0 + length), ImpulseTableSet::kBandRates[0]);
	if (!plot.writePng (argv[2]))
	{
		std::fprintf (stderr, "cannot write %s\n", argv[2]);
		return 1;
	}
	return 0;
}
