// Stands in for VSTGUI's platform frame interface (vstgui/lib/platform/iplatformframe.h).
#pragma once

#include "vstgui/lib/crect.h"

namespace VSTGUI {

/** The window side of a frame: told when a part of the frame needs to be drawn again. */
class IPlatformFrame
{
public:
	virtual ~IPlatformFrame () = default;
	/** rect is in the frame's coordinates. */
	virtual void invalidRect (const CRect& rect) = 0;
};

} // namespace VSTGUI
