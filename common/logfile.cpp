// The shared log file.
#include "logfile.h"
#include "services.h"
#include <cstring>
#include <ctime>
#include <vector>

namespace {

// Copies text into a fixed-width field: cut at the width, NUL-padded, not
// terminated when full.
void CopyField(char* field, int width, const char* text)
{
    memset(field, 0, width);
    if (text != nullptr)
        memcpy(field, text, strnlen(text, width));
}

const UINT kOpenFlags = CFile::modeCreate | CFile::modeNoTruncate | CFile::modeReadWrite | CFile::shareDenyNone;

} // namespace

CLogFile::CLogFile() : m_archiveEnabled(0), m_recordCount(0)
{
    memset(m_logPath, 0, sizeof(m_logPath));
    memset(m_archivePath, 0, sizeof(m_archivePath));
    memset(m_module, 0, sizeof(m_module));
    memset(m_procedure, 0, sizeof(m_procedure));
    BuildRecord(m_header, "DATE", "TIME", nullptr);
    memcpy(m_header + LOG_MODULE_OFFSET, "MODULE", 6);
    memcpy(m_header + LOG_PROCEDURE_OFFSET, "PROCEDURE", 9);
    memcpy(m_header + LOG_EVENT_OFFSET, "EVENT", 5);
}

CLogFile::~CLogFile() {}

void CLogFile::BuildRecord(char* record, const char* date, const char* time, const char* eventText) const
{
    memset(record, 0, LOG_FIELDS_SIZE);
    CopyField(record + LOG_DATE_OFFSET, LOG_DATE_WIDTH, date);
    CopyField(record + LOG_TIME_OFFSET, LOG_TIME_WIDTH, time);
    CopyField(record + LOG_EVENT_OFFSET, LOG_EVENT_WIDTH, eventText);
}

void CLogFile::SetLogPath(const char* path)
{
    memset(m_logPath, 0, sizeof(m_logPath));
    if (path != nullptr)
        memcpy(m_logPath, path, strnlen(path, LOG_PATH_SIZE - 1));
}

void CLogFile::SetArchivePath(const char* path)
{
    memset(m_archivePath, 0, sizeof(m_archivePath));
    if (path != nullptr)
        memcpy(m_archivePath, path, strnlen(path, LOG_PATH_SIZE - 1));
    m_archiveEnabled = m_archivePath[0] != '\0' ? 1 : 0;
}

void CLogFile::SetModule(const char* module) { CopyField(m_module, LOG_MODULE_WIDTH, module); }

void CLogFile::SetProcedure(const char* procedure) { CopyField(m_procedure, LOG_PROCEDURE_WIDTH, procedure); }

void CLogFile::SetStandardLocation()
{
    // Without an application-data folder the log stays off.
    const CString log = GetUserDataFolder("\\Talvery\\Pirt\\pirt.log");
    if (log.IsEmpty()) {
        SetLogPath("");
        SetArchivePath("");
        return;
    }
    SetLogPath(log);
    SetArchivePath(log + ".archive");
}

void SetStandardLogLocation(CLogFile& log) { log.SetStandardLocation(); }

void CLogFile::WriteHeader()
{
    static const char crlf[2] = {'\r', '\n'};
    char record[LOG_RECORD_SIZE];
    memcpy(record, m_header, LOG_FIELDS_SIZE);
    memcpy(record + LOG_FIELDS_SIZE, crlf, 2);
    Write(record, LOG_RECORD_SIZE);
}

int CLogFile::WriteEntry(const char* eventText)
{
    char date[128] = "";
    char time[128] = "";
    __time64_t now = _time64(nullptr);
    struct tm* local = _localtime64(&now);
    if (local == nullptr || strftime(date, sizeof(date), "%m-%d-%Y", local) == 0)
        date[0] = '\0';
    if (local == nullptr || strftime(time, sizeof(time), "%H:%M:%S", local) == 0)
        time[0] = '\0';

    char record[LOG_RECORD_SIZE];
    BuildRecord(record, date, time, eventText);
    memcpy(record + LOG_MODULE_OFFSET, m_module, LOG_MODULE_WIDTH);
    memcpy(record + LOG_PROCEDURE_OFFSET, m_procedure, LOG_PROCEDURE_WIDTH);
    record[LOG_FIELDS_SIZE] = '\r';
    record[LOG_FIELDS_SIZE + 1] = '\n';

    if (!OpenLog())
        return 0;
    // One write per record, so records of concurrent writers never mix.
    const BOOL written = Write(record, LOG_RECORD_SIZE);
    Close();
    return written ? 1 : 0;
}

int CLogFile::OpenLog()
{
    if (m_logPath[0] == '\0')
        return 0;
    if (!Open(m_logPath, kOpenFlags)) {
        // The log's folder belongs to another data root that may not have
        // been seeded yet: make it and try once more.
        CString folder(m_logPath);
        const int slash = folder.ReverseFind('\\');
        if (slash <= 0 || !CreateFullPath(folder.Left(slash)) || !Open(m_logPath, kOpenFlags))
            return 0;
    }

    if (GetLength() == 0) {
        WriteHeader();
        m_recordCount = 1;
        return 1;
    }

    m_recordCount = (int)(GetLength() / LOG_RECORD_SIZE);
    // A log that others filled past the limit is rotated as well.
    if (m_recordCount >= LOG_MAX_RECORDS) {
        // When the archive cannot take the entries, the log keeps its newest
        // ones rather than losing them all.
        if (!(m_archiveEnabled && RotateIntoArchive()))
            RotateDroppingOldest();
    }
    SeekToEnd();
    return 1;
}

int CLogFile::RotateIntoArchive()
{
    if (m_archivePath[0] == '\0')
        return 0;
    CFile archive;
    if (!archive.Open(m_archivePath, kOpenFlags))
        return 0;

    BOOL written = TRUE;
    if (archive.GetLength() == 0) {
        char header[LOG_RECORD_SIZE];
        memcpy(header, m_header, LOG_FIELDS_SIZE);
        header[LOG_FIELDS_SIZE] = '\r';
        header[LOG_FIELDS_SIZE + 1] = '\n';
        written = archive.Write(header, LOG_RECORD_SIZE);
    } else {
        archive.SeekToEnd();
    }

    // Every entry after the header, in pieces: a log that others let grow
    // far past its limit must not need one huge buffer.
    const int chunkRecords = LOG_MAX_RECORDS;
    std::vector<char> chunk((size_t)chunkRecords * LOG_RECORD_SIZE);
    Seek(LOG_RECORD_SIZE, CFile::begin);
    for (int left = m_recordCount - 1; written && left > 0; left -= chunkRecords) {
        const UINT bytes = (UINT)(left < chunkRecords ? left : chunkRecords) * LOG_RECORD_SIZE;
        written = Read(chunk.data(), bytes) == bytes && archive.Write(chunk.data(), bytes);
    }
    archive.Close();
    if (!written)
        return 0; // the entries stay in the log

    SetLength(0);
    SeekToBegin();
    WriteHeader();
    m_recordCount = 1;
    return 1;
}

int CLogFile::RotateDroppingOldest()
{
    // Keep the newest entries that leave room for the header and one more.
    const int keep = LOG_MAX_RECORDS - 2;
    const UINT bytes = (UINT)keep * LOG_RECORD_SIZE;
    std::vector<char> entries(bytes);
    Seek((LONGLONG)(m_recordCount - keep) * LOG_RECORD_SIZE, CFile::begin);
    if (Read(entries.data(), bytes) != bytes)
        return 0; // unreadable: better a long log than an empty one

    SetLength(0);
    SeekToBegin();
    WriteHeader();
    Write(entries.data(), bytes);
    m_recordCount = 1 + keep;
    return 1;
}
