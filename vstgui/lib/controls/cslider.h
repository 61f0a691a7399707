#pragma once

#include "vstgui/lib/ccolor.h"
#include "vstgui/lib/controls/csliderbase.h"

#include <memory>

namespace VSTGUI {

/** A slider drawn from a background and a handle bitmap, from a drawn frame, back and value bar, or both. */
class CSlider : public CSliderBase
{
public:
	enum DrawStyle : int32_t
	{
		kDrawFrame = 1 << 0,
		kDrawBack = 1 << 1,
		kDrawValue = 1 << 2,
		kDrawValueFromCenter = 1 << 3,
		kDrawInverted = 1 << 4,
	};

	/** iMinPos and iMaxPos: start and end of the handle's travel in the coordinates of size. */
	CSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos, int32_t iMaxPos,
	         CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint (0, 0),
	         int32_t style = kLeft | kHorizontal);
	/** rangeHandle: the travel plus the handle's size along the axis. */
	CSlider (const CRect& rect, IControlListener* listener, int32_t tag, const CPoint& offsetHandle,
	         int32_t rangeHandle, CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint (0, 0),
	         int32_t style = kLeft | kHorizontal);
	CSlider (const CSlider& slider);
	~CSlider () noexcept override;

	CView* newCopy () const override { return new CSlider (*this); }
	void draw (CDrawContext* context) override;
	bool sizeToFit () override;

	virtual void setHandle (CBitmap* handle);
	virtual CBitmap* getHandle () const;
	virtual void setDrawStyle (int32_t style);
	virtual void setFrameWidth (CCoord width);
	virtual void setFrameColor (CColor color);
	virtual void setBackColor (CColor color);
	virtual void setValueColor (CColor color);

	int32_t getDrawStyle () const;
	CCoord getFrameWidth () const;
	CColor getFrameColor () const;
	CColor getBackColor () const;
	CColor getValueColor () const;
	void setBackgroundOffset (const CPoint& offset);
	CPoint getBackgroundOffset () const;

private:
	struct Impl;

	CSlider (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* handle, CBitmap* background,
	         const CPoint& offset, int32_t style);
	template <class T>
	void setAndInvalidate (T& field, const T& newValue);
	void drawFrameAndBack (CDrawContext* context, CRect& r, CCoord lineWidth);
	void drawValueBar (CDrawContext* context, CRect& r, CCoord lineWidth);

	std::unique_ptr<Impl> impl;
};

class CVerticalSlider : public CSlider
{
public:
	CVerticalSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos, int32_t iMaxPos,
	                 CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint (0, 0),
	                 int32_t style = kBottom);
	CVerticalSlider (const CRect& rect, IControlListener* listener, int32_t tag, const CPoint& offsetHandle,
	                 int32_t rangeHandle, CBitmap* handle, CBitmap* background,
	                 const CPoint& offset = CPoint (0, 0), int32_t style = kBottom);
	~CVerticalSlider () noexcept override;
};

class CHorizontalSlider : public CSlider
{
public:
	CHorizontalSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
	                   int32_t iMaxPos, CBitmap* handle, CBitmap* background, const CPoint& offset = CPoint (0, 0),
	                   int32_t style = kLeft);
	CHorizontalSlider (const CRect& rect, IControlListener* listener, int32_t tag, const CPoint& offsetHandle,
	                   int32_t rangeHandle, CBitmap* handle, CBitmap* background,
	                   const CPoint& offset = CPoint (0, 0), int32_t style = kLeft);
	~CHorizontalSlider () noexcept override;
};

} // namespace VSTGUI
