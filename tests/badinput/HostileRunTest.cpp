// The whole tool with hostile surroundings: a feedback library answering odd values, a
// damaged logCfg.ini in the machine-wide folder, and damaged images in its own executable.
#include <gtest/gtest.h>

#include <algorithm>
#include <climits>
#include <iterator>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

#include "app/ToolTexts.h"
#include "tests/soak/RepairDriving.h"
#include "tests/support/ScreenImage.h"
#include "tests/support/WindowQueries.h"

using namespace soak;

namespace {

// Repairs once through real input and confirms the result; the prompt's text is returned.
std::string RepairOnce(const ToolRun& run, HWND panel)
{
    const RepairOutcome outcome = ClickRepair(run, panel);
    if (!outcome.prompt) {
        return std::string("(no result prompt") + (outcome.clicked ? "" : ", the button could not be clicked") +
               (outcome.sawBusyPopup ? ", after the busy pop-up; " : "; ") + std::to_string(run.AgentCalls().size()) +
               " agent runs; " + DescribePoint(Centre(ControlScreenRect(panel, kPanelMarker))) + ")";
    }
    const std::string text = PromptText(outcome.prompt);
    EXPECT_TRUE(ConfirmPrompt(outcome.prompt));
    return text;
}

LaunchOptions QuietAgent()
{
    LaunchOptions options;
    options.environment.emplace_back(L"MCUPDATE_STANDIN_MODE", L"quiet");
    return options;
}

// logCfg.ini in the machine-wide application-data folder replaced for the life of the object.
class ScopedLogConfig {
public:
    explicit ScopedLogConfig(const std::string& bytes)
        : m_path(CommonAppDataFolder() + L"\\logCfg.ini"), m_existed(FileExists(m_path)), m_old(ReadBytes(m_path))
    {
        m_written = WriteBytes(m_path, bytes);
    }
    ~ScopedLogConfig()
    {
        if (m_existed) {
            WriteBytes(m_path, m_old);
        } else {
            ::DeleteFileW(m_path.c_str());
        }
    }
    ScopedLogConfig(const ScopedLogConfig&) = delete;
    ScopedLogConfig& operator=(const ScopedLogConfig&) = delete;
    bool Written() const { return m_written; }

private:
    std::wstring m_path;
    bool m_existed = false;
    std::string m_old;
    bool m_written = false;
};

std::string PseudoRandomBytes(size_t count, unsigned int seed)
{
    std::string bytes(count, '\0');
    for (char& byte : bytes) {
        seed = seed * 1103515245u + 12345u;
        byte = static_cast<char>(seed >> 23);
    }
    return bytes;
}

// CRC-32 of PNG chunks (polynomial 0xEDB88320), over type and data.
unsigned int Crc32(const std::string& bytes)
{
    unsigned int crc = 0xFFFFFFFFu;
    for (char c : bytes) {
        crc ^= static_cast<unsigned char>(c);
        for (int bit = 0; bit < 8; ++bit) {
            crc = (crc >> 1) ^ (0xEDB88320u & (0u - (crc & 1u)));
        }
    }
    return ~crc;
}

std::string BigEndian(unsigned int value)
{
    return {static_cast<char>(value >> 24), static_cast<char>(value >> 16), static_cast<char>(value >> 8),
            static_cast<char>(value)};
}

std::string Chunk(const std::string& type, const std::string& data)
{
    return BigEndian(static_cast<unsigned int>(data.size())) + type + data + BigEndian(Crc32(type + data));
}

const std::string kPngSignature("\x89PNG\r\n\x1a\n", 8);

// A well-formed header that claims 30000 x 30000 RGBA pixels, and no image data.
std::string HugeHeaderPng()
{
    const std::string header = BigEndian(30000) + BigEndian(30000) + std::string("\x08\x06\x00\x00\x00", 5);
    return kPngSignature + Chunk("IHDR", header) + Chunk("IEND", "");
}

// Replaces "PNG" resources of an executable file, in every language each one has.
::testing::AssertionResult ReplaceImages(const std::wstring& exe, const std::vector<std::pair<UINT, std::string>>& images)
{
    std::vector<std::pair<UINT, WORD>> targets;
    HMODULE module = ::LoadLibraryExW(exe.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
    if (!module) {
        return ::testing::AssertionFailure() << "cannot read " << Utf8(exe);
    }
    for (const auto& image : images) {
        std::vector<WORD> languages;
        ::EnumResourceLanguagesW(
            module, L"PNG", MAKEINTRESOURCEW(image.first),
            [](HMODULE, LPCWSTR, LPCWSTR, WORD language, LONG_PTR found) -> BOOL {
                reinterpret_cast<std::vector<WORD>*>(found)->push_back(language);
                return TRUE;
            },
            reinterpret_cast<LONG_PTR>(&languages));
        for (WORD language : languages) {
            targets.emplace_back(image.first, language);
        }
    }
    ::FreeLibrary(module);
    HANDLE update = ::BeginUpdateResourceW(exe.c_str(), FALSE);
    if (!update) {
        return ::testing::AssertionFailure() << "cannot update " << Utf8(exe);
    }
    for (const auto& target : targets) {
        for (const auto& image : images) {
            if (image.first == target.first &&
                !::UpdateResourceW(update, L"PNG", MAKEINTRESOURCEW(target.first), target.second,
                                   const_cast<char*>(image.second.data()), static_cast<DWORD>(image.second.size()))) {
                ::EndUpdateResourceW(update, TRUE);
                return ::testing::AssertionFailure() << "cannot replace image " << target.first;
            }
        }
    }
    if (!::EndUpdateResourceW(update, FALSE)) {
        return ::testing::AssertionFailure() << "cannot write " << Utf8(exe);
    }
    for (const auto& image : images) {
        if (ResourceBytes(exe, image.first, L"PNG") != image.second) {
            return ::testing::AssertionFailure() << "image " << image.first << " was not replaced";
        }
    }
    return ::testing::AssertionSuccess();
}

// Gives the "PNG" resource `from` of an executable file the id `to` (which must sort in the
// same place among the others): the program then finds no picture `from` at all. The
// resource directory is edited in place; removing a resource through UpdateResource leaves it
// where it is under Wine.
::testing::AssertionResult RenumberImage(const std::wstring& exe, WORD from, WORD to)
{
    std::string file = ReadBytes(exe);
    auto at = [&file](size_t offset) { return reinterpret_cast<BYTE*>(&file[offset]); };
    if (file.size() < sizeof(IMAGE_DOS_HEADER)) {
        return ::testing::AssertionFailure() << "cannot read " << Utf8(exe);
    }
    const auto* dos = reinterpret_cast<const IMAGE_DOS_HEADER*>(at(0));
    const auto* nt = reinterpret_cast<const IMAGE_NT_HEADERS64*>(at(dos->e_lfanew));
    const IMAGE_DATA_DIRECTORY& resources = nt->OptionalHeader.DataDirectory[IMAGE_DIRECTORY_ENTRY_RESOURCE];
    const auto* section = IMAGE_FIRST_SECTION(nt);
    size_t base = 0;
    for (WORD i = 0; i < nt->FileHeader.NumberOfSections; ++i, ++section) {
        if (resources.VirtualAddress >= section->VirtualAddress &&
            resources.VirtualAddress < section->VirtualAddress + section->Misc.VirtualSize) {
            base = section->PointerToRawData + (resources.VirtualAddress - section->VirtualAddress);
        }
    }
    if (base == 0) {
        return ::testing::AssertionFailure() << "no resources in " << Utf8(exe);
    }
    // The entries of a directory: named ones first, then those with an id.
    auto entries = [&](size_t directory) {
        const auto* header = reinterpret_cast<const IMAGE_RESOURCE_DIRECTORY*>(at(base + directory));
        auto* first = reinterpret_cast<IMAGE_RESOURCE_DIRECTORY_ENTRY*>(at(base + directory + sizeof(*header)));
        return std::make_pair(first, header->NumberOfNamedEntries + header->NumberOfIdEntries);
    };
    const auto types = entries(0);
    for (int t = 0; t < types.second; ++t) {
        IMAGE_RESOURCE_DIRECTORY_ENTRY& type = types.first[t];
        if (!type.NameIsString) {
            continue;
        }
        const auto* name = reinterpret_cast<const IMAGE_RESOURCE_DIR_STRING_U*>(at(base + type.NameOffset));
        if (std::wstring(name->NameString, name->Length) != L"PNG") {
            continue;
        }
        const auto images = entries(type.OffsetToDirectory);
        for (int i = 0; i < images.second; ++i) {
            if (!images.first[i].NameIsString && images.first[i].Id == from) {
                images.first[i].Id = to;
                return WriteBytes(exe, file) ? ::testing::AssertionSuccess()
                                             : ::testing::AssertionFailure() << "cannot write " << Utf8(exe);
            }
        }
    }
    return ::testing::AssertionFailure() << "no image " << from << " in " << Utf8(exe);
}

}  // namespace

// Damaged faces of the repair button and a damaged prompt picture: each draws nothing, and
// the tool works as before. The faces are a PNG cut in half, bytes that only start like a
// PNG, a single byte, and a header that claims 30000 x 30000 pixels.
TEST(DamagedImages, ToolWithDamagedButtonFacesAndPromptPictureStillRepairs)
{
    const std::string face = ResourceBytes(Files().tool, kRepairNormalImage, L"PNG");
    const std::string prompt = ResourceBytes(Files().tool, kPromptPicture, L"PNG");
    ASSERT_GT(face.size(), 100u);
    ASSERT_GT(prompt.size(), 100u);
    const std::string garbage = kPngSignature + Chunk("IHDR", BigEndian(16) + BigEndian(16) + std::string("\x08\x06\x00\x00\x00", 5)) +
                                "this is not image data";
    const std::vector<std::pair<UINT, std::string>> damage = {
        {kRepairNormalImage, face.substr(0, face.size() / 2)}, {kRepairHoverImage, garbage},
        {kRepairPressedImage, std::string(1, '\x89')},         {kRepairDisabledImage, HugeHeaderPng()},
        {kPromptPicture, prompt.substr(0, prompt.size() / 2)}, {kPromptContentPicture, garbage},
    };
    ScratchFolder build(ScratchPath(L"damaged-build"));
    ToolFiles files = Files();
    files.tool = build.File(L"Veskar.exe");
    ASSERT_TRUE(build.CopyIn(Files().tool, L"Veskar.exe"));
    ASSERT_TRUE(ReplaceImages(files.tool, damage));

    ScratchFolder folder(ScratchPath(L"damaged-images"));
    ToolRun run(files, folder.Path(), QuietAgent());
    ASSERT_TRUE(run.Started()) << run.Error();
    HWND panel = run.WaitForPanel();
    ASSERT_NE(nullptr, panel) << "the panel did not show";
    ASSERT_TRUE(WaitForVersionCheck(run));

    // Away from the button, the face it would show is not on the screen.
    const RECT panelRect = WindowScreenRect(panel);
    ASSERT_TRUE(MovePointer(POINT{panelRect.left + 370, panelRect.top + 450}));
    ::Sleep(300);
    const Image intactFace = ResourcePng(Files().tool, kRepairNormalImage);
    ASSERT_FALSE(intactFace.Empty());
    EXPECT_LT(ShareShowing(intactFace, ControlScreenRect(panel, kPanelMarker)), 0.5);

    EXPECT_EQ(Utf8(kTextRepairSucceeded), RepairOnce(run, panel));
    EXPECT_TRUE(run.Running());
    EXPECT_TRUE(::IsWindowVisible(panel));
    EXPECT_EQ(2u, run.AgentCalls().size());
    run.Kill();
}

// Without the main window's picture (gone from a damaged copy) the tool cannot show itself: the system's message box says
// so, and once it is confirmed the tool ends and its folder stays as it was.
TEST(DamagedImages, AMainWindowPictureThatCannotLoadIsSaidAndRemovesNothing)
{
    ScratchFolder build(ScratchPath(L"frameless-build"));
    ToolFiles files = Files();
    files.tool = build.File(L"Veskar.exe");
    ASSERT_TRUE(build.CopyIn(Files().tool, L"Veskar.exe"));
    ASSERT_TRUE(RenumberImage(files.tool, kMainFramePicture, kMainFramePicture - 1));
    ASSERT_TRUE(ResourceBytes(files.tool, kMainFramePicture, L"PNG").empty());

    ScratchFolder folder(ScratchPath(L"frameless"));
    ToolRun run(files, folder.Path(), QuietAgent());
    ASSERT_TRUE(run.Started()) << run.Error();
    HWND box = WaitForTopLevel(run, L"#32770", kToolTitle, 15000);
    ASSERT_NE(nullptr, box) << "no message box";
    EXPECT_EQ(L"工具初始化失败", ControlText(box, 0xFFFF));
    EXPECT_TRUE(run.WindowsWith(kPanelMarker).empty());
    ASSERT_TRUE(ClickControl(box, IDOK));
    DWORD exitCode = 1;
    ASSERT_TRUE(run.WaitForExit(10000, &exitCode));
    EXPECT_EQ(0u, exitCode);
    // The removal, were it started, would have gone within a few seconds.
    ::Sleep(4000);
    EXPECT_EQ(ToolFileList(), EntryList(folder));
    EXPECT_TRUE(run.FeedbackCalls().empty()) << "the panel's start-up ran without a window to show it";
}

// Only 3 announces a newer version and only 0 fails the initialisation: every other answer
// lets the tool start normally. One copy runs at a time: each run is checked and ended before
// the next starts, and the last one repairs and closes as usual.
TEST(OddFeedbackAnswers, AnyNonZeroInitialisationAndAnyVersionAnswerButThreeStartTheTool)
{
    struct Answers {
        const wchar_t* init;
        const wchar_t* newVersion;
    };
    const Answers cases[] = {
        {L"-1", L"-1"}, {L"2", L"1"}, {L"2147483647", L"2"}, {L"-2147483648", L"4"},
        {L"7", L"2147483647"}, {L"1", L"-2147483648"},
    };
    const std::vector<std::string> expectedCalls = {"InitFreedbackDll", "GetToolIsNewVersion\t10046\t1.0.3"};
    for (const Answers& answers : cases) {
        SCOPED_TRACE("InitFreedbackDll " + Utf8(answers.init) + ", GetToolIsNewVersion " + Utf8(answers.newVersion));
        LaunchOptions options = QuietAgent();
        options.environment.emplace_back(L"VESKAR_FEEDBACK_INIT", answers.init);
        options.environment.emplace_back(L"VESKAR_FEEDBACK_NEW_VERSION", answers.newVersion);
        ToolSession tool(L"odd-feedback", options);
        ASSERT_TRUE(tool->Started()) << tool->Error();
        HWND panel = tool->WaitForPanel(30000);
        ASSERT_NE(nullptr, panel) << "the panel did not show";
        EXPECT_TRUE(WaitUntil([&] { return CountCalls(tool.Run(), "GetToolIsNewVersion") > 0; }, 15000));
        // Time for a wrong prompt or a download page to follow the answer.
        ::Sleep(1000);
        EXPECT_TRUE(tool->Running());
        EXPECT_TRUE(tool->WindowsWith(kPromptMarker).empty()) << "a prompt showed";
        EXPECT_EQ(expectedCalls, tool->FeedbackCalls());
        if (&answers != &cases[std::size(cases) - 1]) {
            continue;
        }
        EXPECT_EQ(Utf8(kTextRepairSucceeded), RepairOnce(tool.Run(), panel));
        EXPECT_TRUE(tool->CloseByCloseButton()) << "the tool did not end by its close button";
    }
}

// Whatever logCfg.ini holds, a failed repair leaves exactly its one record and a succeeded
// one none.
TEST(HostileLogConfigRun, EachFailedRepairLeavesItsRecordWhateverLogCfgHolds)
{
    struct Config {
        const char* name;
        std::string bytes;
    };
    const Config configs[] = {
        {"a megabyte of binary bytes", PseudoRandomBytes(1 << 20, 99)},
        {"long lines, no section, numbers that wrap to 1",
         std::string(300000, 'x') + "\r\nprint=1\r\n" + std::string(100000, '[') + "\r\nprint=4294967297\r\n"},
    };
    const std::string record = Cp936(kRemoveStep.failedRecord);
    for (const Config& config : configs) {
        SCOPED_TRACE(config.name);
        ScopedLogConfig logConfig(config.bytes);
        ASSERT_TRUE(logConfig.Written());
        ToolSession tool(L"hostile-log-config", QuietAgent());
        ASSERT_TRUE(tool->Started()) << tool->Error();
        HWND panel = tool->WaitForPanel();
        ASSERT_NE(nullptr, panel);
        ASSERT_TRUE(WaitForVersionCheck(tool.Run()));

        const std::wstring logPath = RepairLogPath();
        const size_t logStart = ReadBytes(logPath).size();
        {
            AgentAway away;
            ASSERT_TRUE(away.Moved());
            EXPECT_EQ(Utf8(kTextRepairFailed), RepairOnce(tool.Run(), panel));
        }
        std::vector<std::string> records;
        EXPECT_TRUE(WaitUntil([&] { return !(records = RecordsFrom(ReadBytes(logPath), logStart)).empty(); }, 5000));
        EXPECT_EQ(Utf8(kTextRepairSucceeded), RepairOnce(tool.Run(), panel));
        ::Sleep(300);
        records = RecordsFrom(ReadBytes(logPath), logStart);
        ASSERT_EQ(1u, records.size());
        EXPECT_TRUE(HasStamp(records[0])) << records[0];
        EXPECT_EQ(record, records[0].substr(std::min(kStampLength, records[0].size())));
        EXPECT_TRUE(tool->Running());
    }
}
