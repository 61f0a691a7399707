#pragma once

#include "vstgui/lib/controls/ccontrol.h"

#include <memory>

namespace VSTGUI {

/** How a press and a drag move a slider's handle. */
enum class CSliderMode : int32_t
{
	Touch,         // only a press on the handle moves it, grabbed where pressed
	RelativeTouch, // a press anywhere moves the value relative to its start
	FreeClick,     // the handle's middle jumps to the press
	KSFreeClick,   // a press on the handle grabs it; elsewhere the handle's middle jumps to the press
	Ramp,          // a press beside the handle steps the value towards it
	UseGlobal,     // follow the process-wide mode
};

/** A control whose handle moves along one axis; subclasses draw it. */
class CSliderBase : public CControl, protected CMouseWheelEditingSupport
{
public:
	~CSliderBase () noexcept override;

	//---mode
	void setSliderMode (CSliderMode mode);
	CSliderMode getSliderMode () const;
	/** The own mode, or the global one while the own mode is UseGlobal. */
	CSliderMode getEffectiveSliderMode () const;
	static void setGlobalMode (CSliderMode mode);
	static CSliderMode getGlobalMode ();

	//---style
	void setStyle (int32_t style);
	int32_t getStyle () const;
	bool isStyleHorizontal () const;
	bool isStyleRight () const;
	bool isStyleBottom () const;
	/** Steps of keys, wheel and ramp run backwards: kRight when horizontal, kTop otherwise. */
	bool isInverseStyle () const;

	void setZoomFactor (float factor);
	float getZoomFactor () const;

	//---handle geometry; every setter refreshes the limits
	void setOffsetHandle (const CPoint& offset);
	CPoint getOffsetHandle () const;
	void setHandleSize (CCoord width, CCoord height);
	CPoint getHandleSize () const;
	void setHandleRange (CCoord range);
	void setHandleStart (CCoord start);
	CCoord getHandleStart () const;
	void updateHandleLimits ();
	CPoint getControlSize () const;

	/** Also refits the travel to the view, the handle and the offset, even for an unchanged size. */
	void setViewSize (const CRect& rect, bool invalid = true) override;
	/** The handle's rectangle for a normalized value, in the coordinates of the view size. */
	CRect calculateHandleRect (float normValue) const;
	/** The offset that turns a mouse coordinate along the axis into the handle's leading edge. */
	float calculateDelta (const CPoint& where, CRect* handleRect = nullptr) const;

	//---interaction
	CMouseEventResult onMouseDown (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseUp (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseMoved (CPoint& where, const CButtonState& buttons) override;
	CMouseEventResult onMouseCancel () override;
	bool onWheel (const CPoint& where, const CMouseWheelAxis& axis, const float& distance,
	              const CButtonState& buttons) override;
	int32_t onKeyDown (VstKeyCode& keyCode) override;

	CView* newCopy () const override = 0;
	void draw (CDrawContext* context) override = 0;

	static constexpr uint32_t kRampPeriod = 16;

protected:
	CSliderBase (const CRect& size, IControlListener* listener, int32_t tag);
	CSliderBase (const CSliderBase& slider);

private:
	struct Impl;

	bool isPositionInverted () const;
	CCoord axisCoordinate (const CPoint& p) const;
	CCoord travelStart () const;
	CCoord freeClickOffset () const;
	float positionToValue (CCoord coordinate, CCoord handleDelta) const;
	void notifyIfDirty ();
	void endDrag ();
	void doRamping ();

	std::unique_ptr<Impl> impl;
};

} // namespace VSTGUI
