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
	if (!wheelEditTimer)
	{
		if (!control->isEditing ())
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
	if (wheelEditTimer)
	{
		wheelEditTimer->stop ();
		wheelEditTimer = nullptr;
	}
	if (control->isEditing ())
		control->endEdit ();
}

} // namespace VSTGUI
