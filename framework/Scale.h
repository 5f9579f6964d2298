#pragma once
// Design sizes are pixels at scale 1.0; on screen they are multiplied by the window's scale
// factor in single precision and truncated toward zero.
inline int Scaled(float designPixels, float scale)
{
    return static_cast<int>(designPixels * scale);
}
