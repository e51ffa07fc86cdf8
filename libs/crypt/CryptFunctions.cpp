// The cipher-settings accessors of crypt.dll.
#include "CryptFunctions.h"
#include "language.h"
#include <cstring>
#include <stdexcept>

namespace {

// Mode and padding kind share one range: 0..2.
const unsigned int MAX_SETTING = 2;

[[noreturn]] void ThrowText(const char* key)
{
    throw std::runtime_error((const char*)GetLngString("Zembla", key));
}

} // namespace

ICryptFunctions::ICryptFunctions()
    : m_bKeySet(0), m_nBlockSize(0), m_nKeyLength(0), m_nMode(0), m_nPadding(0)
{
}

ICryptFunctions::~ICryptFunctions()
{
}

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

void ICryptFunctions::SetMode(int mode)
{
    CheckKey();
    if ((unsigned int)mode > MAX_SETTING)
        ThrowText("20010");
    m_nMode = mode;
}

int ICryptFunctions::GetMode() const
{
    CheckKey();
    return m_nMode;
}

void ICryptFunctions::SetPadding(int padding)
{
    CheckKey();
    if ((unsigned int)padding > MAX_SETTING)
        ThrowText("20020");
    m_nPadding = padding;
}

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
