#include "vstgui/lib/controls/csliderbase.h"

#include "vstgui/lib/cvstguitimer.h"
#include "vstgui/lib/vstguidebug.h"

#include <algorithm>
#include <cmath>

namespace VSTGUI {

namespace {

// Shared by every slider of the process; read at each use, never cached.
CSliderMode globalMode = CSliderMode::KSFreeClick;

constexpr float kFineFactor = 0.1f;
constexpr float kRampStep = 0.1f;

bool hasOneOrientation (int32_t style)
{
	return ((style & kHorizontal) != 0) != ((style & kVertical) != 0);
}

} // namespace

struct CSliderBase::Impl
{
	SharedPointer<CVSTGUITimer> rampTimer;
	int32_t style {0};
	float zoomFactor {10.f};
	CSliderMode mode {CSliderMode::UseGlobal};
	CPoint offsetHandle;
	CPoint handleSize {1., 1.};
	CCoord rangeHandle {0.};
	CCoord minPos {0.};
	CCoord maxPos {0.};
	CCoord handleStart {0.};
	CPoint mouseStartPoint;
	float oldValue {0.f};
	float startValue {0.f};
	int32_t oldButton {0};
	CCoord delta {0.};
	bool dragging {false};
};

CSliderBase::CSliderBase (const CRect& size, IControlListener* listener, int32_t tag)
: CControl (size, listener, tag, nullptr), impl (std::make_unique<Impl> ())
{
}

// A running ramp and an open drag belong to the slider that was pressed, so the copy starts without.
CSliderBase::CSliderBase (const CSliderBase& slider)
: CControl (slider), CMouseWheelEditingSupport (slider), impl (std::make_unique<Impl> (*slider.impl))
{
	impl->rampTimer = nullptr;
	impl->dragging = false;
}

CSliderBase::~CSliderBase () noexcept
{
	if (impl->rampTimer)
		impl->rampTimer->stop ();
}

//------------------------------------------------------------------------
void CSliderBase::setSliderMode (CSliderMode mode)
{
	impl->mode = mode;
}

CSliderMode CSliderBase::getSliderMode () const
{
	return impl->mode;
}

CSliderMode CSliderBase::getEffectiveSliderMode () const
{
	return impl->mode == CSliderMode::UseGlobal ? globalMode : impl->mode;
}

void CSliderBase::setGlobalMode (CSliderMode mode)
{
	vstgui_assert (mode != CSliderMode::UseGlobal, "do not set the global mode to use global");
	globalMode = mode;
}

CSliderMode CSliderBase::getGlobalMode ()
{
	return globalMode;
}

//------------------------------------------------------------------------
void CSliderBase::setStyle (int32_t style)
{
	vstgui_assert (hasOneOrientation (style));
	impl->style = style;
}

int32_t CSliderBase::getStyle () const
{
	return impl->style;
}

bool CSliderBase::isStyleHorizontal () const
{
	return impl->style & kHorizontal;
}

bool CSliderBase::isStyleRight () const
{
	return impl->style & kRight;
}

bool CSliderBase::isStyleBottom () const
{
	return impl->style & kBottom;
}

bool CSliderBase::isInverseStyle () const
{
	return isStyleHorizontal () ? isStyleRight () : (impl->style & kTop) != 0;
}

// Values are placed from the far end for kRight or kBottom, whatever the orientation.
bool CSliderBase::isPositionInverted () const
{
	return impl->style & (kRight | kBottom);
}

void CSliderBase::setZoomFactor (float factor)
{
	impl->zoomFactor = factor;
}

float CSliderBase::getZoomFactor () const
{
	return impl->zoomFactor;
}

//------------------------------------------------------------------------
void CSliderBase::setOffsetHandle (const CPoint& offset)
{
	impl->offsetHandle = offset;
	updateHandleLimits ();
}

CPoint CSliderBase::getOffsetHandle () const
{
	return impl->offsetHandle;
}

void CSliderBase::setHandleSize (CCoord width, CCoord height)
{
	impl->handleSize = CPoint (width, height);
	updateHandleLimits ();
}

CPoint CSliderBase::getHandleSize () const
{
	return impl->handleSize;
}

void CSliderBase::setHandleRange (CCoord range)
{
	impl->rangeHandle = range;
	updateHandleLimits ();
}

void CSliderBase::setHandleStart (CCoord start)
{
	impl->handleStart = start;
	updateHandleLimits ();
}

CCoord CSliderBase::getHandleStart () const
{
	return impl->handleStart;
}

void CSliderBase::updateHandleLimits ()
{
	const bool horizontal = isStyleHorizontal ();
	impl->minPos = impl->handleStart + (horizontal ? impl->offsetHandle.x : impl->offsetHandle.y);
	impl->maxPos = impl->minPos + impl->rangeHandle + (horizontal ? impl->handleSize.x : impl->handleSize.y);
}

CPoint CSliderBase::getControlSize () const
{
	return getViewSize ().getSize ();
}

void CSliderBase::setViewSize (const CRect& rect, bool doInvalid)
{
	CControl::setViewSize (rect, doInvalid);
	const CRect& size = getViewSize ();
	if (isStyleHorizontal ())
	{
		impl->handleStart = rect.left - size.left;
		impl->rangeHandle = rect.getWidth () - impl->handleSize.x - 2. * impl->offsetHandle.x;
	}
	else
	{
		impl->handleStart = rect.top - size.top;
		impl->rangeHandle = rect.getHeight () - impl->handleSize.y - 2. * impl->offsetHandle.y;
	}
	updateHandleLimits ();
}

CRect CSliderBase::calculateHandleRect (float normValue) const
{
	if (isPositionInverted ())
		normValue = 1.f - normValue;
	const CCoord pos = std::floor (static_cast<double> (normValue) * impl->rangeHandle);
	const auto& offset = impl->offsetHandle;
	const auto& handle = impl->handleSize;
	CRect r;
	if (isStyleHorizontal ())
	{
		r.left = std::max (pos + offset.x, impl->minPos);
		r.top = offset.y;
		r.right = std::min (r.left + handle.x, impl->maxPos);
		r.bottom = r.top + handle.y;
	}
	else
	{
		r.top = std::max (pos + offset.y, impl->minPos);
		r.left = offset.x;
		r.bottom = std::min (r.top + handle.y, impl->maxPos);
		r.right = r.left + handle.x;
	}
	r.offset (getViewSize ().left, getViewSize ().top);
	return r;
}

//------------------------------------------------------------------------
CCoord CSliderBase::axisCoordinate (const CPoint& p) const
{
	return isStyleHorizontal () ? p.x : p.y;
}

// The delta that puts the handle's middle under the mouse.
// Where the travel of the handle's leading edge starts, along the axis.
CCoord CSliderBase::travelStart () const
{
	return isStyleHorizontal () ? getViewSize ().left + impl->offsetHandle.x
	                            : getViewSize ().top + impl->offsetHandle.y;
}

CCoord CSliderBase::freeClickOffset () const
{
	const CCoord size = isStyleHorizontal () ? impl->handleSize.x : impl->handleSize.y;
	return travelStart () + size / 2. - 1.;
}

// Without travel a position tells nothing about the value, so the value stays.
float CSliderBase::positionToValue (CCoord coordinate, CCoord handleDelta) const
{
	if (impl->rangeHandle == 0.)
		return getValueNormalized ();
	float v = static_cast<float> (coordinate - handleDelta) / static_cast<float> (impl->rangeHandle);
	return isPositionInverted () ? 1.f - v : v;
}

float CSliderBase::calculateDelta (const CPoint& where, CRect* handleRect) const
{
	const auto mode = getEffectiveSliderMode ();
	if (mode == CSliderMode::FreeClick)
		return static_cast<float> (freeClickOffset ());

	const bool horizontal = isStyleHorizontal ();
	const CRect& size = getViewSize ();
	const CCoord base = travelStart ();
	float v = getValueNormalized ();
	if (isPositionInverted ())
		v = 1.f - v;
	const CCoord pos = base + std::trunc (static_cast<double> (v) * impl->rangeHandle);

	CRect rect;
	if (horizontal)
		rect = CRect (pos, size.top + impl->offsetHandle.y, pos + impl->handleSize.x,
		              size.top + impl->offsetHandle.y + impl->handleSize.y);
	else
		rect = CRect (size.left + impl->offsetHandle.x, pos, size.left + impl->offsetHandle.x + impl->handleSize.x,
		              pos + impl->handleSize.y);
	if (handleRect)
		*handleRect = rect;

	const CCoord grabOffset = base + (axisCoordinate (where) - pos);
	if (mode == CSliderMode::KSFreeClick && !rect.pointInside (where))
		return static_cast<float> (freeClickOffset ());
	return static_cast<float> (grabOffset);
}

void CSliderBase::notifyIfDirty ()
{
	if (isDirty ())
	{
		valueChanged ();
		invalid ();
	}
}

//------------------------------------------------------------------------
CMouseEventResult CSliderBase::onMouseDown (CPoint& where, const CButtonState& buttons)
{
	if (!(buttons & kLButton))
		return kMouseEventNotHandled;

	invalidMouseWheelEditTimer (this);
	// A drag whose release never came is closed before a new one opens.
	if (impl->dragging)
		endDrag ();

	const auto mode = getEffectiveSliderMode ();
	CRect handleRect;
	impl->delta = calculateDelta (where, mode != CSliderMode::FreeClick ? &handleRect : nullptr);
	const bool onHandle = handleRect.pointInside (where);
	if (mode == CSliderMode::Touch && !onHandle)
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;

	impl->oldValue = getMin () - 1.f;
	impl->oldButton = buttons ();

	const bool relativeBeside = mode == CSliderMode::RelativeTouch && !onHandle;
	if (!relativeBeside && checkDefaultValue (buttons))
		return kMouseDownEventHandledButDontNeedMovedOrUpEvents;

	if (mode == CSliderMode::Ramp && !onHandle)
	{
		if (impl->rampTimer)
			impl->rampTimer->stop ();
		impl->rampTimer = makeOwned<CVSTGUITimer> ([this] (CVSTGUITimer*) { doRamping (); }, kRampPeriod);
	}

	impl->startValue = getValue ();
	beginEdit ();
	impl->dragging = true;
	impl->mouseStartPoint = where;

	// With the zoom modifier the value waits for the first move, so a press never jumps.
	if (buttons & kZoomModifier)
		return kMouseEventHandled;
	return onMouseMoved (where, buttons);
}

CMouseEventResult CSliderBase::onMouseMoved (CPoint& where, const CButtonState& buttons)
{
	if (!buttons.isLeftButton () || !impl->dragging)
		return kMouseEventNotHandled;

	if (impl->rampTimer)
	{
		impl->mouseStartPoint = where;
		return kMouseEventHandled;
	}

	// The stored value relative to the range; an empty range counts as 0 instead of dividing by zero.
	const float normValue = getValueNormalized ();
	const bool zoom = buttons & kZoomModifier;
	if (impl->oldValue == getMin () - 1.f)
		impl->oldValue = normValue;
	// The fine-drag anchor is taken when the zoom modifier goes down and stays while it is held.
	// Without the modifier the buttons are remembered too, so that pressing it again re-anchors
	// at the current value instead of an old one.
	if (buttons () != impl->oldButton && zoom)
	{
		impl->oldValue = normValue;
		impl->oldButton = buttons ();
	}
	else if (!zoom)
	{
		impl->oldValue = normValue;
		impl->oldButton = buttons ();
	}

	float v = positionToValue (axisCoordinate (where), impl->delta);
	// A zoom factor that is not positive (a bad UI description) gives no fine drag, never NaN.
	if (zoom && impl->zoomFactor > 0.f)
		v = impl->oldValue + ((v - impl->oldValue) / impl->zoomFactor);
	setValueNormalized (v);
	notifyIfDirty ();
	return kMouseEventHandled;
}

void CSliderBase::endDrag ()
{
	impl->oldButton = 0;
	if (impl->rampTimer)
	{
		impl->rampTimer->stop ();
		impl->rampTimer = nullptr;
	}
	impl->dragging = false;
	endEdit ();
}

CMouseEventResult CSliderBase::onMouseUp (CPoint&, const CButtonState&)
{
	if (impl->dragging)
		endDrag ();
	return kMouseEventHandled;
}

// Closes the wheel's edit as well as the drag's: a wheel event right after it opens a new edit
// instead of changing the value outside one.
CMouseEventResult CSliderBase::onMouseCancel ()
{
	if (isEditing ())
	{
		value = impl->startValue;
		notifyIfDirty ();
		invalidMouseWheelEditTimer (this);
		if (impl->dragging)
			endDrag ();
	}
	return kMouseEventHandled;
}

void CSliderBase::doRamping ()
{
	const float normValue = getValueNormalized ();
	const CRect r = calculateHandleRect (normValue);
	const bool horizontal = isStyleHorizontal ();
	const CCoord middle = horizontal ? r.left + r.getWidth () * 0.5 : r.top + r.getHeight () * 0.5;
	const CCoord mouse = axisCoordinate (impl->mouseStartPoint);

	// Horizontal values grow to the right, vertical ones upwards, unless the style turns them round.
	float step = horizontal ? (middle > mouse ? -kRampStep : kRampStep) : (middle > mouse ? kRampStep : -kRampStep);
	if (isInverseStyle ())
		step = -step;

	const CCoord offset = freeClickOffset ();
	const float target = positionToValue (mouse, offset);
	float next = normValue + getWheelInc () * step;
	if ((step < 0.f && target > next) || (step > 0.f && target < next))
	{
		// The handle has reached the mouse: from here a drag keeps its middle under the mouse.
		impl->rampTimer->stop ();
		impl->rampTimer = nullptr;
		impl->delta = offset;
		next = target;
	}
	setValueNormalized (next);
	notifyIfDirty ();
}

//------------------------------------------------------------------------
bool CSliderBase::onWheel (const CPoint&, const CMouseWheelAxis& axis, const float& distance,
                           const CButtonState& buttons)
{
	if (!getMouseEnabled ())
		return false;
	const bool horizontal = isStyleHorizontal ();
	if (horizontal != (axis == kMouseWheelAxisX))
		return false;

	// A wheel run that opens the edit is what Escape reverts, not some earlier press.
	if (!isEditing ())
		impl->startValue = getValue ();
	onMouseWheelEditing (this);

	float d = distance;
	if (horizontal)
		d = -d;
	if (isInverseStyle ())
		d = -d;
	if (buttons & kZoomModifier)
		d *= kFineFactor;
	setValueNormalized (getValueNormalized () + getWheelInc () * d);
	if (isDirty ())
	{
		invalid ();
		valueChanged ();
	}
	return true;
}

int32_t CSliderBase::onKeyDown (VstKeyCode& keyCode)
{
	float step;
	switch (keyCode.virt)
	{
		case VKEY_UP:
		case VKEY_RIGHT:
			step = 1.f;
			break;
		case VKEY_DOWN:
		case VKEY_LEFT:
			step = -1.f;
			break;
		case VKEY_ESCAPE:
			if (!isEditing ())
				return -1;
			onMouseCancel ();
			return 1;
		default:
			return -1;
	}
	if (isInverseStyle ())
		step = -step;
	if (mapVstKeyModifier (keyCode.modifier) & kZoomModifier)
		step *= kFineFactor;
	setValueNormalized (getValueNormalized () + getWheelInc () * step);
	if (isDirty ())
	{
		invalid ();
		beginEdit ();
		valueChanged ();
		endEdit ();
	}
	return 1;
}

} // namespace VSTGUI
