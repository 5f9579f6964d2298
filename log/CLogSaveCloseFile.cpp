#include "log/CLogSaveCloseFile.h"

#include "framework/Handles.h"
#include "log/LogRecord.h"

void CLogSaveCloseFile::WritePacket(CPacketLog& packet)
{
    const std::wstring path = GetLogFolder() + Cp936ToWide(packet.GetFileName());
    CSingleLock lock(m_lock);
    UniqueHandle file(OpenLogFile(path));
    if (!file.Valid()) {
        return;  // the record is lost; the next one tries again
    }
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const uint64_t length = AppendToLogFile(file.Get(), FormatLogRecord(now, packet.GetContent()));
    if (length > kLogSizeLimit) {
        MoveToBackup(file.Get(), path);
    }
}
