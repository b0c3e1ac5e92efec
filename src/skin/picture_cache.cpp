// The pictures loaded in this run, looked up by their path compared as Windows compares names.
#include "skin/picture_cache.h"

#include "common/lead_bytes.h"

namespace {

char FoldAscii(char c)
{
    return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c;
}

}  // namespace

bool SamePicturePath(const CLeadBytes& leadBytes, const char* a, const char* b)
{
    for (;;) {
        if (leadBytes.IsLeadByte(static_cast<uint8_t>(*a)) && a[1] != '\0') {
            if (a[0] != b[0] || a[1] != b[1]) return false;
            a += 2;
            b += 2;
            continue;
        }
        if (FoldAscii(*a) != FoldAscii(*b)) return false;
        if (*a == '\0') return true;
        ++a;
        ++b;
    }
}

const PictureEntry* FindPicture(const PictureCache& cache, const CLeadBytes& leadBytes,
                                const char* path)
{
    for (const PictureEntry& entry : cache.entries) {
        if (SamePicturePath(leadBytes, entry.path.c_str(), path)) return &entry;
    }
    return nullptr;
}
