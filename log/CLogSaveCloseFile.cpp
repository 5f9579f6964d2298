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

void CLogSaveCloseFile::WriteHex(const unsigned char* bytes, int count, std::string fileName)
{
    CPacketLog packet = MakePacket(HexText(bytes, count), std::move(fileName));
    WritePacket(packet);
}

void CLogSaveCloseFile::WriteText(std::string message, std::string fileName)
{
    CPacketLog packet = MakePacket(std::move(message), std::move(fileName));
    WritePacket(packet);
}
