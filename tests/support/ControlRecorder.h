// Records the listener calls a control makes, with its value for each change.
#pragma once

#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/controls/icontrollistener.h"

#include <string>
#include <vector>

namespace veltrane_test {

class ControlRecorder : public VSTGUI::IControlListener
{
public:
	void valueChanged (VSTGUI::CControl* c) override { events.push_back ("value " + std::to_string (c->getValue ())); }
	void controlBeginEdit (VSTGUI::CControl*) override { events.push_back ("begin"); }
	void controlEndEdit (VSTGUI::CControl*) override { events.push_back ("end"); }

	std::vector<std::string> events;
};

} // namespace veltrane_test
