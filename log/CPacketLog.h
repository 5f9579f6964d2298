#pragma once
#include <string>
#include <utility>

#include "log/CObjectBase.h"

// One log record: the log file's name (relative to the log folder) and the record's text,
// both narrow code page 936 text without a line end.
class CPacketLog : public CObjectBase {
public:
    void SetFileName(std::string fileName) { m_fileName = std::move(fileName); }
    void SetContent(std::string content) { m_content = std::move(content); }
    std::string GetFileName() const { return m_fileName; }
    std::string GetContent() const { return m_content; }

private:
    std::string m_fileName;
    std::string m_content;
};
