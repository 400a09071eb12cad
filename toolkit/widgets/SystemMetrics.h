#pragma once

// The few system queries the controls make: sizes of standard window parts
// and the warning beep.

inline constexpr int SM_CXVSCROLL = 2;
inline constexpr int SM_CYHSCROLL = 3;

// The width of a vertical (SM_CXVSCROLL) or the height of a horizontal
// (SM_CYHSCROLL) scroll bar in the current style; 0 for other indexes.
int GetSystemMetrics(int index);

void MessageBeep();
