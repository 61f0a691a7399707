#include "vstgui/lib/controls/ccontrol.h"

#include "vstgui/lib/controls/icontrollistener.h"
#include "vstgui/lib/vstguidebug.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

int32_t CControl::kZoomModifier = kShift;
int32_t CControl::kDefaultValueModifier = kAlt;

CControl::CControl (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* background)
: CView (size), tag (tag), listener (listener)
{
	setBackground (background);
}

// The copy keeps the main listener but neither the registered ones nor an open edit.
CControl::CControl (const CControl& control)
: CView (control)
, value (control.value)
, vmin (control.vmin)
, vmax (control.vmax)
, defaultValue (control.defaultValue)
, oldValue (control.oldValue)
, wheelInc (control.wheelInc)
, tag (control.tag)
, listener (control.listener)
{
}

CControl::~CControl () noexcept = default;

void CControl::setValue (float val)
{
	value = std::clamp (val, getMin (), getMax ());
}

void CControl::setValueNormalized (float val)
{
	if (std::isnan (val))
		val = 0.f;
	val = std::clamp (val, 0.f, 1.f);
	setValue (getMin () + getRange () * val);
}

float CControl::getValueNormalized () const
{
	const float range = getRange ();
	if (range == 0.f)
		return 0.f;
	return (getValue () - getMin ()) / range;
}

bool CControl::checkDefaultValue (CButtonState button)
{
	if (!button.isLeftButton () || button.getModifierState () != kDefaultValueModifier)
		return false;
	if (getDefaultValue () != getValue ())
	{
		beginEdit ();
		setValue (getDefaultValue ());
		valueChanged ();
		endEdit ();
	}
	return true;
}

// A listener may unregister itself while it is told.
template <class Call>
void CControl::notifyListeners (Call call)
{
	if (listener)
		call (listener);
	const auto listeners = subListeners;
	for (auto l : listeners)
		if (std::find (subListeners.begin (), subListeners.end (), l) != subListeners.end ())
			call (l);
}

void CControl::valueChanged ()
{
	notifyListeners ([this] (IControlListener* l) { l->valueChanged (this); });
}

void CControl::beginEdit ()
{
	if (++editing == 1)
		notifyListeners ([this] (IControlListener* l) { l->controlBeginEdit (this); });
}

void CControl::endEdit ()
{
	vstgui_assert (editing > 0, "endEdit without beginEdit");
	if (editing == 0)
		return;
	if (--editing == 0)
		notifyListeners ([this] (IControlListener* l) { l->controlEndEdit (this); });
}

void CControl::registerControlListener (IControlListener* controlListener)
{
	if (std::find (subListeners.begin (), subListeners.end (), controlListener) == subListeners.end ())
		subListeners.push_back (controlListener);
}

void CControl::unregisterControlListener (IControlListener* controlListener)
{
	subListeners.erase (std::remove (subListeners.begin (), subListeners.end (), controlListener),
	                    subListeners.end ());
}

bool CControl::isDirty () const
{
	return oldValue != value || CView::isDirty ();
}

void CControl::setDirty (bool state)
{
	CView::setDirty (state);
	// A dirty control forgets the value last drawn; a clean one has just drawn the current value.
	oldValue = state ? (value != -1.f ? -1.f : 0.f) : value;
}

int32_t CControl::mapVstKeyModifier (int32_t vstModifier)
{
	int32_t modifiers = 0;
	if (vstModifier & MODIFIER_SHIFT)
		modifiers |= kShift;
	if (vstModifier & MODIFIER_ALTERNATE)
		modifiers |= kAlt;
	if (vstModifier & MODIFIER_COMMAND)
		modifiers |= kApple;
	if (vstModifier & MODIFIER_CONTROL)
		modifiers |= kControl;
	return modifiers;
}

} // namespace VSTGUI
