// Stands in for VSTGUI's drawing definitions (vstgui/lib/cdrawdefs.h).
#pragma once

#include <cstdint>

namespace VSTGUI {

enum CDrawStyle
{
	kDrawStroked = 0,
	kDrawFilled,
	kDrawFilledAndStroked,
};

enum CDrawModeFlags : uint32_t
{
	kAliasing = 0,
	kAntiAliasing = 1,
};

class CDrawMode
{
public:
	constexpr CDrawMode (uint32_t mode = kAliasing) : mode (mode) {}

	constexpr uint32_t modeIgnoringIntegralMode () const { return mode & 0xF; }
	constexpr bool operator== (const CDrawMode& o) const { return mode == o.mode; }
	constexpr bool operator!= (const CDrawMode& o) const { return mode != o.mode; }

private:
	uint32_t mode;
};

} // namespace VSTGUI
