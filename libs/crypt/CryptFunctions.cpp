// The cipher-settings accessors of crypt.dll.
#include "CryptFunctions.h"
#include "language.h"
#include <cstring>
#include <stdexcept>

namespace {

// Mode and padding kind share one range: 0..2.
const unsigned int MAX_SETTING = 2;

[[noreturn]] void ThrowText(const char* key) { throw std::runtime_error((const char*)GetLngString("Zembla", key)); }

} // namespace

ICryptFunctions::ICryptFunctions() : m_bKeySet(0), m_nBlockSize(0), m_nKeyLength(0), m_nMode(0), m_nPadding(0) {}

ICryptFunctions::~ICryptFunctions() {}

int ICryptFunctions::SetKeySettings(int blockSize, int keyLength)
{
    if (blockSize <= 0)
        return 0;
    m_nBlockSize = blockSize;
    m_nKeyLength = keyLength;
    m_bKeySet = 1;
    return 1;
}

void ICryptFunctions::CheckKey() const
{
    if (!m_bKeySet)
        ThrowText("20000");
}

void ICryptFunctions::StoreSetting(int* pField, int value, const char* pszErrorKey)
{
    CheckKey();
    // Compared unsigned, so that negative values are refused too.
    if ((unsigned int)value > MAX_SETTING)
        ThrowText(pszErrorKey);
    *pField = value;
}

void ICryptFunctions::SetMode(int mode) { StoreSetting(&m_nMode, mode, "20010"); }

int ICryptFunctions::GetMode() const
{
    CheckKey();
    return m_nMode;
}

void ICryptFunctions::SetPadding(int padding) { StoreSetting(&m_nPadding, padding, "20020"); }

int ICryptFunctions::GetPadding() const
{
    CheckKey();
    return m_nPadding;
}

int ICryptFunctions::GetKeyLength() const
{
    CheckKey();
    return m_nKeyLength;
}

int ICryptFunctions::GetBlockSize() const
{
    CheckKey();
    return m_nBlockSize;
}

int ICryptFunctions::Pad(char* data, int length) const
{
    CheckKey();
    if (data == nullptr || length < 0)
        return length;
    const int rest = length % m_nBlockSize;
    if (rest == 0)
        return length;
    const int count = m_nBlockSize - rest;
    int fill = 0;
    if (m_nPadding == 1)
        fill = ' ';
    else if (m_nPadding == 2)
        fill = count;
    memset(data + length, fill, count);
    return length + count;
}
