// The command that removes the tool's files after it has closed: the executable first, once
// it can be, then the library and the folder only when empty (rmdir without /s), never a
// root or a known folder, and nothing at all for a path the command interpreter would expand
// or mis-quote.
#include <gtest/gtest.h>

#include "app/SelfRemoval.h"
#include "framework/SystemFolders.h"

namespace {

const std::vector<std::wstring> kLibrary = {L"TovarinFeedbackInformation.dll"};
const wchar_t kSystem[] = L"C:\\windows\\system32";

std::string Narrow(const std::wstring& text)
{
    return std::string(text.begin(), text.end());
}

std::wstring Parameters(const std::wstring& folder)
{
    return BuildSelfRemovalParameters(folder, L"Veskar.exe", kLibrary, kSystem);
}

}  // namespace

TEST(SelfRemovalParameters, DeletesTheExecutableOnceItCanThenTheLibraryThenTheFolderOnlyWhenEmpty)
{
    EXPECT_EQ(
        "/D /V:OFF /C (for /L %i in (1,1,10) do (if exist \"C:\\Tools\\Veskar\\Veskar.exe\""
        " del /f /q \"C:\\Tools\\Veskar\\Veskar.exe\""
        " & if exist \"C:\\Tools\\Veskar\\Veskar.exe\" \"C:\\windows\\system32\\timeout.exe\" /t 1 /nobreak))"
        " & if not exist \"C:\\Tools\\Veskar\\Veskar.exe\""
        " (del /f /q \"C:\\Tools\\Veskar\\TovarinFeedbackInformation.dll\" & rmdir \"C:\\Tools\\Veskar\")",
        Narrow(Parameters(L"C:\\Tools\\Veskar")));
}

TEST(SelfRemovalParameters, PathsWithBlanksAreQuotedWhole)
{
    const std::string parameters = Narrow(Parameters(L"C:\\Users\\Li Lei\\Downloads\\Veskar 1.0.3"));
    EXPECT_NE(std::string::npos,
              parameters.find("del /f /q \"C:\\Users\\Li Lei\\Downloads\\Veskar 1.0.3\\Veskar.exe\""));
    EXPECT_NE(std::string::npos, parameters.find("rmdir \"C:\\Users\\Li Lei\\Downloads\\Veskar 1.0.3\""));
    EXPECT_EQ(std::string::npos, parameters.find("/s")) << "never recursive";
}

TEST(SelfRemovalParameters, NothingIsRemovedWhenAPathHoldsACharacterTheInterpreterExpandsOrAQuotationMark)
{
    EXPECT_EQ(L"", Parameters(L"C:\\Users\\%USERNAME%\\Desktop"));
    EXPECT_EQ(L"", Parameters(L"C:\\Tools\\100%"));
    EXPECT_EQ(L"", Parameters(L"C:\\Tools\\new!"));
    EXPECT_EQ(L"", Parameters(L"C:\\Tools\\!PATH!"));
    EXPECT_EQ(L"", Parameters(L"C:\\Tools\\a\" & rmdir /s /q \"C:\\"));
    EXPECT_EQ(L"", Parameters(L"C:\\Tools\\a\r\nrmdir C:\\"));
    EXPECT_EQ(L"", BuildSelfRemovalParameters(L"C:\\Tools", L"Veskar%PATH%.exe", kLibrary, kSystem));
    EXPECT_EQ(L"", BuildSelfRemovalParameters(L"C:\\Tools", L"Veskar!.exe", kLibrary, kSystem));
    EXPECT_EQ(L"", BuildSelfRemovalParameters(L"C:\\Tools", L"Veskar.exe", {L"lib!.dll"}, kSystem));
    EXPECT_EQ(L"", Parameters(L"")) << "no folder, nothing to remove";
    // What the interpreter takes literally inside quotation marks is no reason to refuse.
    EXPECT_NE(L"", Parameters(L"C:\\Tools\\R&D (copy) ^1 <2> |3"));
}

// The tool's own files still go from such a folder; the folder itself stays, even empty.
TEST(SelfRemovalParameters, RootsAndKnownFoldersAreNeverRemoved)
{
    std::vector<std::wstring> kept = {L"C:",
                                      L"C:\\",
                                      L"c:\\.",
                                      L"C:\\Tools\\..",
                                      L"\\\\?\\C:\\",
                                      L"\\\\server\\share",
                                      L"\\\\server\\share\\",
                                      L"\\\\?\\UNC\\server\\share"};
    for (const KNOWNFOLDERID* id : {&FOLDERID_Desktop, &FOLDERID_Downloads, &FOLDERID_Documents,
                                    &FOLDERID_PublicDesktop, &FOLDERID_PublicDocuments, &FOLDERID_Profile}) {
        kept.push_back(KnownFolder(*id) + (id == &FOLDERID_Documents ? L"\\" : L""));
    }
    for (const std::wstring& folder : kept) {
        SCOPED_TRACE(Narrow(folder));
        ASSERT_GT(folder.size(), 1u);
        EXPECT_FALSE(MayRemoveFolder(folder));
        const std::string parameters = Narrow(Parameters(folder));
        EXPECT_NE(std::string::npos, parameters.find("del /f /q ")) << parameters;
        EXPECT_EQ(std::string::npos, parameters.find("rmdir")) << parameters;
    }
    // Compared without regard to case, "." and ".." or a short name.
    std::wstring desktop = KnownFolder(FOLDERID_Desktop);
    ::CharUpperBuffW(&desktop[0], static_cast<DWORD>(desktop.size()));
    EXPECT_FALSE(MayRemoveFolder(desktop + L"\\.\\..\\Desktop"));
    wchar_t shortName[MAX_PATH] = {};
    ASSERT_GT(::GetShortPathNameW(KnownFolder(FOLDERID_Downloads).c_str(), shortName, MAX_PATH), 0u);
    EXPECT_FALSE(MayRemoveFolder(shortName)) << Narrow(shortName);

    EXPECT_TRUE(MayRemoveFolder(KnownFolder(FOLDERID_Downloads) + L"\\Veskar-1.0.3"));
    EXPECT_TRUE(MayRemoveFolder(L"\\\\server\\share\\Veskar"));
    EXPECT_TRUE(MayRemoveFolder(L"C:\\Tools"));
}
