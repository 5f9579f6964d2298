#pragma once
#include "framework/CCriticalSection.h"
#include "log/CLogBase.h"

// The writer the program uses: opens the file, appends one record and closes it again for
// every record, so no log file is held between records. One lock serialises all records.
class CLogSaveCloseFile : public CLogBase {
public:
    explicit CLogSaveCloseFile(std::wstring logFolder) : CLogBase(std::move(logFolder)) {}

    void WritePacket(CPacketLog& packet) override;

private:
    CCriticalSection m_lock;
};
