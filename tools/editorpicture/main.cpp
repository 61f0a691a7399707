// Draws the editor as a host opens it, with every parameter at its default, into a PNG file.
#include "plugin/controller/PlugController.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/plugin-bindings/vst3editor.h"

#include <cairo.h>

#include <cstdio>
#include <filesystem>
#include <string>

int main (int argc, char* argv[])
{
	if (argc != 3)
	{
		std::fprintf (stderr, "usage: editorpicture <plug.uidesc> <out.png>\n");
		return 2;
	}
	Steinberg::Vst::HostApplication host;
	auto controller = Steinberg::owned (new Steinberg::Vst::PlugController);
	controller->initialize (&host);
	// The editor looks for a relative name among the bundle's resources.
	const std::string description = std::filesystem::absolute (argv[1]).string ();
	auto editor = Steinberg::owned (new VSTGUI::VST3Editor (controller, "view", description.c_str ()));
	Steinberg::ViewRect size;
	editor->getSize (&size);
	if (!editor->open ())
	{
		std::fprintf (stderr, "editorpicture: cannot build the editor from %s\n", argv[1]);
		return 1;
	}
	cairo_surface_t* surface = cairo_image_surface_create (CAIRO_FORMAT_ARGB32, size.getWidth (), size.getHeight ());
	{
		auto context = VSTGUI::owned (new VSTGUI::CDrawContext (surface));
		editor->getFrame ()->draw (context);
	}
	const cairo_status_t written = cairo_surface_write_to_png (surface, argv[2]);
	cairo_surface_destroy (surface);
	editor->close ();
	controller->terminate ();
	if (written != CAIRO_STATUS_SUCCESS)
	{
		std::fprintf (stderr, "editorpicture: cannot write %s\n", argv[2]);
		return 1;
	}
	return 0;
}
