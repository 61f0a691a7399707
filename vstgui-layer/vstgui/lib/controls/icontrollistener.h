// Stands in for VSTGUI's control listener interface (vstgui/lib/controls/icontrollistener.h).
#pragma once

namespace VSTGUI {

class CControl;

class IControlListener
{
public:
	virtual ~IControlListener () noexcept = default;

	virtual void valueChanged (CControl* control) = 0;
	virtual void controlBeginEdit (CControl*) {}
	virtual void controlEndEdit (CControl*) {}
};

} // namespace VSTGUI
