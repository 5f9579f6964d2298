#pragma once
#include <memory>
#include <string>

#include "log/CLogBase.h"
#include "log/LogFolder.h"

// The program's one log front end. Log files lie in the folder ToolLog under the
// machine-wide application-data folder; logCfg.ini beside that folder switches the
// optional records on (section "Log", key "print" = 1). Forced records are always written.
class CLogSave {
public:
    // The process-wide front end, built on first use for the machine-wide folder.
    static CLogSave& GetInstance();

    // A front end for another base folder (with a trailing backslash), as if it were the
    // machine-wide application-data folder.
    explicit CLogSave(const std::wstring& baseFolder);
    virtual ~CLogSave();
    CLogSave(const CLogSave&) = delete;
    CLogSave& operator=(const CLogSave&) = delete;

    // Appends one record (narrow code page 936 text without a line end) to the named file in
    // the log folder. force writes it even when logCfg.ini does not switch printing on.
    // Reports nothing: a record that cannot be written is lost.
    void WriteLog(std::string message, std::string fileName, bool force);

    // The machine-wide application-data folder with a trailing backslash, or empty.
    static std::wstring GetBaseFolder();
    // The value of a key in a profile file, white space trimmed at both ends.
    static std::wstring ReadProfileString(std::wstring filePath, std::wstring section, std::wstring key,
                                          std::wstring defaultValue);

    bool IsPrintOn() const { return m_print; }
    const std::wstring& GetLogFolder() const { return m_logFolder; }

private:
    bool m_print = false;
    std::wstring m_logFolder;
    std::unique_ptr<LogFolder> m_folder;  // held while the writer writes into it
    std::unique_ptr<CLogBase> m_writer;
};
