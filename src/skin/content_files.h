// The CD's content files: which description, tooltip and list files the program reads, and
// the profile reads (texts, numbers, per-item keys) the panel loaders make on them.
#pragma once

#include <cstddef>
#include <cstdint>

#include "common/fixed_text.h"
#include "common/lead_bytes.h"
#include "platform/files.h"
#include "platform/system.h"

const char CONTENT_FILE_DEFAULT[] = "bmp.ini";  // every language but Traditional Chinese
const char CONTENT_FILE_CHT[] = "cht.ini";
const char CONTENT_TIP_FILE[] = "tip.ini";  // the same for both languages
const char CONTENT_LIST_FILE[] = "tova.txt";
const char CONTENT_README_FILE[] = "readme.txt";
const char CONTENT_TIP_SECTION[] = "Eng";

// GetSystemDefaultLangID of Traditional Chinese (Taiwan); no other Chinese variant counts.
const uint16_t CONTENT_LANG_CHT = 0x0404;
const int CONTENT_HEADER_X = 200;
const int CONTENT_HEADER_Y = 15;

// Profile text buffers: "Common", "Panel2" to "Panel4" read 255 characters, "Panel0", "Panel1"
// and the tooltips 512.
const uint32_t CONTENT_TEXT_SHORT = 255;
const uint32_t CONTENT_TEXT_LONG = 512;
const size_t CONTENT_PATH_SIZE = 512;
const size_t CONTENT_KEY_SIZE = 64;

struct CContentFiles {
    int languageCode = 0;  // 1 on Traditional Chinese (Taiwan) systems, else 0
    FixedText<CONTENT_PATH_SIZE> textFile;     // full path of the CD list
    FixedText<CONTENT_PATH_SIZE> contentFile;  // the panel description file
    FixedText<CONTENT_PATH_SIZE> tipFile;      // the tooltip file
    int headerX = 0;
    int headerY = 0;
};

// Chooses the files by the system's default language. The caller sets contentFile and tipFile
// to the folder they live in (the CD root, or empty at start); the file names are appended.
// textFile becomes programDir followed by the list file's name.
void SelectContentFiles(System& system, const char* programDir, CContentFiles* files);

// GetPrivateProfileString with an empty default and the given buffer size (size - 1 bytes at
// most); a missing file, section or key reads as empty. The value ends on a character boundary
// of the code page: a double-byte character the buffer cuts, or the value's own lone last lead
// byte, is dropped. Returns the length.
uint32_t ReadProfileText(Files& files, const CLeadBytes& leadBytes, const char* fileName,
                         const char* section, const char* key, char* buffer, uint32_t size);

// The same into a text field; the field's capacity is the buffer size (255 or 512).
template <size_t N>
uint32_t ReadProfileText(Files& files, const CLeadBytes& leadBytes, const char* fileName,
                         const char* section, const char* key, FixedText<N>* text)
{
    return ReadProfileText(files, leadBytes, fileName, section, key, text->Buffer(), (uint32_t)N);
}

// A signed decimal number: leading blanks skipped, an optional sign, digits up to the first
// other character; empty or non-numeric text gives 0. A value beyond the int range is clamped
// to INT_MIN or INT_MAX.
int ParseProfileNumber(const char* text);

// A number read as text with the given buffer size, then parsed as above.
int ReadProfileNumber(Files& files, const char* fileName, const char* section, const char* key,
                      uint32_t size = CONTENT_TEXT_SHORT);

// A per-item key: the item number (decimal, no leading zeros) followed by the suffix, so item
// 3's x position is "3_x".
FixedText<CONTENT_KEY_SIZE> ProfileItemKey(unsigned item, const char* suffix);

// The mask key of an image key: the image key followed by "_m" ("3_Nbmp_m").
FixedText<CONTENT_KEY_SIZE> ProfileMaskKey(unsigned item, const char* imageSuffix);
