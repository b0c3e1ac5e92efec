// The pictures loaded in this run: each file named by the content files is loaded once and its
// handle shared by every item and panel that names it, a failed load included.
#pragma once

#include <vector>

#include "common/fixed_text.h"
#include "platform/window.h"
#include "skin/content_files.h"

class CLeadBytes;

struct PictureEntry {
    // As the loaders build it: the CD root and the content file's value.
    FixedText<CONTENT_PATH_SIZE> path;
    BitmapHandle image = 0;  // 0: the file did not load, and is not tried again
};

struct PictureCache {
    std::vector<PictureEntry> entries;
};

// Two paths name the same file when they match with letters compared case-blind, as Windows
// compares file names; the trail byte of a double-byte character is compared as it is, since it
// is no letter even where its value is one.
bool SamePicturePath(const CLeadBytes& leadBytes, const char* a, const char* b);

// The entry for path, or null when it has not been loaded yet.
const PictureEntry* FindPicture(const PictureCache& cache, const CLeadBytes& leadBytes,
                                const char* path);
