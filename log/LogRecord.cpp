#include "log/LogRecord.h"

#include <cstdio>

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
    return ::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                         OPEN_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
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

void MoveToBackup(const std::wstring& path)
{
    ::MoveFileExW(path.c_str(), BackupPathOf(path).c_str(), MOVEFILE_REPLACE_EXISTING);
}
