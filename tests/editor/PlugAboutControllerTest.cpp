#include "plugin/PlugVersion.h"
#include "plugin/controller/PlugController.h"

#include "public.sdk/source/vst/hosting/hostclasses.h"
#include "vstgui/lib/controls/cbuttons.h"
#include "vstgui/lib/controls/ctextlabel.h"
#include "vstgui/uidescription/uiattributes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <vector>
#include <sys/sysctl.h>

using namespace Steinberg;
using namespace Steinberg::Vst;
using VSTGUI::CRect;

namespace {

// What the platform query answers in the cases below.
struct QueryAnswer
{
	int result;
	int error;
	int32_t value;
	const char* platform;
};

QueryAnswer currentAnswer {};
std::string askedName;
size_t askedSize = 0;

int answerQuery (const char* name, void* oldp, size_t* oldlenp, void*, size_t)
{
	askedName = name ? name : "";
	askedSize = oldlenp ? *oldlenp : 0;
	if (currentAnswer.result != 0)
	{
		errno = currentAnswer.error;
		return currentAnswer.result;
	}
	*static_cast<int32_t*> (oldp) = currentAnswer.value;
	return 0;
}

class PlatformText : public testing::TestWithParam<QueryAnswer>
{
protected:
	void SetUp () override { previous = PlatformLayer::setSysctlByNameHandler (answerQuery); }
	void TearDown () override { PlatformLayer::setSysctlByNameHandler (previous); }

	PlatformLayer::SysctlByNameHandler previous {nullptr};
};

const QueryAnswer kAnswers[] = {
    {-1, ENOENT, 0, "x86_64-macOS"},   {-1, EPERM, 0, "unknown"},        {-1, ENOMEM, 0, "unknown"},
    {0, 0, 0, "arm64-macOS"},          {0, 0, 1, "arm64-macOS (T)"},     {0, 0, 2, "x86_64-macOS"},
    {0, 0, 3, "unknown"},              {0, 0, -1, "unknown"},
};

// An about controller with a live owner, a label and an on/off button of its own.
class AboutBox : public testing::Test
{
protected:
	void TearDown () override
	{
		for (auto* about : live)
			delete about;
		if (label)
			label->forget ();
		if (button)
			button->forget ();
	}

	PlugController::AboutController* makeAbout ()
	{
		auto* about = static_cast<PlugController::AboutController*> (
		    owner->createSubController ("AboutController", nullptr, nullptr));
		live.push_back (about);
		return about;
	}

	// What the view that carries it does when it goes.
	void destroy (PlugController::AboutController* about)
	{
		live.erase (std::find (live.begin (), live.end (), about));
		delete about;
	}

	void verify (PlugController::AboutController* about, VSTGUI::CView* view)
	{
		EXPECT_EQ (about->verifyView (view, attributes, nullptr), view);
	}

	void press (float value)
	{
		button->setValue (value);
		button->valueChanged ();
	}

	std::string labelText () const { return label->getText ().getString (); }

	IPtr<PlugController> owner = Steinberg::owned (new PlugController);
	std::vector<PlugController::AboutController*> live;
	VSTGUI::UIAttributes attributes;
	VSTGUI::CTextLabel* label = new VSTGUI::CTextLabel (CRect (0, 0, 200, 20), "placeholder");
	VSTGUI::COnOffButton* button = new VSTGUI::COnOffButton (CRect (0, 0, 20, 20));
};

std::string linuxAboutText (const char* format)
{
	return std::string (kPlugVersion) + ", " + format + " unknown  ";
}

} // namespace

TEST_P (PlatformText, FollowsTheTranslationQuery)
{
	currentAnswer = GetParam ();
	EXPECT_EQ (PlugController::AboutController::platformName (), GetParam ().platform);
	EXPECT_EQ (askedName, "sysctl.proc_translated");
	EXPECT_EQ (askedSize, sizeof (int32_t));
}

INSTANTIATE_TEST_SUITE_P (AboutBox, PlatformText, testing::ValuesIn (kAnswers));

TEST (PlatformLayer, LinuxHasNoSuchQuery)
{
	int32_t value = 42;
	size_t size = sizeof (value);
	errno = 0;
	EXPECT_EQ (sysctlbyname ("sysctl.proc_translated", &value, &size, nullptr, 0), -1);
	EXPECT_EQ (errno, ENOTSUP);
	EXPECT_EQ (value, 42);
}

TEST_F (AboutBox, LabelShowsTheAboutTextOnlyWhileTheButtonIsOn)
{
	auto* about = makeAbout ();
	verify (about, label);
	EXPECT_EQ (labelText (), "");
	verify (about, button);
	EXPECT_EQ (labelText (), "");
	press (1.f);
	EXPECT_EQ (labelText (), linuxAboutText ("VST3"));
	press (0.f);
	EXPECT_EQ (labelText (), "");
}

TEST_F (AboutBox, AValueThatIsNotANumberCountsAsOff)
{
	auto* about = makeAbout ();
	verify (about, label);
	verify (about, button);
	press (1.f);
	button->setMax (NAN);
	button->setMin (NAN);
	button->setValue (NAN);
	ASSERT_TRUE (std::isnan (button->getValue ()));
	about->valueChanged (button);
	EXPECT_EQ (labelText (), "");
}

TEST_F (AboutBox, ButtonBeforeLabelLeavesTheLabelEmptyUntilTheNextChange)
{
	auto* about = makeAbout ();
	button->setValue (1.f);
	verify (about, button);
	verify (about, label);
	EXPECT_EQ (labelText (), "");
	press (1.f);
	EXPECT_EQ (labelText (), linuxAboutText ("VST3"));
}

TEST_F (AboutBox, OtherControlsAreIgnored)
{
	auto* about = makeAbout ();
	verify (about, label);
	verify (about, button);
	auto* other = new VSTGUI::COnOffButton (CRect (0, 0, 20, 20));
	other->setValue (1.f);
	about->valueChanged (other);
	EXPECT_EQ (labelText (), "");
	other->forget ();
}

TEST_F (AboutBox, ForgetsALabelDeletedWhileItLives)
{
	auto* about = makeAbout ();
	verify (about, label);
	verify (about, button);
	label->forget ();
	label = nullptr;
	press (1.f);
	// It writes to no label now; one verified later starts empty and shows the next change.
	label = new VSTGUI::CTextLabel (CRect (0, 0, 200, 20), "placeholder");
	verify (about, label);
	EXPECT_EQ (labelText (), "");
	press (0.f);
	press (1.f);
	EXPECT_EQ (labelText (), linuxAboutText ("VST3"));
	destroy (about);
	// The button no longer reaches the deleted controller.
	press (0.f);
	EXPECT_EQ (labelText (), linuxAboutText ("VST3"));
}

TEST_F (AboutBox, ForgetsAButtonDeletedWhileItLives)
{
	auto* about = makeAbout ();
	verify (about, label);
	verify (about, button);
	button->forget ();
	button = nullptr;
	about->valueChanged (nullptr);
	EXPECT_EQ (labelText (), "");
	destroy (about);
}

TEST_F (AboutBox, DestructionLetsGoOfBothViews)
{
	auto* about = makeAbout ();
	verify (about, label);
	verify (about, button);
	destroy (about);
	press (1.f);
	EXPECT_EQ (labelText (), "");
	label->forget ();
	label = nullptr;
}

TEST_F (AboutBox, AReplacedViewNoLongerReachesTheController)
{
	auto* about = makeAbout ();
	auto* firstLabel = new VSTGUI::CTextLabel (CRect (0, 0, 200, 20));
	auto* firstButton = new VSTGUI::COnOffButton (CRect (0, 0, 20, 20));
	verify (about, firstLabel);
	verify (about, firstButton);
	verify (about, label);
	verify (about, button);
	firstButton->setValue (1.f);
	firstButton->valueChanged ();
	EXPECT_EQ (labelText (), "");
	press (1.f);
	EXPECT_EQ (labelText (), linuxAboutText ("VST3"));
	EXPECT_EQ (firstLabel->getText ().getString (), "");
	destroy (about);
	firstButton->forget ();
	firstLabel->forget ();
}

// Each about box answers its own button, before and after another one goes.
TEST_F (AboutBox, EachControllerGoesAloneAndTheOthersWorkOn)
{
	struct Box
	{
		PlugController::AboutController* about;
		VSTGUI::CTextLabel* label;
		VSTGUI::COnOffButton* button;
	};
	std::vector<Box> boxes;
	for (int k = 0; k < 3; ++k)
	{
		Box box {makeAbout (), new VSTGUI::CTextLabel (CRect (0, 0, 200, 20)), new VSTGUI::COnOffButton (CRect (0, 0, 20, 20))};
		verify (box.about, box.label);
		verify (box.about, box.button);
		boxes.push_back (box);
	}
	auto pressAndRead = [] (Box& box, float value) {
		box.button->setValue (value);
		box.button->valueChanged ();
		return box.label->getText ().getString ();
	};
	destroy (boxes[1].about);
	EXPECT_EQ (pressAndRead (boxes[1], 1.f), "") << "the deleted one no longer answers";
	EXPECT_EQ (pressAndRead (boxes[0], 1.f), linuxAboutText ("VST3"));
	EXPECT_EQ (pressAndRead (boxes[2], 1.f), linuxAboutText ("VST3"));
	destroy (boxes[0].about);
	EXPECT_EQ (pressAndRead (boxes[2], 0.f), "");
	destroy (boxes[2].about);
	for (Box& box : boxes)
	{
		box.label->forget ();
		box.button->forget ();
	}
}
