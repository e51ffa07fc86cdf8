// Language texts.
//
// A program looks up some hundred texts before its main window shows; reading
// each one from the file would open the suite INI and the language file every
// time. The chosen file is instead read once per module into memory and read
// again only when the suite INI or the language file changes on disk.
#include "language.h"
#include "fw/handle.h"
#include "services.h"

#include <map>
#include <string>

namespace {

// Size and last write of a file: what tells that it changed.
struct FileStamp
{
    ULONGLONG size = 0;
    ULONGLONG written = 0;
    bool exists = false;

    bool operator==(const FileStamp& o) const { return exists == o.exists && size == o.size && written == o.written; }
};

ULONGLONG Join(DWORD high, DWORD low) { return ((ULONGLONG)high << 32) | low; }

FileStamp StampOf(const CString& path)
{
    FileStamp stamp;
    WIN32_FILE_ATTRIBUTE_DATA data;
    if (!path.IsEmpty() && GetFileAttributesExA(path, GetFileExInfoStandard, &data)) {
        stamp.exists = true;
        stamp.size = Join(data.nFileSizeHigh, data.nFileSizeLow);
        stamp.written = Join(data.ftLastWriteTime.dwHighDateTime, data.ftLastWriteTime.dwLowDateTime);
    }
    return stamp;
}

ULONGLONG Now()
{
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return Join(now.dwHighDateTime, now.dwLowDateTime);
}

// A file written less than this before it was read may change again without
// its stamp changing (file times are coarse): such a read is not trusted.
const ULONGLONG kRacyWindow = 2 * 10000000ULL; // 2 s in 100 ns units

std::string Lower(std::string s)
{
    CharLowerBuffA(&s[0], (DWORD)s.size());
    return s;
}

std::string Trim(const std::string& s)
{
    const char* blanks = " \t\r\n\v\f";
    size_t first = s.find_first_not_of(blanks);
    if (first == std::string::npos)
        return std::string();
    return s.substr(first, s.find_last_not_of(blanks) - first + 1);
}

// The file's bytes as text of the ANSI code page (files with a UTF-8 or
// UTF-16 byte-order mark are converted, as the profile functions do).
std::string ReadAnsi(const CString& path)
{
    std::string bytes;
    CHandle file(CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                             FILE_ATTRIBUTE_NORMAL, nullptr));
    if (file == INVALID_HANDLE_VALUE)
        return bytes;
    char chunk[16384];
    DWORD got = 0;
    while (ReadFile(file, chunk, sizeof(chunk), &got, nullptr) && got > 0)
        bytes.append(chunk, got);
    file.Close();

    std::wstring wide;
    if (bytes.size() >= 3 && bytes.compare(0, 3, "\xEF\xBB\xBF") == 0) {
        int n = MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3, (int)bytes.size() - 3, nullptr, 0);
        wide.resize(n);
        if (n > 0)
            MultiByteToWideChar(CP_UTF8, 0, bytes.data() + 3, (int)bytes.size() - 3, &wide[0], n);
    } else if (bytes.size() >= 2 && bytes.compare(0, 2, "\xFF\xFE") == 0)
        wide.assign((const wchar_t*)(bytes.data() + 2), (bytes.size() - 2) / 2);
    else
        return bytes;
    int n = WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), nullptr, 0, nullptr, nullptr);
    std::string ansi(n, '\0');
    if (n > 0)
        WideCharToMultiByte(CP_ACP, 0, wide.data(), (int)wide.size(), &ansi[0], n, nullptr, nullptr);
    return ansi;
}

// The run (CurrentRun) in which a lookup last checked the files.
thread_local unsigned t_checkedRun = 0;

// The texts of one language file, read the way the profile functions read an
// INI file: names without case, blanks around names and values dropped, the
// first of repeated sections and keys wins, one pair of matching quotes around
// a value dropped.
class CLngTexts
{
public:
    // The text of (section, key); refreshes first when a file changed.
    CString Lookup(const CString& section, const CString& key)
    {
        // Inside a run the files are checked at its first lookup only.
        const unsigned run = CurrentRun();
        if (run == 0 || run != t_checkedRun)
            Refresh();
        t_checkedRun = run;
        std::map<std::string, std::string>::const_iterator it =
            m_texts.find(Lower((LPCSTR)section) + '\n' + Lower((LPCSTR)key));
        return it == m_texts.end() ? CString() : UnescapePercent(it->second.c_str());
    }

private:
    void Refresh()
    {
        // Two file times per lookup while nothing changed; the suite INI's
        // path (a shell-folder lookup, and seeding when the file is gone) is
        // asked for again only when something did.
        if (!m_ini.IsEmpty() && Unchanged(m_ini, m_iniStamp) && Unchanged(m_file, m_fileStamp))
            return;
        m_loaded = Now();
        m_ini = GetIniPath(INI_PIRT);
        m_iniStamp = StampOf(m_ini);
        m_file = GetLngPath();
        m_fileStamp = StampOf(m_file);
        m_texts.clear();
        if (m_fileStamp.exists)
            Parse(ReadAnsi(m_file));
    }

    bool Unchanged(const CString& path, const FileStamp& known) const
    {
        const FileStamp now = StampOf(path);
        return now == known && now.written + kRacyWindow < m_loaded;
    }

    void Parse(const std::string& text)
    {
        std::string section;
        bool firstOfItsName = true;
        std::map<std::string, bool> seenSections;
        size_t pos = 0;
        while (pos < text.size()) {
            size_t end = text.find('\n', pos);
            if (end == std::string::npos)
                end = text.size();
            const std::string line = Trim(text.substr(pos, end - pos));
            pos = end + 1;
            if (!line.empty() && line[0] == '[' && line.find(']') != std::string::npos) {
                section = Lower(Trim(line.substr(1, line.find(']') - 1)));
                firstOfItsName = seenSections.insert(std::make_pair(section, true)).second;
                continue;
            }
            size_t equals = line.find('=');
            if (!firstOfItsName || line.empty() || equals == std::string::npos)
                continue;
            std::string value = Trim(line.substr(equals + 1));
            if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value[value.size() - 1] == value[0])
                value = value.substr(1, value.size() - 2);
            // What a 255-character buffer returns.
            if (value.size() > 254)
                value.resize(254);
            m_texts.insert(std::make_pair(section + '\n' + Lower(Trim(line.substr(0, equals))), value));
        }
    }

    CString m_ini;
    FileStamp m_iniStamp;
    CString m_file;
    FileStamp m_fileStamp;
    ULONGLONG m_loaded = 0;
    std::map<std::string, std::string> m_texts;
};

CLngTexts& Texts()
{
    static CLngTexts texts;
    return texts;
}

} // namespace

CString GetLngPath() { return GetIniString("Pirt", "LngPath", INI_PIRT); }

CString GetChosenLanguage() { return GetIniString("Pirt", "Language", INI_PIRT); }

int IsGermanChosen() { return GetChosenLanguage() == "German" ? 1 : 0; }

CString GetLngString(CString section, CString key) { return Texts().Lookup(section, key); }

CString GetLngString(CString section, CString key, CString defaultText)
{
    CString text = GetLngString(section, key);
    return text.IsEmpty() ? defaultText : text;
}

void SetDlgItemLngText(HWND dialog, int controlId, CString section, CString key)
{
    HWND control = GetDlgItem(dialog, controlId);
    if (control != nullptr)
        SetWindowTextA(control, GetLngString(section, key));
}

void SetDlgItemLngTexts(HWND dialog, const DlgItemLngText* items, int count)
{
    for (int i = 0; i < count; i++)
        SetDlgItemLngText(dialog, items[i].controlId, items[i].section, items[i].key);
}

void SetWindowLngText(HWND window, CString section, CString key)
{
    if (window != nullptr)
        SetWindowTextA(window, GetLngString(section, key));
}
