// crypt.dll: the settings accessors of a block-cipher object: cipher mode,
// padding kind, key length, block size, and padding a buffer up to a whole
// number of blocks.
//
// Every member but the set-up refuses to work until a key has been set up,
// by throwing std::runtime_error with a language text of section Zembla:
// "20000" no key, "20010" mode out of range, "20020" padding kind out of
// range. A refused call changes nothing.
#pragma once

#ifdef CRYPT_BUILD
#define CRYPT_API __declspec(dllexport)
#else
#define CRYPT_API __declspec(dllimport)
#endif

class CRYPT_API ICryptFunctions
{
public:
    // No key, mode 0, padding 0.
    ICryptFunctions();
    ~ICryptFunctions();

    ICryptFunctions(const ICryptFunctions&) = delete;
    ICryptFunctions& operator=(const ICryptFunctions&) = delete;

    // Sets up the key settings. A block size of 0 or less is refused
    // (Pad divides by it): FALSE, and the object stays as it was.
    int SetKeySettings(int blockSize, int keyLength);

    // Mode and padding kind are 0, 1 or 2; anything else (negative values
    // too) throws "20010" or "20020" and keeps the stored value.
    void SetMode(int mode);
    int GetMode() const;
    // 0 zero bytes, 1 spaces, 2 bytes holding the pad count.
    void SetPadding(int padding);
    int GetPadding() const;
    int GetKeyLength() const;
    int GetBlockSize() const;

    // Pads data in place behind its length bytes up to the next whole number
    // of blocks and returns the new length; the caller provides room for up
    // to block size - 1 further bytes. Data that is already a whole number of
    // blocks gets no padding block, so padding kind 2 cannot be removed
    // reliably: the last byte of unpadded data may look like a pad count.
    // A null data pointer or a negative length writes nothing and returns
    // length.
    int Pad(char* data, int length) const;

private:
    // Throws "20000" when no key is set up.
    void CheckKey() const;
    // Key check, then the range 0..2, then stores the value; a refused
    // value throws the text of pszErrorKey.
    void StoreSetting(int* pField, int value, const char* pszErrorKey);

    int m_bKeySet;
    int m_nBlockSize;
    int m_nKeyLength;
    int m_nMode;
    int m_nPadding;
};
