#include "log/CLogSave.h"

#include <windows.h>
#include <shlobj.h>

#include <cstdlib>
#include <cwctype>

#include "log/CLogSaveCloseFile.h"
#include "log/CLogSaveOpenFile.h"

namespace {

const wchar_t kLogFolderName[] = L"ToolLog";

// Where the configuration keeps whether every record is written (1) or only the forced ones.
struct ProfileEntry {
    const wchar_t* fileName;
    const wchar_t* section;
    const wchar_t* key;
    const wchar_t* defaultValue;
};
const ProfileEntry kPrintEntry = {
    .fileName = L"logCfg.ini",
    .section = L"Log",
    .key = L"print",
    .defaultValue = L"-1",
};

// Writer kind: 1 keeps files open (CLogSaveOpenFile), anything else opens and closes them
// per record (CLogSaveCloseFile). Fixed; not read from the configuration.
const wchar_t kWriterMode[] = L"0";

}  // namespace

CLogSave& CLogSave::GetInstance()
{
    static CLogSave instance(GetBaseFolder());
    return instance;
}

CLogSave::CLogSave(const std::wstring& baseFolder)
{
    m_logFolder = baseFolder + kLogFolderName;
    // Only this one level is made. A folder that is not ours (or anything else by that name)
    // gets no writer: every record is lost, as when a file cannot be written.
    m_folder = std::make_unique<LogFolder>(m_logFolder);
    m_logFolder += L"\\";

    const ProfileEntry& entry = kPrintEntry;
    const std::wstring print =
        ReadProfileString(baseFolder + entry.fileName, entry.section, entry.key, entry.defaultValue);
    m_print = _wtoi(print.c_str()) == 1;

    if (!m_folder->Usable()) {
        return;
    }
    if (_wtoi(kWriterMode) == 1) {
        m_writer = std::make_unique<CLogSaveOpenFile>(m_logFolder);
    } else {
        m_writer = std::make_unique<CLogSaveCloseFile>(m_logFolder);
    }
}

CLogSave::~CLogSave() { m_writer.reset(); }

void CLogSave::WriteLog(std::string message, std::string fileName, bool force)
{
    if ((force || m_print) && m_writer) {
        m_writer->WriteText(std::move(message), std::move(fileName));
    }
}

std::wstring CLogSave::GetBaseFolder()
{
    wchar_t path[1024] = {};
    if (!::SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_APPDATA, FALSE)) {
        return std::wstring();
    }
    return std::wstring(path) + L"\\";
}

std::wstring CLogSave::ReadProfileString(std::wstring filePath, std::wstring section, std::wstring key,
                                         std::wstring defaultValue)
{
    wchar_t value[100] = {};
    ::GetPrivateProfileStringW(section.c_str(), key.c_str(), defaultValue.c_str(), value, 100, filePath.c_str());
    std::wstring text(value);
    size_t first = 0;
    while (first < text.size() && std::iswspace(text[first])) {
        ++first;
    }
    size_t last = text.size();
    while (last > first && std::iswspace(text[last - 1])) {
        --last;
    }
    return text.substr(first, last - first);
}
