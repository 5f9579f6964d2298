#include "tests/repair/ChildProcess.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

namespace {

// Where the 64-bit environment block keeps the start-up parameters, and where those keep
// the standard input, the current folder and the command line.
constexpr size_t kParametersInPeb = 0x20;
constexpr size_t kStandardInput = 0x20;
constexpr size_t kCurrentFolder = 0x38;
constexpr size_t kCommandLine = 0x70;

template <typename T>
bool ReadAt(HANDLE process, const void* address, T& value)
{
    SIZE_T read = 0;
    return ::ReadProcessMemory(process, address, &value, sizeof(value), &read) && read == sizeof(value);
}

bool ReadText(HANDLE process, const BYTE* parameters, size_t offset, std::wstring& text)
{
    UNICODE_STRING string = {};
    if (!ReadAt(process, parameters + offset, string)) {
        return false;
    }
    text.assign(string.Length / sizeof(wchar_t), L'\0');
    SIZE_T read = 0;
    return text.empty() || ::ReadProcessMemory(process, string.Buffer, &text[0], string.Length, &read);
}

HANDLE Duplicate(HANDLE process, HANDLE handle)
{
    HANDLE copy = nullptr;
    ::DuplicateHandle(process, handle, ::GetCurrentProcess(), &copy, 0, FALSE, DUPLICATE_SAME_ACCESS);
    return copy;
}

}  // namespace

DWORD ParentProcessId(DWORD pid)
{
    const HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
    PROCESSENTRY32W entry = {sizeof(entry)};
    DWORD parent = 0;
    for (BOOL more = ::Process32FirstW(snapshot, &entry); more && parent == 0;
         more = ::Process32NextW(snapshot, &entry)) {
        if (entry.th32ProcessID == pid) {
            parent = entry.th32ParentProcessID;
        }
    }
    ::CloseHandle(snapshot);
    return parent;
}

bool ReadStartParameters(HANDLE process, StartParameters& parameters)
{
    PROCESS_BASIC_INFORMATION basic = {};
    ULONG size = 0;
    const BYTE* block = nullptr;
    if (::NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof(basic), &size) != 0 ||
        !ReadAt(process, reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kParametersInPeb, block)) {
        return false;
    }
    return ReadAt(process, block + kStandardInput, parameters.standardInput) &&
           ReadText(process, block, kCurrentFolder, parameters.currentFolder) &&
           ReadText(process, block, kCommandLine, parameters.commandLine);
}

bool HoldsInherited(HANDLE process, HANDLE ours)
{
    using CompareFn = BOOL(WINAPI*)(HANDLE, HANDLE);
    static const auto compare =
        reinterpret_cast<CompareFn>(::GetProcAddress(::GetModuleHandleW(L"kernelbase.dll"), "CompareObjectHandles"));
    const HANDLE copy = Duplicate(process, ours);
    const bool same = copy && compare && compare(copy, ours);
    if (copy) {
        ::CloseHandle(copy);
    }
    return same;
}

std::wstring ObjectName(HANDLE process, HANDLE handle)
{
    const HANDLE copy = process == ::GetCurrentProcess() ? handle : Duplicate(process, handle);
    std::vector<BYTE> buffer(4096);
    ULONG size = 0;
    std::wstring name;
    if (copy &&
        ::NtQueryObject(copy, ObjectNameInformation, buffer.data(), static_cast<ULONG>(buffer.size()), &size) == 0) {
        const auto* info = reinterpret_cast<const OBJECT_NAME_INFORMATION*>(buffer.data());
        name.assign(info->Name.Buffer, info->Name.Length / sizeof(wchar_t));
    }
    if (copy && copy != handle) {
        ::CloseHandle(copy);
    }
    return name;
}
