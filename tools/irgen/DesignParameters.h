#pragma once

#include <cstdint>

namespace Veltrane {
namespace IrGen {

// Everything that fixes the two responses. Times in seconds, frequencies in hertz; levels are
// sample values at the reference rate, where the energy and sum figures hold.
struct DesignParameters
{
	std::uint64_t seed = 2;
	int iterations = 200;

	double period = 0.1;         // of the Fourier series; the responses have died out long before
	double topFrequency = 20000.0;
	int designLength = 8192;     // samples per period while designing
	double referenceRate = 44100.0;

	// Set A timing: a quiet lead-in, a sharp onset with the peak, an exponential body, then a
	// slow smooth tail that the table end cuts off.
	double leadLevel = 0.034;     // rms of the lead-in just before the onset
	double leadRiseDb = 12.0;     // how much the lead-in grows over its length
	double leadBandwidth = 15400.0;
	double onset = 5.85e-3;
	double onsetRamp = 0.1e-3;
	double peakTime = 6.0e-3;
	double peakValue = 0.85;
	double noiseLimit = 0.8;      // no other sample above this share of the peak
	double bodyDecay = 1.6e-3;    // time constant of the body's rms envelope
	double bodyEnd = 10.5e-3;
	double bodyFade = 1.5e-3;
	double tailReferenceTime = 21.32e-3;
	double tailValue = 0.0008;
	double tailDecay = 7.5e-3;
	double tailStart = 9e-3;
	double tailRise = 3e-3;
	double tailEnd = 40e-3;
	double envelopeWindow = 0.3e-3;
	double sumBumpLength = 10e-3;
	double finalShapeFrom = 50.0;

	double energyA = 4.85;
	double sumA = 2.90;
	double sumAim = 0.93; // the final band levelling raises the sum a little

	// Set B: set A through a colouring filter.
	double resonance = 126.0;
	double resonanceQ = 3.0;
	double dip1 = 500.0;
	double dip1Q = 2.0;
	double dip1Db = -6.0;
	double dip2 = 1000.0;
	double dip2Q = 2.0;
	double dip2Db = -6.0;
	double dip3 = 7500.0;
	double dip3Q = 1.5;
	double dip3Db = -15.0;
	double lowPass = 6700.0;
	double notch = 12500.0;
	double notch2 = 13200.0;
	double notchQ = 1.5;
	double colourAdvance = 11e-6; // moves B against A, which sets their correlation at lag zero

	// What the final fits aim at, for the first table of each rate family (44.1 and 48 kHz):
	// set A's sum; set B's peak, sum and energy.
	struct FamilyFigures
	{
		double sumA;
		double peakB;
		int peakIndexB;
		double sumB;
		double energyB;
	};
	FamilyFigures families[2] = {{2.90, 0.591, 288, -0.49, 4.98}, {3.15, 0.584, 314, -0.52, 5.42}};

	// Set A's low end: smooth bumps in the body that level the bands up to lowEndTop.
	double lowEndFirst = 7e-3;
	double lowEndSpacing = 1.5e-3;
	int lowEndBumps = 5;
	double lowEndWidth = 1.5e-3;
	double lowEndTop = 400.0;

	// Set B's peak: where and how high (families), and how near the rest may come to it. Set A's
	// design aims A through the colouring filter at it, by a regularised inverse of the filter
	// (its floor against the filter's largest power) taken peakRelaxation times per iteration.
	double peakWindow = 0.2e-3; // around the peak's time, values may come near the peak
	double peakNear = 1.03;     // share of the peak allowed there
	double peakFar = 0.95;      // and everywhere else
	double inverseFloor = 0.05;
	double peakRelaxation = 2.0;

	// Set B's correction, through the colouring filter's shape without its high-pass: narrow bumps
	// that settle the early body, a broad one in the body and one near the end, where the two
	// families' tables differ, for the sums.
	double peakShapeFirst = 5.9e-3;
	double peakShapeSpacing = 0.08e-3;
	int peakShapeBumps = 51;
	double peakShapeWidth = 0.05e-3;
	double sumBump = 15e-3;
	double sumBumpWidth = 2e-3;
	double endBump = 22.3e-3;
	double endBumpWidth = 0.5e-3;

	// The pair: correlation at lag zero, and the largest one with its lag (B later than A).
	double correlationAtZero = 0.03;
	double crossCorrelation = 0.58;
	double crossLag = 0.09e-3;
	int fitIterations = 80;
};

} // namespace IrGen
} // namespace Veltrane
