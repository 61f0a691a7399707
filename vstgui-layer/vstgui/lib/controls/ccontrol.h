// Stands in for VSTGUI's control base class (vstgui/lib/controls/ccontrol.h).
#pragma once

#include "vstgui/lib/controls/cmousewheeleditingsupport.h"
#include "vstgui/lib/cview.h"

#include <vector>

namespace VSTGUI {

class IControlListener;

/** Style bits of controls that move along one axis. */
enum CControlEnum : int32_t
{
	kHorizontal = 1 << 0,
	kVertical = 1 << 1,
	kLeft = 1 << 2,
	kRight = 1 << 3,
	kTop = 1 << 4,
	kBottom = 1 << 5,
};

/** A view with a value between a minimum and a maximum, reported to its listeners by tag. */
class CControl : public CView
{
public:
	CControl (const CRect& size, IControlListener* listener = nullptr, int32_t tag = 0,
	          CBitmap* background = nullptr);
	CControl (const CControl& control);
	~CControl () noexcept override;

	//---value
	virtual void setValue (float val);
	virtual float getValue () const { return value; }
	virtual void setValueNormalized (float val);
	virtual float getValueNormalized () const;
	virtual void setMin (float val) { vmin = val; }
	virtual float getMin () const { return vmin; }
	virtual void setMax (float val) { vmax = val; }
	virtual float getMax () const { return vmax; }
	float getRange () const { return getMax () - getMin (); }
	virtual void setDefaultValue (float val) { defaultValue = val; }
	virtual float getDefaultValue () const { return defaultValue; }
	virtual void setWheelInc (float val) { wheelInc = val; }
	virtual float getWheelInc () const { return wheelInc; }
	/** Left button with the default-value modifier alone: takes the default value and answers true. */
	virtual bool checkDefaultValue (CButtonState button);

	//---editing and notification
	virtual void valueChanged ();
	virtual void beginEdit ();
	virtual void endEdit ();
	bool isEditing () const { return editing > 0; }

	virtual void setTag (int32_t val) { tag = val; }
	int32_t getTag () const { return tag; }
	virtual void setListener (IControlListener* l) { listener = l; }
	IControlListener* getListener () const { return listener; }
	void registerControlListener (IControlListener* controlListener);
	void unregisterControlListener (IControlListener* controlListener);

	//---the value last drawn counts towards dirtiness
	bool isDirty () const override;
	void setDirty (bool state = true) override;

	static int32_t mapVstKeyModifier (int32_t vstModifier);

	static int32_t kZoomModifier;
	static int32_t kDefaultValueModifier;

protected:
	float value {0.f};
	float vmin {0.f};
	float vmax {1.f};
	float defaultValue {0.5f};
	float oldValue {1.f};
	float wheelInc {0.1f};
	int32_t tag;
	int32_t editing {0};
	IControlListener* listener;

private:
	template <class Call>
	void notifyListeners (Call call);

	std::vector<IControlListener*> subListeners;
};

} // namespace VSTGUI
