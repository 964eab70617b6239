// Modal results as callers read them: 1 is OK, 2 is Cancel.
#pragma once

inline constexpr int mrNone = 0;
inline constexpr int mrOk = 1;
inline constexpr int mrCancel = 2;
