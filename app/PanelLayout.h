#pragma once
// Where the main panel's controls go, as plain arithmetic: pixels at scale 1.0 are multiplied
// by the scale factor in single precision and truncated toward zero.
#include <windows.h>

struct PanelLayout {
    RECT close;
    RECT minimize;
    RECT version;
    RECT repair;
    RECT repairSlice;  // the part of the panel's picture under the repair button
    int repairInset;
    RECT moreTools;
    RECT moreToolsSlice;
    RECT agree;
    RECT agreementLink;
    RECT feedbackLink;
};

// `client` is the panel's client rectangle; `agreeTextWidth` the width of
// "同意《Tovarin服务工具使用许可协议》" and `feedbackTextWidth` that of "反馈问题", both in the
// panel's font (GetTextWidth; -1 when they could not be measured).
PanelLayout ComputePanelLayout(const RECT& client, float scale, int agreeTextWidth, int feedbackTextWidth);

