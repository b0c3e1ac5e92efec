// Windows test program: runs a list of GetPrivateProfileStringA queries against one profile
// file and prints one report line per query, for comparison with the native profile reader.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "../profile-dump-native/profile_query.h"

int main(int argc, char** argv)
{
    if (argc != 3) {
        fprintf(stderr, "usage: profile_dump PROFILE QUERIES\n");
        return 2;
    }
    FILE* queries = fopen(argv[2], "rb");
    if (!queries) {
        fprintf(stderr, "profile_dump: cannot open %s\n", argv[2]);
        return 2;
    }
    // The profile path is passed as given; a bare name would be looked up in the Windows folder.
    std::string line;
    int c;
    bool more = true;
    while (more) {
        line.clear();
        while ((c = fgetc(queries)) != EOF && c != '\n') line += (char)c;
        more = c != EOF;
        CProfileQuery query;
        if (!ParseQueryLine(line, &query)) continue;
        std::vector<char> buffer(query.size + 1, '~');
        DWORD result = GetPrivateProfileStringA(
            query.section.c_str(), query.key.c_str(),
            query.hasDefault ? query.defaultValue.c_str() : nullptr, buffer.data(), query.size,
            argv[1]);
        printf("%s\n", FormatQueryReport(query, result, buffer.data()).c_str());
    }
    fclose(queries);
    fflush(stdout);
    return 0;
}
