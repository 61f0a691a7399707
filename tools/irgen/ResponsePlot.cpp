#include "tools/irgen/ResponsePlot.h"

#include <cairo.h>

#include <algorithm>
#include <cmath>
#include <complex>
#include <cstdio>
#include <memory>

namespace Veltrane {
namespace IrGen {

namespace {

constexpr int kWidth = 1200;
constexpr int kPanelHeight = 300;
constexpr int kHeight = 3 * kPanelHeight;
constexpr double kMargin = 60.0;
constexpr double kLowFrequency = 25.0;
constexpr double kHighFrequency = 20000.0;
constexpr double kTopDb = 15.0;
constexpr double kBottomDb = -60.0;

struct Colour
{
	double r, g, b;
};
constexpr Colour kColourA {0.1, 0.3, 0.8};
constexpr Colour kColourB {0.85, 0.35, 0.1};

struct Panel
{
	double left, top, width, height;
};

double powerAt (const std::vector<double>& table, double frequency, double rate)
{
	const std::complex<double> step = std::polar (1.0, -2.0 * std::acos (-1.0) * frequency / rate);
	std::complex<double> rotor = 1.0;
	std::complex<double> sum = 0.0;
	for (double v : table)
	{
		sum += v * rotor;
		rotor *= step;
	}
	return std::norm (sum);
}

double bandDb (const std::vector<double>& table, double low, double high, double rate)
{
	constexpr int kPoints = 48;
	double power = 0.0;
	for (int i = 0; i < kPoints; ++i)
		power += powerAt (table, low + (high - low) * (i + 0.5) / kPoints, rate);
	return 10.0 * std::log10 (power / kPoints);
}

// Third-octave levels (centres 100 Hz x 2^(n/3)) relative to the mean level from 1 to 5 kHz.
std::vector<std::pair<double, double>> thirdOctaves (const std::vector<double>& table, double rate)
{
	const double reference = bandDb (table, 1000.0, 5000.0, rate);
	const double sixth = std::pow (2.0, 1.0 / 6.0);
	std::vector<std::pair<double, double>> levels;
	for (int n = -6; n <= 23; ++n)
	{
		const double centre = 100.0 * std::pow (2.0, n / 3.0);
		levels.emplace_back (centre, bandDb (table, centre / sixth, centre * sixth, rate) - reference);
	}
	return levels;
}

void frame (cairo_t* cr, const Panel& panel, const char* title)
{
	cairo_set_source_rgb (cr, 0.6, 0.6, 0.6);
	cairo_set_line_width (cr, 1.0);
	cairo_rectangle (cr, panel.left, panel.top, panel.width, panel.height);
	cairo_stroke (cr);
	cairo_set_source_rgb (cr, 0.0, 0.0, 0.0);
	cairo_set_font_size (cr, 14.0);
	cairo_move_to (cr, panel.left, panel.top - 8.0);
	cairo_show_text (cr, title);
}

void label (cairo_t* cr, double x, double y, const char* text)
{
	cairo_set_source_rgb (cr, 0.2, 0.2, 0.2);
	cairo_set_font_size (cr, 11.0);
	cairo_move_to (cr, x, y);
	cairo_show_text (cr, text);
}

void drawResponse (cairo_t* cr, const Panel& panel, const std::vector<double>& table, double rate, Colour colour, const char* title)
{
	frame (cr, panel, title);
	const double scale = 1.0;
	const double middle = panel.top + panel.height / 2.0;
	const double duration = table.size () / rate;
	for (int ms = 0; ms <= static_cast<int> (duration * 1000.0); ms += 2)
	{
		char text[16];
		std::snprintf (text, sizeof (text), "%d ms", ms);
		label (cr, panel.left + panel.width * ms / 1000.0 / duration - 10.0, panel.top + panel.height + 14.0, text);
	}
	label (cr, panel.left - 30.0, panel.top + 10.0, "+1");
	label (cr, panel.left - 30.0, panel.top + panel.height, "-1");
	cairo_set_source_rgb (cr, colour.r, colour.g, colour.b);
	cairo_set_line_width (cr, 1.0);
	for (size_t i = 0; i < table.size (); ++i)
	{
		const double x = panel.left + panel.width * i / table.size ();
		const double y = middle - table[i] / scale * panel.height / 2.0;
		if (i == 0)
			cairo_move_to (cr, x, y);
		else
			cairo_line_to (cr, x, y);
	}
	cairo_stroke (cr);
}

void drawSpectra (cairo_t* cr, const Panel& panel, const std::vector<double>& a, const std::vector<double>& b, double rate)
{
	frame (cr, panel, "Third-octave levels, dB relative to each response's 1-5 kHz level");
	auto xOf = [&] (double f) {
		return panel.left + panel.width * std::log (f / kLowFrequency) / std::log (kHighFrequency / kLowFrequency);
	};
	auto yOf = [&] (double db) {
		return panel.top + panel.height * (kTopDb - std::clamp (db, kBottomDb, kTopDb)) / (kTopDb - kBottomDb);
	};
	cairo_set_source_rgb (cr, 0.85, 0.85, 0.85);
	for (double db = kBottomDb; db <= kTopDb; db += 10.0)
	{
		cairo_move_to (cr, panel.left, yOf (db));
		cairo_line_to (cr, panel.left + panel.width, yOf (db));
		cairo_stroke (cr);
		char text[16];
		std::snprintf (text, sizeof (text), "%+.0f", db);
		label (cr, panel.left - 32.0, yOf (db) + 4.0, text);
	}
	for (double f : {31.5, 63.0, 125.0, 250.0, 500.0, 1000.0, 2000.0, 4000.0, 8000.0, 16000.0})
	{
		char text[16];
		std::snprintf (text, sizeof (text), f < 1000.0 ? "%.0f" : "%.0fk", f < 1000.0 ? f : f / 1000.0);
		label (cr, xOf (f) - 8.0, panel.top + panel.height + 14.0, text);
	}
	for (const auto& [table, colour] : {std::make_pair (&a, kColourA), std::make_pair (&b, kColourB)})
	{
		cairo_set_source_rgb (cr, colour.r, colour.g, colour.b);
		cairo_set_line_width (cr, 2.0);
		bool first = true;
		for (const auto& [centre, db] : thirdOctaves (*table, rate))
		{
			if (centre > kHighFrequency)
				break;
			if (first)
				cairo_move_to (cr, xOf (centre), yOf (db));
			else
				cairo_line_to (cr, xOf (centre), yOf (db));
			first = false;
		}
		cairo_stroke (cr);
	}
}

} // namespace

ResponsePlot::ResponsePlot (std::vector<double> a, std::vector<double> b, double rate)
: tableA (std::move (a)), tableB (std::move (b)), sampleRate (rate)
{
}

bool ResponsePlot::writePng (const std::string& path) const
{
	std::unique_ptr<cairo_surface_t, decltype (&cairo_surface_destroy)> surface (
	    cairo_image_surface_create (CAIRO_FORMAT_RGB24, kWidth, kHeight), cairo_surface_destroy);
	std::unique_ptr<cairo_t, decltype (&cairo_destroy)> context (cairo_create (surface.get ()), cairo_destroy);
	cairo_t* cr = context.get ();
	cairo_set_source_rgb (cr, 1.0, 1.0, 1.0);
	cairo_paint (cr);
	cairo_select_font_face (cr, "sans-serif", CAIRO_FONT_SLANT_NORMAL, CAIRO_FONT_WEIGHT_NORMAL);

	const double width = kWidth - 2.0 * kMargin;
	const double height = kPanelHeight - 2.0 * kMargin + 20.0;
	char title[96];
	std::snprintf (title, sizeof (title), "Set A at %.0f Hz", sampleRate);
	drawResponse (cr, {kMargin, kMargin, width, height}, tableA, sampleRate, kColourA, title);
	std::snprintf (title, sizeof (title), "Set B at %.0f Hz", sampleRate);
	drawResponse (cr, {kMargin, kPanelHeight + kMargin, width, height}, tableB, sampleRate, kColourB, title);
	drawSpectra (cr, {kMargin, 2.0 * kPanelHeight + kMargin, width, height}, tableA, tableB, sampleRate);

	cairo_surface_flush (surface.get ());
	return cairo_surface_write_to_png (surface.get (), path.c_str ()) == CAIRO_STATUS_SUCCESS;
}

} // namespace IrGen
} // namespace Veltrane
