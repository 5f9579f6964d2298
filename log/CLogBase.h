#pragma once
#include <string>

#include "log/CPacketLog.h"
#include "log/LogRecord.h"

// The abstract log writer: appends time-stamped records to files in one log folder.
class CLogBase {
public:
    // logFolder: full path of the log folder with a trailing backslash.
    explicit CLogBase(std::wstring logFolder) : m_logFolder(std::move(logFolder)) {}
    virtual ~CLogBase() = default;
    CLogBase(const CLogBase&) = delete;
    CLogBase& operator=(const CLogBase&) = delete;

    // One record with the packet's content, in the file the packet names.
    virtual void WritePacket(CPacketLog& packet) = 0;
    // One record holding the bytes as hex text ("0A 1B FF "); a count of 0 or less gives an
    // empty record.
    void WriteHex(const unsigned char* bytes, int count, std::string fileName)
    {
        CPacketLog packet = MakePacket(HexText(bytes, count), std::move(fileName));
        WritePacket(packet);
    }
    // One record holding the message.
    void WriteText(std::string message, std::string fileName)
    {
        CPacketLog packet = MakePacket(std::move(message), std::move(fileName));
        WritePacket(packet);
    }

    const std::wstring& GetLogFolder() const { return m_logFolder; }

protected:
    static CPacketLog MakePacket(std::string content, std::string fileName)
    {
        CPacketLog packet;
        packet.SetContent(std::move(content));
        packet.SetFileName(std::move(fileName));
        return packet;
    }

private:
    const std::wstring m_logFolder;
};
