// Stands in for VSTGUI's view listener interface (vstgui/lib/iviewlistener.h).
#pragma once

namespace VSTGUI {

class CView;
struct CRect;

class IViewListener
{
public:
	virtual ~IViewListener () noexcept = default;

	virtual void viewSizeChanged (CView* view, const CRect& oldSize) = 0;
	virtual void viewWillDelete (CView* view) = 0;
};

/** Ignores every notification; derive and override the ones of interest. */
class ViewListenerAdapter : public IViewListener
{
public:
	void viewSizeChanged (CView*, const CRect&) override {}
	void viewWillDelete (CView*) override {}
};

} // namespace VSTGUI
