#include "log/CLogSaveOpenFile.h"

#include "log/LogRecord.h"

CLogSaveOpenFile::CLogFile::CLogFile(std::wstring path, uint32_t sizeLimit)
    : m_path(std::move(path)), m_sizeLimit(sizeLimit)
{
}

int CLogSaveOpenFile::CLogFile::Write(CPacketLog packet)
{
    CSingleLock lock(m_lock);
    if (!m_file.Valid()) {
        m_file.Reset(OpenLogFile(m_path));
        if (!m_file.Valid()) {
            m_file.Reset();
            return 0;
        }
    }
    SYSTEMTIME now;
    ::GetLocalTime(&now);
    const uint64_t length = AppendToLogFile(m_file.Get(), FormatLogRecord(now, packet.GetContent()));
    if (length > m_sizeLimit) {
        Rotate();
    }
    return 1;
}

void CLogSaveOpenFile::CLogFile::Rotate()
{
    if (m_file.Valid()) {
        MoveToBackup(m_file.Get(), m_path);
    }
    m_file.Reset();
}

CLogSaveOpenFile::CLogFile* CLogSaveOpenFile::FindOrAddFile(const std::wstring& fileName)
{
    const std::wstring path = GetLogFolder() + fileName;
    CSingleLock lock(m_listLock);
    for (const auto& file : m_files) {
        if (file->GetPath() == path) {
            return file.get();
        }
    }
    m_files.push_back(std::make_unique<CLogFile>(path, static_cast<uint32_t>(kLogSizeLimit)));
    return m_files.back().get();
}

void CLogSaveOpenFile::WritePacket(CPacketLog& packet)
{
    if (CLogFile* file = FindOrAddFile(Cp936ToWide(packet.GetFileName()))) {
        file->Write(packet);
    }
}
