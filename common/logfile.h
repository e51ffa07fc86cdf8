// The shared log file: fixed-width records without separators, a header as
// first record, opened and closed for every record, rotated into an archive
// when full.
//
// Record (190 bytes): date "%m-%d-%Y" (10), time "%H:%M:%S" (8), module (20),
// procedure (20), event text (130), every field NUL-padded and cut to its
// width, then CR LF.
#pragma once
#include "fw/framework.h"

enum {
    LOG_DATE_WIDTH = 10,
    LOG_TIME_WIDTH = 8,
    LOG_MODULE_WIDTH = 20,
    LOG_PROCEDURE_WIDTH = 20,
    LOG_EVENT_WIDTH = 130,
    LOG_DATE_OFFSET = 0,
    LOG_TIME_OFFSET = 10,
    LOG_MODULE_OFFSET = 18,
    LOG_PROCEDURE_OFFSET = 38,
    LOG_EVENT_OFFSET = 58,
    LOG_FIELDS_SIZE = 188, // a record without its CR LF
    LOG_RECORD_SIZE = 190, // a record with its CR LF
    LOG_MAX_RECORDS = 500, // header + 499 entries
    LOG_PATH_SIZE = 261
};

class CLogFile : public CFile
{
public:
    CLogFile();
    virtual ~CLogFile();

    // Appends one record with the current local date and time. 1 when it was
    // written, 0 when the log cannot be opened (the record is dropped).
    int WriteEntry(const char* eventText);

    // Opens the log (creating it with its header), rotates it when full and
    // positions at its end. 1 when open; the caller closes it.
    int OpenLog();

    // Writes the header record at the current position.
    void WriteHeader();

    // Owner's settings: copies cut to the field widths.
    void SetLogPath(const char* path);
    void SetArchivePath(const char* path); // also enables the archive when non-empty
    void SetModule(const char* module);
    void SetProcedure(const char* procedure);

    // The standard location used by every deliverable: application data +
    // "\Talvery\Pirt\pirt.log", archive = that + ".archive", enabled.
    void SetStandardLocation();

    int m_archiveEnabled;
    char m_logPath[LOG_PATH_SIZE];
    char m_archivePath[LOG_PATH_SIZE];
    char m_module[LOG_MODULE_WIDTH];       // not NUL-terminated when full
    char m_procedure[LOG_PROCEDURE_WIDTH]; // not NUL-terminated when full
    char m_header[LOG_FIELDS_SIZE];
    int m_recordCount;

protected:
    int RotateIntoArchive();
    int RotateDroppingOldest();
    void BuildRecord(char* record, const char* date, const char* time, const char* eventText) const;
};

// Sets the standard log location on a log object (see CLogFile::SetStandardLocation).
void SetStandardLogLocation(CLogFile& log);
