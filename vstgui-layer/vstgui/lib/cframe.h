// Stands in for VSTGUI's frame (vstgui/lib/cframe.h), the root of an editor's view tree.
#pragma once

#include "vstgui/lib/cviewcontainer.h"

namespace VSTGUI {

/** The root container, at 0, 0 of the window or surface it is drawn into. */
class CFrame : public CViewContainer
{
public:
	/** Only the size of size counts: a frame always starts at 0, 0. */
	explicit CFrame (const CRect& size);
};

} // namespace VSTGUI
