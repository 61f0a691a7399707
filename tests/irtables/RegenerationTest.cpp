// The committed tables are exactly what the generator makes of its design.
#include "plugin/processor/ImpulseTables.h"
#include "tools/irgen/ImpulseTableSet.h"
#include "tools/irgen/TableSourceWriter.h"

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

namespace Veltrane {
namespace {

using namespace Steinberg::Vst;

class Regeneration : public ::testing::Test
{
protected:
	static void SetUpTestSuite () { generated = new std::vector<double> (IrGen::ImpulseTableSet ().values ()); }
	static void TearDownTestSuite ()
	{
		delete generated;
		generated = nullptr;
	}
	static std::vector<double>* generated;
};

std::vector<double>* Regeneration::generated = nullptr;

TEST_F (Regeneration, givesTheCommittedValues)
{
	ASSERT_EQ (generated->size (), static_cast<size_t> (kImpulseTableTotal));
	int differing = 0;
	for (int i = 0; i < kImpulseTableTotal; ++i)
		if ((*generated)[i] != kImpulseTableData[i])
			++differing;
	EXPECT_EQ (differing, 0) << "run the irgen_update target and commit the result";
}

TEST_F (Regeneration, givesTheCommittedSourceText)
{
	std::ifstream file (VELTRANE_SOURCE_DIR "/plugin/processor/ImpulseTables.cpp", std::ios::binary);
	ASSERT_TRUE (file.is_open ());
	std::stringstream text;
	text << file.rdbuf ();
	EXPECT_TRUE (text.str () == IrGen::TableSourceWriter::write (*generated)) << "run the irgen_update target";
}

TEST (TableValue, roundsToSinglePrecisionAndNeverGivesZero)
{
	EXPECT_EQ (IrGen::ImpulseTableSet::toTableValue (0.1), static_cast<double> (0.1f));
	EXPECT_GT (IrGen::ImpulseTableSet::toTableValue (1e-50), 0.0);
	EXPECT_LT (IrGen::ImpulseTableSet::toTableValue (-1e-50), 0.0);
	EXPECT_GT (IrGen::ImpulseTableSet::toTableValue (0.0), 0.0);
	EXPECT_LT (IrGen::ImpulseTableSet::toTableValue (-0.0), 0.0);
}

} // namespace
} // namespace Veltrane
