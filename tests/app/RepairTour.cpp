// The run script's demonstration: starts the built tool from a folder of its own, runs one
// repair through real input and saves what the screen showed on the way: the main window,
// the busy pop-up and the result prompt. Then it confirms the prompt, opens the user
// agreement and wheels it to the middle, hides it, closes the tool by its close button and
// answers the problem-solving pop-up.
//
//   repair_tour.exe <tool folder> <output folder>
//
// Writes main-window.png, busy-popup.png, result-prompt.png, agreement-bubble.png,
// feedback-popup.png and tour.log into the output folder; exit code 0 when every step was
// taken.
#include <windows.h>

#include <cstdio>
#include <string>

#include "tests/support/Geometry.h"
#include "tests/support/Input.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/Text.h"
#include "tests/support/ToolRun.h"
#include "tests/support/ToolSession.h"
#include "tests/support/Waits.h"
#include "tests/support/WindowQueries.h"

using namespace testsupport;

namespace {

// Pixels around a frame, so that its shadow shows whole.
constexpr int kMargin = 12;

class TourLog {
public:
    explicit TourLog(const std::wstring& path) : m_file(_wfopen(path.c_str(), L"wb")), m_start(::GetTickCount64()) {}
    ~TourLog()
    {
        if (m_file) {
            std::fclose(m_file);
        }
    }
    TourLog(const TourLog&) = delete;
    TourLog& operator=(const TourLog&) = delete;

    void Line(const std::string& text)
    {
        const std::string line = "[" + std::to_string(::GetTickCount64() - m_start) + " ms] " + text;
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
        if (m_file) {
            std::fprintf(m_file, "%s\r\n", line.c_str());
            std::fflush(m_file);
        }
    }

private:
    FILE* m_file;
    ULONGLONG m_start;
};

bool Shoot(TourLog& log, HWND frame, const std::wstring& path)
{
    const bool saved = SavePng(CaptureScreen(Grown(WindowScreenRect(frame), kMargin)), path);
    log.Line((saved ? "saved " : "could not save ") + Utf8(path));
    return saved;
}

int Fail(TourLog& log, const std::string& what)
{
    log.Line("FAILED: " + what);
    return 1;
}

// Opens the bubble by its link, wheels its text to the middle so that the skinned bar's thumb
// stands half-way, shoots it, and hides it again by the link.
bool TourAgreement(TourLog& log, ToolRun& tool, HWND panel, const std::wstring& path)
{
    if (!ClickControl(panel, IDC_AGREEMENT_LINK) || !tool.WaitForWindowWith(kAgreementMarker, 5000)) {
        return false;
    }
    const AgreementWindows bubble = FindBubble(tool);
    HWND edit = bubble.edit;
    if (!edit) {
        return false;
    }
    const LRESULT lines = Ask(edit, EM_GETLINECOUNT);
    MovePointer(Centre(WindowScreenRect(edit)));
    // Wheel until the first visible line has passed a third of the text: then the middle of
    // the text is on view.
    WaitUntil(
        [&] {
            if (Ask(edit, EM_GETFIRSTVISIBLELINE) >= lines / 3) {
                return true;
            }
            TurnWheel(-1);
            return false;
        },
        10000, 150);
    // The skinned bar follows the text within its resynchronisation period.
    ::Sleep(700);
    log.Line("agreement: " + std::to_string(lines) + " lines, first on view " +
             std::to_string(Ask(edit, EM_GETFIRSTVISIBLELINE)));
    Shoot(log, bubble.frame, path);
    return ClickControl(panel, IDC_AGREEMENT_LINK) &&
           WaitUntil([&] { return !::IsWindowVisible(bubble.content); }, 5000);
}

// Closes the tool by its close button, shoots the problem-solving pop-up and answers
// "problem solved"; true when the tool then ends.
bool TourClosing(TourLog& log, ToolRun& tool, HWND panel, const std::wstring& path)
{
    log.Line("closing the tool by its close button");
    if (!ClickControl(panel, IDC_CLOSE)) {
        return false;
    }
    HWND popup = tool.WaitForWindowWith(kFeedbackMarker, 10000);
    if (!popup) {
        return false;
    }
    ::Sleep(400);
    Shoot(log, FrameOf(popup), path);
    log.Line("answering: the problem is solved");
    return ClickControl(popup, IDC_SOLVED) && tool.WaitForExit(10000);
}

}  // namespace

int wmain(int argc, wchar_t** argv)
{
    if (argc != 3) {
        std::fprintf(stderr, "usage: repair_tour.exe <tool folder> <output folder>\n");
        return 2;
    }
    const std::wstring folder = argv[1];
    const std::wstring out = argv[2];
    ::CreateDirectoryW(folder.c_str(), nullptr);
    ::CreateDirectoryW(out.c_str(), nullptr);
    TourLog log(out + L"\\tour.log");

    ToolRun tool(Files(), folder);
    if (!tool.Started()) {
        return Fail(log, tool.Error());
    }
    log.Line("started " + Utf8(folder) + "\\Veskar.exe, process " + std::to_string(tool.ProcessId()));
    HWND panel = tool.WaitForPanel();
    if (!panel) {
        return Fail(log, "the main window did not show");
    }
    HWND frame = tool.Frame(panel);
    WaitUntil([&] { return !tool.FeedbackCalls().empty(); }, 5000);
    const RECT panelRect = WindowScreenRect(panel);
    MovePointer(POINT{panelRect.left + 370, panelRect.top + 450});
    ::Sleep(500);
    Shoot(log, frame, out + L"\\main-window.png");

    log.Line("clicking the repair button");
    if (!ClickControl(panel, kPanelMarker)) {
        return Fail(log, "the pointer did not reach the repair button");
    }
    // The busy pop-up shows only while the agent runs: shoot it again and again, keeping the
    // last shot taken while it was on the screen from start to end.
    bool busyShot = false;
    HWND prompt = nullptr;
    const std::wstring busyPath = out + L"\\busy-popup.png";
    WaitUntil(
        [&] {
            const std::vector<HWND> busy = tool.WindowsWith(kBusyMarker);
            if (!busy.empty()) {
                HWND busyFrame = FrameOf(busy.front());
                const Image shot = CaptureScreen(Grown(WindowScreenRect(busyFrame), kMargin));
                if (::IsWindowVisible(busy.front()) && ::IsWindowVisible(busyFrame) && SavePng(shot, busyPath)) {
                    busyShot = true;
                }
            }
            const std::vector<HWND> prompts = tool.WindowsWith(kPromptMarker);
            prompt = prompts.empty() || !PromptReady(prompts.front()) ? nullptr : prompts.front();
            return prompt != nullptr;
        },
        60000, 5);
    log.Line(busyShot ? "saved " + Utf8(busyPath) : "the busy pop-up was not caught on the screen");
    if (!prompt) {
        return Fail(log, "no result prompt");
    }
    log.Line("result: " + Utf8(ControlText(prompt, kPromptMarker)));
    ::Sleep(400);
    Shoot(log, FrameOf(prompt), out + L"\\result-prompt.png");

    if (!ClickControl(prompt, IDC_PROMPT_OK) || !WaitUntil([&] { return !::IsWindowVisible(prompt); }, 5000)) {
        return Fail(log, "the result prompt did not go when confirmed");
    }
    log.Line("confirmed the prompt; opening the user agreement");
    if (!TourAgreement(log, tool, panel, out + L"\\agreement-bubble.png")) {
        return Fail(log, "the agreement bubble did not show, scroll or hide");
    }
    if (!TourClosing(log, tool, panel, out + L"\\feedback-popup.png")) {
        return Fail(log, "the tool did not end after its close button and the answer");
    }
    log.Line("the tool has ended");
    for (const std::string& call : tool.FeedbackCalls()) {
        log.Line("feedback library: " + call);
    }
    for (const std::string& run : tool.AgentCalls()) {
        log.Line("agent: " + run);
    }
    return busyShot ? 0 : 1;
}
