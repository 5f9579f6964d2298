#include "tests/soak/ProcessCensus.h"

#include <tlhelp32.h>
#include <winternl.h>

#include <vector>

namespace soak {
namespace {

// The x64 layout shared by Windows and Wine: the process environment block keeps the GDI
// handle table's address at pebOffset, and an entry's type byte is 0 while the entry is free.
struct GdiTableLayout {
    size_t pebOffset;
    size_t entryCount;
    size_t entrySize;
    size_t typeOffset;
};
constexpr GdiTableLayout kGdiTable = {
    .pebOffset = 0xF8,
    .entryCount = 0x10000,
    .entrySize = 24,
    .typeOffset = 14,
};

// Handle values are multiples of 4; a process with a few hundred handles uses values far
// below this.
constexpr ULONG_PTR kHighestHandleProbed = 0x4000;

using QueryInformationProcess = NTSTATUS(NTAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);

FARPROC NtFunction(const char* name)
{
    return ::GetProcAddress(::GetModuleHandleW(L"ntdll.dll"), name);
}

// The handle values open in the process, found by duplicating each possible value; the
// copies are closed at once. `process` needs PROCESS_DUP_HANDLE.
DWORD ProbeOpenHandles(HANDLE process)
{
    DWORD open = 0;
    for (ULONG_PTR value = 4; value <= kHighestHandleProbed; value += 4) {
        HANDLE copy = nullptr;
        if (::DuplicateHandle(process, reinterpret_cast<HANDLE>(value), ::GetCurrentProcess(), &copy, 0, FALSE,
                              DUPLICATE_SAME_ACCESS)) {
            ::CloseHandle(copy);
            ++open;
        }
    }
    return open;
}

// Live entries of the GDI handle table the process's environment block points at; 0 when it
// cannot be read.
DWORD GdiTableEntries(HANDLE process)
{
    auto query = reinterpret_cast<QueryInformationProcess>(NtFunction("NtQueryInformationProcess"));
    PROCESS_BASIC_INFORMATION basic{};
    ULONG size = 0;
    if (!query || query(process, ProcessBasicInformation, &basic, sizeof(basic), &size) != 0) {
        return 0;
    }
    ULONG_PTR table = 0;
    SIZE_T read = 0;
    const auto* slot = reinterpret_cast<const BYTE*>(basic.PebBaseAddress) + kGdiTable.pebOffset;
    if (!::ReadProcessMemory(process, slot, &table, sizeof(table), &read) || table == 0) {
        return 0;
    }
    std::vector<BYTE> entries(kGdiTable.entryCount * kGdiTable.entrySize);
    if (!::ReadProcessMemory(process, reinterpret_cast<const void*>(table), entries.data(), entries.size(), &read) ||
        read != entries.size()) {
        return 0;
    }
    DWORD live = 0;
    for (size_t i = 0; i < kGdiTable.entryCount; ++i) {
        live += entries[i * kGdiTable.entrySize + kGdiTable.typeOffset] != 0 ? 1 : 0;
    }
    return live;
}

BOOL CALLBACK CountChild(HWND, LPARAM count)
{
    ++*reinterpret_cast<DWORD*>(count);
    return TRUE;
}

}  // namespace

std::string Census::Text() const
{
    return std::string(fromGuiResources ? "GDI objects " : "GDI table entries ") + std::to_string(gdiObjects) +
           (fromGuiResources ? ", USER objects " : ", windows ") + std::to_string(userObjects) + ", handles " +
           std::to_string(handles) + ", threads " + std::to_string(threads);
}

DWORD CountThreads(DWORD pid)
{
    HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPTHREAD, 0);
    if (snapshot == INVALID_HANDLE_VALUE) {
        return 0;
    }
    DWORD count = 0;
    THREADENTRY32 entry{sizeof(entry)};
    for (BOOL more = ::Thread32First(snapshot, &entry); more; more = ::Thread32Next(snapshot, &entry)) {
        count += entry.th32OwnerProcessID == pid ? 1 : 0;
    }
    ::CloseHandle(snapshot);
    return count;
}

DWORD CountWindows(DWORD pid)
{
    struct Search {
        DWORD pid;
        DWORD count;
    } search{pid, 0};
    ::EnumWindows(
        [](HWND window, LPARAM param) -> BOOL {
            auto* s = reinterpret_cast<Search*>(param);
            DWORD owner = 0;
            ::GetWindowThreadProcessId(window, &owner);
            if (owner == s->pid) {
                ++s->count;
                ::EnumChildWindows(window, &CountChild, reinterpret_cast<LPARAM>(&s->count));
            }
            return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    return search.count;
}

Census TakeCensus(HANDLE process)
{
    Census census;
    const DWORD pid = ::GetProcessId(process);
    census.gdiObjects = ::GetGuiResources(process, GR_GDIOBJECTS);
    census.userObjects = ::GetGuiResources(process, GR_USEROBJECTS);
    census.fromGuiResources = census.gdiObjects != 0 && census.userObjects != 0;
    if (!census.fromGuiResources) {
        census.gdiObjects = GdiTableEntries(process);
        census.userObjects = CountWindows(pid);
    }
    DWORD handles = 0;
    census.handles = ::GetProcessHandleCount(process, &handles) && handles != 0 ? handles : ProbeOpenHandles(process);
    census.threads = CountThreads(pid);
    // Every process holds some GDI objects (the stock ones), handles and a thread; it may hold
    // no window.
    census.complete = census.gdiObjects != 0 && census.handles != 0 && census.threads != 0;
    return census;
}

}  // namespace soak
