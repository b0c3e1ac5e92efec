// Native counterpart of the Windows profile_dump test program: the same query list answered by
// the simulated platform's profile reader, printed in the same lines.
#include <cstdio>
#include <string>
#include <vector>

#include "common/profile_reader.h"
#include "profile_query.h"

namespace {

// A missing or unreadable file reads as empty, as GetPrivateProfileStringA treats it.
std::vector<char> ReadFileBytes(const char* path)
{
    std::vector<char> bytes;
    FILE* file = fopen(path, "rb");
    if (!file) return bytes;
    char chunk[4096];
    size_t got;
    while ((got = fread(chunk, 1, sizeof chunk, file)) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    fclose(file);
    return bytes;
}

}  // namespace

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: profile-dump-native PROFILE QUERIES\n");
        return 2;
    }
    std::vector<char> profile = ReadFileBytes(argv[1]);
    return DumpQueryFile("profile-dump-native", argv[2],
                         [&profile](const CProfileQuery& query, char* buffer) {
                             return ReadProfileString(
                                 profile.data(), profile.size(), query.section.c_str(),
                                 query.key.c_str(),
                                 query.hasDefault ? query.defaultValue.c_str() : nullptr, buffer,
                                 query.size);
                         });
}
