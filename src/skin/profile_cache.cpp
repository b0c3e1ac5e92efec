// The content files read once for the panel loaders, their keys looked up in the copy.
#include "skin/profile_cache.h"

#include <cstring>

#include "common/profile_reader.h"

CProfileCache::CProfileCache(Files& files, const CLeadBytes& leadBytes)
    : CFilesForwarder(files), leadBytes(leadBytes)
{
}

uint32_t CProfileCache::GetPrivateProfileString(const char* section, const char* key,
                                                const char* defaultValue, char* buffer,
                                                uint32_t size, const char* fileName)
{
    if (!buffer || size == 0) return 0;
    // The loaders read with an empty default; any other is the system's to treat.
    const CCopy* copy = (defaultValue && *defaultValue) ? nullptr : CopyOf(fileName);
    if (copy && !copy->found) {
        // A missing file reads as the empty default, as the system reads it.
        buffer[0] = '\0';
        return 0;
    }
    if (copy && copy->plain) {
        bool quoted = false;
        uint32_t length = ReadProfileString(copy->bytes.data(), copy->bytes.size(), section, key,
                                            "", buffer, size, &quoted);
        // A quoted value, and one the buffer cuts or just holds, are where the systems' readers
        // differ; only the system can say what it gives for them.
        if (!quoted && length + 1 < size) return length;
    }
    return inner.GetPrivateProfileString(section, key, defaultValue, buffer, size, fileName);
}

const CProfileCache::CCopy* CProfileCache::CopyOf(const char* fileName)
{
    // A bare name is looked for in the Windows folder by the system, elsewhere by a file read.
    if (!fileName) return nullptr;
    if (!strchr(fileName, '\\') && !strchr(fileName, '/') && !strchr(fileName, ':')) return nullptr;
    if (strlen(fileName) >= CONTENT_PATH_SIZE) return nullptr;
    for (size_t i = 0; i < copyCount; ++i) {
        if (copies[i].name.Equals(fileName)) return &copies[i];
    }
    if (copyCount == PROFILE_CACHE_FILES) return nullptr;
    CCopy& copy = copies[copyCount++];
    copy.name = fileName;
    // One byte past the limit tells a file too large for the copy.
    bool read = inner.ReadWholeFile(fileName, PROFILE_CACHE_MAX_BYTES + 1, &copy.bytes);
    // A file that opens but fails to read is the system's to judge.
    copy.found = read || inner.CanOpenForReading(fileName);
    copy.plain = read && copy.bytes.size() <= PROFILE_CACHE_MAX_BYTES && IsPlain(copy.bytes);
    if (!copy.plain) std::vector<char>().swap(copy.bytes);
    return &copy;
}

bool CProfileCache::IsPlain(const std::vector<char>& bytes) const
{
    size_t size = bytes.size();
    for (size_t i = 0; i < size; ++i) {
        uint8_t c = static_cast<uint8_t>(bytes[i]);
        // The marks of UTF-8 (EF BB BF) and UTF-16 (FF FE, FE FF) are high bytes; the system
        // reads such a file as Unicode, and one of a double-byte code page through its tables.
        if (c >= 0x80) {
            if (leadBytes.IsLeadByte(c) || (i < 3 && (c == 0xEF || c == 0xFF || c == 0xFE))) {
                return false;
            }
            continue;
        }
        if (c == '\t' || c == '\n') continue;
        if (c == '\r') {
            if (i + 1 < size && bytes[i + 1] == '\n') continue;
            return false;
        }
        if (c < 0x20 || c == 0x7F) return false;
    }
    return true;
}
