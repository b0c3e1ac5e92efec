// The content files as the panel loaders read them: each file read once, and its keys looked up
// in that copy, instead of a system profile call per key.
//
// Every GetPrivateProfileStringA makes the system open the file again (under Wine: open it,
// look up its registry mapping, read it, close it), and the panels read some 250 keys. The copy
// answers only where its answer is the system's own: a file named by a full path, of plain text
// (no code page lead byte, no control character but tab and CR LF, no zero byte, no Unicode mark),
// smaller than the 64 KB the 9x family's reader takes in, and a value that is not quoted and not
// cut by the buffer. Everything else goes to the system, as before.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "common/fixed_text.h"
#include "common/lead_bytes.h"
#include "platform/files.h"
#include "skin/content_files.h"

// The largest file the copy answers for.
const size_t PROFILE_CACHE_MAX_BYTES = 64 * 1024 - 1;
// The content and tip files; a further name is left to the system.
const size_t PROFILE_CACHE_FILES = 4;

// A Files service whose profile reads come from the copy; every other call is the system's.
class CProfileCache : public CFilesForwarder {
public:
    CProfileCache(Files& files, const CLeadBytes& leadBytes);

    uint32_t GetPrivateProfileString(const char* section, const char* key, const char* defaultValue,
                                     char* buffer, uint32_t size, const char* fileName) override;

private:
    struct CCopy {
        FixedText<CONTENT_PATH_SIZE> name; // as the loaders spell it
        bool found = false;                // the file could be read
        bool plain = false;                // and the copy may answer for it
        std::vector<char> bytes;
    };

    // The copy of fileName, read on first use; null when the system must answer.
    const CCopy* CopyOf(const char* fileName);
    bool IsPlain(const std::vector<char>& bytes) const;

    const CLeadBytes& leadBytes;
    CCopy copies[PROFILE_CACHE_FILES];
    size_t copyCount = 0;
};
