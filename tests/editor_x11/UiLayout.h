// Where the views of the editor's template lie, read from the bundle's UI description, so that
// the test presses where the user would see each control.
#pragma once

#include "TestDisplay.h"

#include <string>
#include <vector>

struct LaidOutView
{
	std::string viewClass;
	int tag; // -1 without a control tag
	ScreenArea area; // in the editor's coordinates
};

class UiLayout
{
public:
	/** Reads the template "view" of the file; empty when the file cannot be read. */
	explicit UiLayout (const std::string& path);

	const std::vector<LaidOutView>& getViews () const { return views; }
	/** Every view of the class, with the tag if tag is not -1, in the file's order. */
	std::vector<LaidOutView> find (const std::string& viewClass, int tag = -1) const;

private:
	std::vector<LaidOutView> views;
};
