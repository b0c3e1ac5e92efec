// Windows test program: runs a list of GetPrivateProfileStringA queries against one profile
// file and prints one report line per query, for comparison with the native profile reader.
#include <windows.h>

#include "../profile-dump-native/profile_query.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: profile_dump PROFILE QUERIES\n");
        return 2;
    }
    // The profile path is passed as given; a bare name would be looked up in the Windows folder.
    const char* profile = argv[1];
    auto read = [profile](const CProfileQuery& query, char* buffer) {
        return static_cast<unsigned>(GetPrivateProfileStringA(
            query.section.c_str(), query.key.c_str(),
            query.hasDefault ? query.defaultValue.c_str() : nullptr, buffer, query.size, profile));
    };
    return DumpQueryFile("profile_dump", argv[2], read);
}
