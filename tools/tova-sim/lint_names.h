// The file names of a CD folder that its ISO 9660 image would change or leave out: Windows reads
// a CD's names from the image's Joliet tree, which xorriso builds from the folder's UTF-8 names.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

// Joliet's limits as xorriso keeps them: characters a name component, and the bytes of a whole
// path (2 a character and 1 a level) that must stay below the limit for the file to be in the
// tree at all.
const size_t JOLIET_NAME_MAX = 64;
const size_t JOLIET_PATH_LIMIT = 240;

// One name component as the Joliet tree writes it.
struct CJolietName {
    std::string name;  // UTF-8, every character Joliet does not carry made "_"
    size_t characters; // UCS-2 characters of that name, before any cut to JOLIET_NAME_MAX
    bool replaced;     // some character was made "_"
};

// Joliet does not carry * : ; ? \ and control characters; a byte that is not part of UTF-8 and a
// character beyond U+FFFF (UCS-2 has none) become "_" as well.
CJolietName JolietName(const std::string& name);

struct CImageNameFinding {
    std::string path; // relative to the CD root, with backslashes
    std::string message;
};

// Every name under hostRoot that the image changes or refuses, folders in name order, each
// folder before what it holds. Symbolic links are not followed.
std::vector<CImageNameFinding> CheckImageNames(const std::string& hostRoot);
