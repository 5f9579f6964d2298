// The skin's pictures: PNG resources (and the scroll bar's BITMAP), named by the window or
// control that draws them. A button's four looks are normal, under the pointer, pressed and
// disabled; the prompt's buttons have no disabled look of their own and use the pressed one.
#pragma once

// Main window.
#define IDP_MAIN_FRAME 138             // 410 x 611, the layered frame with its shadow
#define IDP_PANEL 139                  // 400 x 600, the panel; also the ground of its buttons
#define IDP_CHECK_MARKS 140            // 48 x 16, the agree box: unticked and ticked cells
#define IDP_PANEL_CLOSE_NORMAL 141     // 26 x 34 each
#define IDP_PANEL_CLOSE_HOVER 142
#define IDP_PANEL_CLOSE_PRESSED 143
#define IDP_PANEL_CLOSE_DISABLED 144
#define IDP_MINIMIZE_NORMAL 147        // 26 x 34 each
#define IDP_MINIMIZE_HOVER 148
#define IDP_MINIMIZE_PRESSED 149
#define IDP_MINIMIZE_DISABLED 150
#define IDP_REPAIR_NORMAL 188          // 284 x 85 each
#define IDP_REPAIR_HOVER 189
#define IDP_REPAIR_PRESSED 190
#define IDP_REPAIR_DISABLED 191
#define IDP_MORE_TOOLS_NORMAL 197      // 58 x 18 each
#define IDP_MORE_TOOLS_HOVER 198
#define IDP_MORE_TOOLS_PRESSED 199
#define IDP_MORE_TOOLS_DISABLED 200

// Busy pop-up.
#define IDP_PROGRESS_FRAME 145         // 232 x 132
#define IDP_PROGRESS_CONTENT 146       // 204 x 104; also the ground of its text

// Prompt.
#define IDP_PROMPT_FRAME 151           // 330 x 150
#define IDP_PROMPT_CONTENT 152         // 320 x 140
#define IDP_CANCEL_NORMAL 153          // 55 x 24 each, "取消"
#define IDP_CANCEL_HOVER 154
#define IDP_CANCEL_PRESSED 155
#define IDP_PROMPT_CLOSE_NORMAL 156    // 12 x 12 each
#define IDP_PROMPT_CLOSE_HOVER 157
#define IDP_PROMPT_CLOSE_PRESSED 158
#define IDP_NO_NORMAL 159              // 55 x 24 each, "否"
#define IDP_NO_HOVER 160
#define IDP_NO_PRESSED 161
#define IDP_CONFIRM_NORMAL 162         // 55 x 24 each, "确认"
#define IDP_CONFIRM_HOVER 163
#define IDP_CONFIRM_PRESSED 164
#define IDP_YES_NORMAL 165             // 55 x 24 each, "是"
#define IDP_YES_HOVER 166
#define IDP_YES_PRESSED 167

// Problem-solving question.
#define IDP_FEEDBACK_FRAME 168         // 410 x 479
#define IDP_FEEDBACK_CONTENT 169       // 400 x 468; also the ground of its three answers
#define IDP_FEEDBACK_CLOSE_NORMAL 170  // 12 x 12 each
#define IDP_FEEDBACK_CLOSE_HOVER 171
#define IDP_FEEDBACK_CLOSE_PRESSED 172
#define IDP_FEEDBACK_CLOSE_DISABLED 173
#define IDP_SOLVED_NORMAL 179          // 266 x 60 each, like the two below
#define IDP_SOLVED_HOVER 180
#define IDP_SOLVED_PRESSED 181
#define IDP_SOLVED_DISABLED 182
#define IDP_UNSOLVED_NORMAL 184
#define IDP_UNSOLVED_HOVER 185
#define IDP_UNSOLVED_PRESSED 186
#define IDP_UNSOLVED_DISABLED 187
#define IDP_MORE_SOLUTIONS_NORMAL 193
#define IDP_MORE_SOLUTIONS_HOVER 194
#define IDP_MORE_SOLUTIONS_PRESSED 195
#define IDP_MORE_SOLUTIONS_DISABLED 196

// Agreement bubble: one picture for the frame and, less its tail, the content.
#define IDP_AGREEMENT_BUBBLE 183       // 541 x 402

// The skinned scroll bar's cells (BITMAP, 117 x 39, 8 bits with palette).
#define IDB_SCROLL_SKIN 178
