#pragma once
#include <windows.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "framework/CCriticalSection.h"
#include "framework/Handles.h"
#include "log/CLogBase.h"

// The second writer kind: keeps each log file open between records, one entry and one lock
// per file path.
class CLogSaveOpenFile : public CLogBase {
public:
    // One log file, open from its first record until a rotation or the writer's end.
    class CLogFile {
    public:
        CLogFile(std::wstring path, uint32_t sizeLimit);
        virtual ~CLogFile() = default;
        CLogFile(const CLogFile&) = delete;
        CLogFile& operator=(const CLogFile&) = delete;

        // 1 when the record was written, 0 when the file could not be opened.
        int Write(CPacketLog packet);
        // Closes the file and moves it to its backup name.
        void Rotate();
        std::wstring GetPath() const { return m_path; }

    private:
        UniqueHandle m_file;
        const std::wstring m_path;
        const uint32_t m_sizeLimit;
        CCriticalSection m_lock;
    };

    explicit CLogSaveOpenFile(std::wstring logFolder) : CLogBase(std::move(logFolder)) {}

    void WritePacket(CPacketLog& packet) override;

    // The entry for the log folder followed by the name (compared code unit by code unit, so
    // letter case counts), added on first use. The writer keeps ownership.
    CLogFile* FindOrAddFile(const std::wstring& fileName);

private:
    // Guards the list itself, so that threads writing to different files can look up and
    // add entries at the same time; each file's records are serialised by its own lock.
    CCriticalSection m_listLock;
    std::vector<std::unique_ptr<CLogFile>> m_files;
};
