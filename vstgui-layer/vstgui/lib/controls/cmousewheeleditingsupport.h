// Stands in for VSTGUI's wheel-edit grouping of controls (part of vstgui/lib/controls/ccontrol.h).
#pragma once

#include "vstgui/lib/vstguibase.h"

namespace VSTGUI {

class CControl;
class CVSTGUITimer;

/** Groups a run of wheel events into one edit that a timer closes after a pause. */
class CMouseWheelEditingSupport
{
public:
	static constexpr uint32_t kEditTimeout = 500;

protected:
	CMouseWheelEditingSupport ();
	// A copy starts without a pending wheel edit.
	CMouseWheelEditingSupport (const CMouseWheelEditingSupport&);
	CMouseWheelEditingSupport& operator= (const CMouseWheelEditingSupport&) = delete;
	~CMouseWheelEditingSupport () noexcept;

	/** Opens the wheel's own edit unless it is open, and (re)arms the timer that closes it. */
	void onMouseWheelEditing (CControl* control);
	/** Drops the timer and closes the wheel's edit if it is open. */
	void invalidMouseWheelEditTimer (CControl* control);

private:
	SharedPointer<CVSTGUITimer> wheelEditTimer;
};

} // namespace VSTGUI
