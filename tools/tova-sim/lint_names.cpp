// Walks a CD folder for the names its ISO 9660 image with Joliet names would change or refuse.
#include "tools/tova-sim/lint_names.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cstdint>
#include <map>

namespace {

const char JOLIET_FORBIDDEN[] = "*:;?\\";

bool IsContinuation(unsigned char byte)
{
    return byte >= 0x80 && byte <= 0xBF;
}

// The length of the well-formed UTF-8 sequence at text[at], 0 when there is none; *bmp tells
// whether its character lies in UCS-2's range.
size_t Utf8Sequence(const std::string& text, size_t at, bool* bmp)
{
    const unsigned char lead = static_cast<unsigned char>(text[at]);
    *bmp = true;
    if (lead < 0x80) return 1;
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF; // the range of the second byte
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        if (lead == 0xE0) low = 0xA0;  // no overlong forms
        if (lead == 0xED) high = 0x9F; // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        *bmp = false;
        if (lead == 0xF0) low = 0x90;
        if (lead == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (at + length > text.size()) return 0;
    const unsigned char second = static_cast<unsigned char>(text[at + 1]);
    if (second < low || second > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if (!IsContinuation(static_cast<unsigned char>(text[at + k]))) return 0;
    }
    return length;
}

std::string LowerAscii(std::string text)
{
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

bool IsFolder(const std::string& path)
{
    struct stat st;
    return lstat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

// The names in a folder, in byte order so that findings do not depend on the listing order.
std::vector<std::string> FolderNames(const std::string& folder)
{
    std::vector<std::string> names;
    DIR* dir = opendir(folder.c_str());
    if (!dir) return names;
    while (struct dirent* entry = readdir(dir)) {
        std::string name = entry->d_name;
        if (name != "." && name != "..") names.push_back(name);
    }
    closedir(dir);
    std::sort(names.begin(), names.end());
    return names;
}

class CNameWalk {
public:
    std::vector<CImageNameFinding> findings;

    // pathBytes: the Joliet bytes of the folder's own path (0 for the CD root).
    void Walk(const std::string& host, const std::string& shown, size_t pathBytes)
    {
        // Windows matches names without regard to case, so of two that differ only in case
        // (or that the image makes equal) it reads one.
        std::map<std::string, std::string> seen;
        for (const std::string& name : FolderNames(host)) {
            const std::string path = shown.empty() ? name : shown + "\\" + name;
            CJolietName joliet = JolietName(name);
            if (joliet.replaced) {
                Add(path, "the name has characters Joliet does not carry (* : ; ? \\, control "
                          "characters, bytes that are not UTF-8, characters beyond U+FFFF): the "
                          "CD image names it \"" +
                              joliet.name + "\"");
            }
            if (joliet.characters > JOLIET_NAME_MAX) {
                Add(path, "the name has " + std::to_string(joliet.characters) +
                              " characters; the CD image's Joliet names keep 64, so it is cut");
            }
            CheckTwin(&seen, name, joliet, path);
            size_t kept = std::min(joliet.characters, JOLIET_NAME_MAX);
            size_t bytes = pathBytes + 1 + 2 * kept;
            if (bytes >= JOLIET_PATH_LIMIT) {
                // Nothing below it is in the tree either.
                Add(path, "the path is too long for Joliet (" + std::to_string(bytes) +
                              " bytes, 2 a character and 1 a level, of at most 239): the CD "
                              "image leaves it out of the names Windows reads");
                continue;
            }
            const std::string child = host + "/" + name;
            if (IsFolder(child)) Walk(child, path, bytes);
        }
    }

private:
    void Add(const std::string& path, const std::string& message)
    {
        findings.push_back({path, message});
    }

    void CheckTwin(std::map<std::string, std::string>* seen, const std::string& name,
                   const CJolietName& joliet, const std::string& path)
    {
        std::string folded = LowerAscii(joliet.name);
        auto found = seen->find(folded);
        if (found == seen->end()) {
            (*seen)[folded] = name;
            return;
        }
        const std::string& other = found->second;
        if (LowerAscii(other) == LowerAscii(name)) {
            Add(path, "\"" + other + "\" and \"" + name +
                          "\" differ only in case: Windows reads one of them from the CD image");
        } else {
            Add(path, "\"" + other + "\" and \"" + name + "\" both become \"" + joliet.name +
                          "\" on the CD image, which then numbers them apart: Windows finds "
                          "neither under its name");
        }
    }
};

} // namespace

CJolietName JolietName(const std::string& name)
{
    CJolietName joliet = {"", 0, false};
    size_t at = 0;
    while (at < name.size()) {
        const unsigned char byte = static_cast<unsigned char>(name[at]);
        bool bmp = true;
        size_t length = Utf8Sequence(name, at, &bmp);
        bool carried = length > 0 && bmp && byte >= 0x20;
        for (const char* c = JOLIET_FORBIDDEN; carried && *c; ++c)
            carried = name[at] != *c;
        if (carried) {
            joliet.name.append(name, at, length);
        } else {
            joliet.name += '_';
            joliet.replaced = true;
        }
        ++joliet.characters;
        at += length > 0 ? length : 1;
    }
    return joliet;
}

std::vector<CImageNameFinding> CheckImageNames(const std::string& hostRoot)
{
    CNameWalk walk;
    walk.Walk(hostRoot, "", 0);
    return walk.findings;
}
