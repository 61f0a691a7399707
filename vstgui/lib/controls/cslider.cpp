#include "vstgui/lib/controls/cslider.h"

#include "vstgui/lib/cbitmap.h"
#include "vstgui/lib/cdrawcontext.h"
#include "vstgui/lib/cgraphicspath.h"

namespace VSTGUI {

struct CSlider::Impl
{
	CPoint backgroundOffset;
	SharedPointer<CBitmap> handle;
	CCoord frameWidth {1.};
	int32_t drawStyle {0};
	CColor frameColor {127, 127, 127, 255};
	CColor backColor {0, 0, 0, 255};
	CColor valueColor {255, 255, 255, 255};
};

CSlider::CSlider (const CRect& size, IControlListener* listener, int32_t tag, CBitmap* handle, CBitmap* background,
                  const CPoint& offset, int32_t style)
: CSliderBase (size, listener, tag), impl (std::make_unique<Impl> ())
{
	impl->backgroundOffset = offset;
	setBackground (background);
	setStyle (style);
	setHandle (handle);
}

CSlider::CSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos, int32_t iMaxPos,
                  CBitmap* handle, CBitmap* background, const CPoint& offset, int32_t style)
: CSlider (size, listener, tag, handle, background, offset, style)
{
	// The given travel overrides the one that the handle's refit computed.
	setHandleStart (iMinPos - (isStyleHorizontal () ? size.left : size.top));
	setHandleRange (iMaxPos - iMinPos);
	setWantsFocus (true);
}

CSlider::CSlider (const CRect& rect, IControlListener* listener, int32_t tag, const CPoint& offsetHandle,
                  int32_t rangeHandle, CBitmap* handle, CBitmap* background, const CPoint& offset, int32_t style)
: CSlider (rect, listener, tag, handle, background, offset, style)
{
	const CPoint handleSize = getHandleSize ();
	setHandleRange (rangeHandle - (isStyleHorizontal () ? handleSize.x : handleSize.y));
	setOffsetHandle (offsetHandle);
	setWantsFocus (true);
}

CSlider::CSlider (const CSlider& slider) : CSliderBase (slider), impl (std::make_unique<Impl> (*slider.impl))
{
}

CSlider::~CSlider () noexcept = default;

//------------------------------------------------------------------------
void CSlider::setHandle (CBitmap* handle)
{
	impl->handle = handle;
	if (impl->handle)
	{
		setHandleSize (impl->handle->getWidth (), impl->handle->getHeight ());
		setViewSize (getViewSize (), true);
	}
	else
		setHandleSize (1., 1.);
}

CBitmap* CSlider::getHandle () const
{
	return impl->handle;
}

template <class T>
void CSlider::setAndInvalidate (T& field, const T& newValue)
{
	if (field == newValue)
		return;
	field = newValue;
	invalid ();
}

void CSlider::setDrawStyle (int32_t style)
{
	setAndInvalidate (impl->drawStyle, style);
}

void CSlider::setFrameWidth (CCoord width)
{
	setAndInvalidate (impl->frameWidth, width);
}

void CSlider::setFrameColor (CColor color)
{
	setAndInvalidate (impl->frameColor, color);
}

void CSlider::setBackColor (CColor color)
{
	setAndInvalidate (impl->backColor, color);
}

void CSlider::setValueColor (CColor color)
{
	setAndInvalidate (impl->valueColor, color);
}

int32_t CSlider::getDrawStyle () const
{
	return impl->drawStyle;
}

CCoord CSlider::getFrameWidth () const
{
	return impl->frameWidth;
}

CColor CSlider::getFrameColor () const
{
	return impl->frameColor;
}

CColor CSlider::getBackColor () const
{
	return impl->backColor;
}

CColor CSlider::getValueColor () const
{
	return impl->valueColor;
}

void CSlider::setBackgroundOffset (const CPoint& offset)
{
	impl->backgroundOffset = offset;
}

CPoint CSlider::getBackgroundOffset () const
{
	return impl->backgroundOffset;
}

//------------------------------------------------------------------------
bool CSlider::sizeToFit ()
{
	auto background = getDrawBackground ();
	if (!background)
		return false;
	const CRect fitted (getViewSize ().getTopLeft (), background->getSize ());
	setViewSize (fitted, true);
	setMouseableArea (fitted);
	return true;
}

void CSlider::draw (CDrawContext* context)
{
	if (auto background = getDrawBackground ())
		background->draw (context, getViewSize (), impl->backgroundOffset, 1.f);

	if (impl->drawStyle != 0)
	{
		const CCoord lineWidth = impl->frameWidth < 0. ? context->getHairlineSize () : impl->frameWidth;
		CRect r = getViewSize ();
		context->setDrawMode (kAntiAliasing);
		context->setLineStyle (kLineSolid);
		context->setLineWidth (lineWidth);
		if (impl->drawStyle & (kDrawFrame | kDrawBack))
			drawFrameAndBack (context, r, lineWidth);
		if (impl->drawStyle & kDrawValue)
			drawValueBar (context, r, lineWidth);
	}

	if (impl->handle)
		impl->handle->draw (context, calculateHandleRect (getValueNormalized ()), CPoint (0, 0), 1.f);
	setDirty (false);
}

// The frame's stroke is centred on the path, so the path is inset by half a line to stay inside the view.
void CSlider::drawFrameAndBack (CDrawContext* context, CRect& r, CCoord lineWidth)
{
	const bool frame = impl->drawStyle & kDrawFrame;
	const bool back = impl->drawStyle & kDrawBack;
	context->setFrameColor (impl->frameColor);
	context->setFillColor (impl->backColor);
	if (auto path = owned (context->createGraphicsPath ()))
	{
		if (frame)
			r.inset (lineWidth / 2., lineWidth / 2.);
		path->addRect (r);
		if (back)
			context->drawGraphicsPath (path, CDrawContext::kPathFilled);
		if (frame)
			context->drawGraphicsPath (path, CDrawContext::kPathStroked);
		return;
	}
	context->drawRect (r, frame && back ? kDrawFilledAndStroked : (frame ? kDrawStroked : kDrawFilled));
}

void CSlider::drawValueBar (CDrawContext* context, CRect& r, CCoord lineWidth)
{
	context->setDrawMode (kAliasing);
	if (impl->drawStyle & kDrawFrame)
		r.inset (lineWidth / 2., lineWidth / 2.);

	float v = getValueNormalized ();
	const bool fromCenter = impl->drawStyle & kDrawValueFromCenter;
	const bool inverted = impl->drawStyle & kDrawInverted;
	const CCoord w = r.getWidth ();
	const CCoord h = r.getHeight ();
	if (fromCenter)
	{
		if (inverted)
			v = 1.f - v;
		if (isStyleHorizontal ())
		{
			r.right = r.left + v * w;
			r.left += w / 2.;
		}
		else
		{
			r.bottom = r.top + v * h;
			r.top += h / 2.;
		}
	}
	else if (isStyleHorizontal ())
	{
		if (inverted)
			r.left = r.right - v * w;
		else
			r.right = r.left + v * w;
	}
	else
	{
		if (inverted)
			r.bottom = r.top + v * h;
		else
			r.top = r.bottom - v * h;
	}
	r.normalize ();
	if (r.getWidth () < 0.5 || r.getHeight () < 0.5)
		return;

	context->setFillColor (impl->valueColor);
	if (auto path = owned (context->createGraphicsPath ()))
	{
		path->addRect (r);
		context->drawGraphicsPath (path, CDrawContext::kPathFilled);
	}
	else
		context->drawRect (r, kDrawFilled);
}

//------------------------------------------------------------------------
CVerticalSlider::CVerticalSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
                                  int32_t iMaxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
                                  int32_t style)
: CSlider (size, listener, tag, iMinPos, iMaxPos, handle, background, offset, style | kVertical)
{
}

CVerticalSlider::CVerticalSlider (const CRect& rect, IControlListener* listener, int32_t tag,
                                  const CPoint& offsetHandle, int32_t rangeHandle, CBitmap* handle,
                                  CBitmap* background, const CPoint& offset, int32_t style)
: CSlider (rect, listener, tag, offsetHandle, rangeHandle, handle, background, offset, style | kVertical)
{
}

CVerticalSlider::~CVerticalSlider () noexcept = default;

CHorizontalSlider::CHorizontalSlider (const CRect& size, IControlListener* listener, int32_t tag, int32_t iMinPos,
                                      int32_t iMaxPos, CBitmap* handle, CBitmap* background, const CPoint& offset,
                                      int32_t style)
: CSlider (size, listener, tag, iMinPos, iMaxPos, handle, background, offset, style | kHorizontal)
{
}

CHorizontalSlider::CHorizontalSlider (const CRect& rect, IControlListener* listener, int32_t tag,
                                      const CPoint& offsetHandle, int32_t rangeHandle, CBitmap* handle,
                                      CBitmap* background, const CPoint& offset, int32_t style)
: CSlider (rect, listener, tag, offsetHandle, rangeHandle, handle, background, offset, style | kHorizontal)
{
}

CHorizontalSlider::~CHorizontalSlider () noexcept = default;

} // namespace VSTGUI
