#include "vstgui/lib/cview.h"
#include "vstgui/lib/iviewlistener.h"
#include "vstgui/lib/vstguidebug.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace VSTGUI;

namespace {

class TrackedView : public CView
{
public:
	TrackedView (bool& deleted) : CView (CRect (0, 0, 10, 10)), deleted (deleted) {}
	~TrackedView () noexcept override { deleted = true; }

private:
	bool& deleted;
};

/** Unregisters itself when told of the deletion, as a view's owner would. */
class SelfRemovingListener : public ViewListenerAdapter
{
public:
	void viewWillDelete (CView* view) override
	{
		deletions.push_back (view);
		view->unregisterViewListener (this);
	}
	void viewSizeChanged (CView*, const CRect& oldSize) override { oldSizes.push_back (oldSize); }

	std::vector<CView*> deletions;
	std::vector<CRect> oldSizes;
};

} // namespace

TEST (SharedPointerTest, HoldsOneReferenceAndReleasesIt)
{
	bool deleted = false;
	auto view = makeOwned<TrackedView> (deleted);
	EXPECT_EQ (view->getNbReference (), 1);
	{
		SharedPointer<CView> second = view;
		EXPECT_EQ (view->getNbReference (), 2);
		SharedPointer<CView> moved = std::move (second);
		EXPECT_EQ (second.get (), nullptr);
		EXPECT_EQ (view->getNbReference (), 2);
	}
	EXPECT_EQ (view->getNbReference (), 1);
	view = view.get (); // self-assignment keeps the object
	EXPECT_FALSE (deleted);
	view = nullptr;
	EXPECT_TRUE (deleted);
}

TEST (ViewTest, ListenersHearResizeAndDeletionAndMayUnregisterMeanwhile)
{
	SelfRemovingListener first, second;
	auto view = new CView (CRect (0, 0, 10, 10));
	view->registerViewListener (&first);
	view->registerViewListener (&second);
	view->registerViewListener (&first);

	view->setViewSize (CRect (0, 0, 20, 10));
	view->setViewSize (CRect (0, 0, 20, 10));
	ASSERT_EQ (first.oldSizes.size (), 1u);
	EXPECT_EQ (first.oldSizes[0], CRect (0, 0, 10, 10));

	view->forget ();
	EXPECT_EQ (first.deletions, std::vector<CView*> {view});
	EXPECT_EQ (second.deletions, std::vector<CView*> {view});
}

TEST (ViewTest, AttributesKeepTheirBytesAndCopiesTakeThem)
{
	CView view (CRect (1, 2, 3, 4));
	const char name[] = "CSlider";
	ASSERT_TRUE (view.setAttribute (7, sizeof (name), name));
	CView copy (view);
	uint32_t size = 0;
	ASSERT_TRUE (copy.getAttributeSize (7, size));
	std::string back (size, '\0');
	EXPECT_FALSE (copy.getAttribute (7, size - 1, back.data (), size));
	ASSERT_TRUE (copy.getAttribute (7, size, back.data (), size));
	EXPECT_STREQ (back.c_str (), name);
	EXPECT_TRUE (view.removeAttribute (7));
	EXPECT_FALSE (view.getAttributeSize (7, size));
	EXPECT_TRUE (copy.getAttributeSize (7, size));
}

TEST (AssertionTest, CallsTheHandlerOnlyWhenInstalled)
{
	vstgui_assert (false, "not heard");
	std::vector<std::string> messages;
	setAssertionHandler ([&] (const char*, const char*, const char* desc) {
		messages.push_back (desc ? desc : "<none>");
	});
	vstgui_assert (1 + 1 == 2, "holds");
	vstgui_assert (false, "broken");
	vstgui_assert (false);
	setAssertionHandler (nullptr);
	EXPECT_FALSE (hasAssertionHandler ());
	EXPECT_EQ (messages, (std::vector<std::string> {"broken", "<none>"}));
}
