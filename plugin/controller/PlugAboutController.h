// The about box's sub-controller: one label that shows version, plug-in format and platform while
// an on/off button is on.
#pragma once

#include "plugin/PlugVersion.h"

#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/lib/iviewlistener.h"
#include "vstgui/uidescription/icontroller.h"

#include <sys/sysctl.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdint>
#include <string>

namespace Steinberg {
namespace Vst {

/** Belongs to the view that carries it; keeps itself listed in its owner's aboutControllers. */
template <class ControllerType>
class PlugAboutController : public VSTGUI::IController, public VSTGUI::ViewListenerAdapter
{
public:
	PlugAboutController (ControllerType* owner, bool inAU)
	: owner (owner), format (inAU ? "AU" : "VST3"), version (kPlugVersion), platform (platformName ())
	{
	}

	~PlugAboutController () override
	{
		forgetLabel ();
		forgetButton ();
		auto& list = owner->aboutControllers;
		auto entry = std::find (list.begin (), list.end (), this);
		if (entry != list.end ())
			list.erase (entry);
	}

	void valueChanged (VSTGUI::CControl* control) override
	{
		if (control == nullptr || control != button)
			return;
		const float value = button->getValue ();
		const bool on = value != 0.f && !std::isnan (value);
		if (label)
			label->setText (VSTGUI::UTF8String (on ? aboutText () : std::string ()));
	}

	VSTGUI::CView* verifyView (VSTGUI::CView* view, const VSTGUI::UIAttributes& /*attributes*/,
	                           const VSTGUI::IUIDescription* /*description*/) override
	{
		if (auto* textLabel = dynamic_cast<VSTGUI::CTextLabel*> (view))
			rememberLabel (textLabel);
		else if (auto* onOffButton = dynamic_cast<VSTGUI::COnOffButton*> (view))
			rememberButton (onOffButton);
		return view;
	}

	void viewWillDelete (VSTGUI::CView* view) override
	{
		if (view == nullptr)
			return;
		if (view == label)
			forgetLabel ();
		if (view == button)
			forgetButton ();
	}

	/** "version, format platform" followed by two blanks. */
	std::string aboutText () const { return version + ", " + format + " " + platform + "  "; }

	/** The processor the host runs on, as the translation query tells it. */
	static std::string platformName ()
	{
		int32_t translated = 0;
		size_t size = sizeof (translated);
		if (sysctlbyname ("sysctl.proc_translated", &translated, &size, nullptr, 0) != 0)
			return errno == ENOENT ? "x86_64-macOS" : "unknown";
		switch (translated)
		{
			case 0: return "arm64-macOS";
			case 1: return "arm64-macOS (T)";
			case 2: return "x86_64-macOS";
			default: return "unknown";
		}
	}

private:
	// A replaced view is let go of first, so that none keeps calling a deleted controller.
	void rememberLabel (VSTGUI::CTextLabel* textLabel)
	{
		forgetLabel ();
		label = textLabel;
		label->registerViewListener (this);
		label->setText (VSTGUI::UTF8String ());
	}

	void rememberButton (VSTGUI::COnOffButton* onOffButton)
	{
		forgetButton ();
		button = onOffButton;
		button->registerControlListener (this);
		button->registerViewListener (this);
		valueChanged (button);
	}

	void forgetLabel ()
	{
		if (label == nullptr)
			return;
		label->unregisterViewListener (this);
		label = nullptr;
	}

	void forgetButton ()
	{
		if (button == nullptr)
			return;
		button->unregisterControlListener (this);
		button->unregisterViewListener (this);
		button = nullptr;
	}

	ControllerType* owner;
	VSTGUI::COnOffButton* button {nullptr};
	VSTGUI::CTextLabel* label {nullptr};
	std::string format;
	std::string version;
	std::string platform;
};

} // namespace Vst
} // namespace Steinberg
