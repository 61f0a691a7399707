// Stands in for VSTGUI's mouse button and modifier state (vstgui/lib/cbuttonstate.h).
#pragma once

#include <cstdint>

namespace VSTGUI {

enum CButton : int32_t
{
	kLButton = 1 << 1,
	kMButton = 1 << 2,
	kRButton = 1 << 3,
	kShift = 1 << 4,
	kControl = 1 << 5,
	kAlt = 1 << 6,
	kApple = 1 << 7,
	kButton4 = 1 << 8,
	kButton5 = 1 << 9,
	kDoubleClick = 1 << 10,
};

class CButtonState
{
public:
	constexpr CButtonState (int32_t state = 0) : state (state) {}

	constexpr int32_t getButtonState () const
	{
		return state & (kLButton | kMButton | kRButton | kButton4 | kButton5);
	}
	constexpr int32_t getModifierState () const { return state & (kShift | kControl | kAlt | kApple); }
	/** Exactly the left button, whatever the modifiers. */
	constexpr bool isLeftButton () const { return getButtonState () == kLButton; }

	constexpr int32_t operator() () const { return state; }
	constexpr int32_t operator& (int32_t mask) const { return state & mask; }
	constexpr bool operator== (const CButtonState& o) const { return state == o.state; }
	constexpr bool operator!= (const CButtonState& o) const { return state != o.state; }

private:
	int32_t state;
};

} // namespace VSTGUI
