// Stands in for VSTGUI's colour type (vstgui/lib/ccolor.h).
#pragma once

#include <cstdint>

namespace VSTGUI {

struct CColor
{
	constexpr CColor () = default;
	constexpr CColor (uint8_t red, uint8_t green, uint8_t blue, uint8_t alpha = 255)
	: red (red), green (green), blue (blue), alpha (alpha)
	{
	}

	constexpr bool operator== (const CColor& o) const
	{
		return red == o.red && green == o.green && blue == o.blue && alpha == o.alpha;
	}
	constexpr bool operator!= (const CColor& o) const { return !(*this == o); }

	uint8_t red {0};
	uint8_t green {0};
	uint8_t blue {0};
	uint8_t alpha {255};
};

constexpr CColor kTransparentCColor {255, 255, 255, 0};
constexpr CColor kBlackCColor {0, 0, 0, 255};
constexpr CColor kWhiteCColor {255, 255, 255, 255};

} // namespace VSTGUI
