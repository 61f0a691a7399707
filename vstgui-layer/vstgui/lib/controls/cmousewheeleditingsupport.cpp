#include "vstgui/lib/controls/cmousewheeleditingsupport.h"

#include "vstgui/lib/controls/ccontrol.h"
#include "vstgui/lib/cvstguitimer.h"

namespace VSTGUI {

CMouseWheelEditingSupport::CMouseWheelEditingSupport () = default;

CMouseWheelEditingSupport::CMouseWheelEditingSupport (const CMouseWheelEditingSupport&)
{
}

CMouseWheelEditingSupport::~CMouseWheelEditingSupport () noexcept
{
	if (wheelEditTimer)
		wheelEditTimer->stop ();
}

void CMouseWheelEditingSupport::onMouseWheelEditing (CControl* control)
{
	// The wheel's edit is counted on its own, so that it neither ends nor is ended by another
	// edit of the control, such as a drag it happens during.
	if (!wheelEditTimer)
	{
		control->beginEdit ();
		wheelEditTimer = makeOwned<CVSTGUITimer> (
		    [this, control] (CVSTGUITimer*) { invalidMouseWheelEditTimer (control); }, kEditTimeout);
		return;
	}
	wheelEditTimer->stop ();
	wheelEditTimer->start ();
}

void CMouseWheelEditingSupport::invalidMouseWheelEditTimer (CControl* control)
{
	if (!wheelEditTimer)
		return;
	wheelEditTimer->stop ();
	wheelEditTimer = nullptr;
	control->endEdit ();
}

} // namespace VSTGUI
