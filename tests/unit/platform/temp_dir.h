// A host folder made for one test and removed with everything in it afterwards.
#pragma once

#include <cstdio>
#include <cstdlib>
#include <string>
#include <sys/stat.h>

class CTempDir {
public:
    CTempDir()
    {
        char pattern[] = "/tmp/tova-platform-XXXXXX";
        const char* made = mkdtemp(pattern);
        path = made ? made : "";
    }
    ~CTempDir()
    {
        if (!path.empty()) {
            // Read-only files inside must not keep the folder alive.
            std::string command = "chmod -R u+w '" + path + "' && rm -rf '" + path + "'";
            if (system(command.c_str()) != 0) {
                fprintf(stderr, "could not remove %s\n", path.c_str());
            }
        }
    }
    CTempDir(const CTempDir&) = delete;
    CTempDir& operator=(const CTempDir&) = delete;

    const std::string& Path() const { return path; }

    // Creates the folder (and its parents) below the temp folder; returns its host path.
    std::string MakeDir(const std::string& relative) const
    {
        std::string full = path;
        size_t start = 0;
        while (start <= relative.size()) {
            size_t end = relative.find('/', start);
            if (end == std::string::npos) end = relative.size();
            full += "/" + relative.substr(start, end - start);
            mkdir(full.c_str(), 0755);
            start = end + 1;
        }
        return full;
    }

    // Writes a file below the temp folder; returns its host path.
    std::string Write(const std::string& relative, const std::string& content) const
    {
        std::string full = path + "/" + relative;
        FILE* f = fopen(full.c_str(), "wb");
        if (f) {
            fwrite(content.data(), 1, content.size(), f);
            fclose(f);
        }
        return full;
    }

    bool Exists(const std::string& relative) const
    {
        struct stat st;
        return stat((path + "/" + relative).c_str(), &st) == 0;
    }

private:
    std::string path;
};
