// The few numeric helpers the framework and the game share.
#pragma once

#include <cmath>

// pi / 180 as the nearest 32-bit float: angles are in degrees throughout.
const float D2R = 0.0174532924f;

inline float sind(float degrees) { return std::sin(degrees * D2R); }
inline float cosd(float degrees) { return std::cos(degrees * D2R); }

inline int xr_math_Abs(int x) { return x < 0 ? -x : x; }
inline float xr_math_Abs2(float x) { return x < 0 ? -x : x; }
inline int xr_math_Max(int a, int b) { return a > b ? a : b; }
inline float xr_math_Max2(float a, float b) { return a > b ? a : b; }
inline float xr_math_Clamp(float v, float low, float high) { return v < low ? low : v > high ? high : v; }
