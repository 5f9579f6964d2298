#include "log/LogRecord.h"

#include <cstdio>
#include <vector>

#include "framework/Handles.h"
#include "log/LogFolder.h"

std::wstring Cp936ToWide(const std::string& text)
{
    if (text.empty()) {
        return std::wstring();
    }
    const int size = ::MultiByteToWideChar(kLogCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(size > 0 ? size : 0, L'\0');
    if (size > 0) {
        ::MultiByteToWideChar(kLogCodePage, 0, text.data(), static_cast<int>(text.size()), &wide[0], size);
    }
    return wide;
}

std::string WideToCp936(const std::wstring& text)
{
    if (text.empty()) {
        return std::string();
    }
    const int size = ::WideCharToMultiByte(kLogCodePage, 0, text.data(), static_cast<int>(text.size()), nullptr, 0,
                                           nullptr, nullptr);
    std::string narrow(size > 0 ? size : 0, '\0');
    if (size > 0) {
        ::WideCharToMultiByte(kLogCodePage, 0, text.data(), static_cast<int>(text.size()), &narrow[0], size,
                              nullptr, nullptr);
    }
    return narrow;
}

std::string FormatLogRecord(const SYSTEMTIME& time, const std::string& content)
{
    char stamp[64];
    std::snprintf(stamp, sizeof(stamp), "[%04d-%02d-%02d %02d:%02d:%02d %03dms]   ", time.wYear, time.wMonth,
                  time.wDay, time.wHour, time.wMinute, time.wSecond, time.wMilliseconds);
    // Through wide text and back: valid code page 936 text comes out byte for byte, anything
    // else as the code page's replacement characters.
    return stamp + WideToCp936(Cp936ToWide(content)) + "\r\n";
}

std::string HexText(const unsigned char* bytes, int count)
{
    std::string text;
    if (bytes == nullptr) {
        return text;
    }
    text.reserve(count > 0 ? static_cast<size_t>(count) * 3 : 0);
    for (int i = 0; i < count; ++i) {
        char digits[4];
        std::snprintf(digits, sizeof(digits), "%02X ", bytes[i]);
        text += digits;
    }
    return text;
}

std::wstring BackupPathOf(const std::wstring& path) { return path + L"bak"; }

HANDLE OpenLogFile(const std::wstring& path)
{
    // The path is asked as well as the handle: Wine shows a link only on its path.
    if (IsReparsePoint(::GetFileAttributesW(path.c_str()))) {
        return INVALID_HANDLE_VALUE;
    }
    UniqueHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE | DELETE,
                                    FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    BY_HANDLE_FILE_INFORMATION info = {};
    if (!file.Valid() || !::GetFileInformationByHandle(file.Get(), &info) ||
        (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) || IsReparsePoint(info.dwFileAttributes) ||
        info.nNumberOfLinks != 1) {
        return INVALID_HANDLE_VALUE;
    }
    return file.Release();
}

uint64_t AppendToLogFile(HANDLE file, const std::string& record)
{
    LARGE_INTEGER zero = {};
    ::SetFilePointerEx(file, zero, nullptr, FILE_END);
    DWORD written = 0;
    ::WriteFile(file, record.data(), static_cast<DWORD>(record.size()), &written, nullptr);
    LARGE_INTEGER size = {};
    if (!::GetFileSizeEx(file, &size)) {
        return 0;
    }
    return static_cast<uint64_t>(size.QuadPart);
}

void MoveToBackup(HANDLE file, const std::wstring& path)
{
    const std::wstring backup = BackupPathOf(path);
    const size_t nameBytes = backup.size() * sizeof(wchar_t);
    // FILE_RENAME_INFO ends in the first character of the name; the rest follows it.
    std::vector<BYTE> buffer(sizeof(FILE_RENAME_INFO) + nameBytes);
    auto* rename = reinterpret_cast<FILE_RENAME_INFO*>(buffer.data());
    rename->ReplaceIfExists = TRUE;
    rename->RootDirectory = nullptr;
    rename->FileNameLength = static_cast<DWORD>(nameBytes);
    backup.copy(rename->FileName, backup.size());
    ::SetFileInformationByHandle(file, FileRenameInfo, rename, static_cast<DWORD>(buffer.size()));
}
