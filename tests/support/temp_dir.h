// A fresh folder per test, removed with everything in it afterwards.
#pragma once

#include <string>

class TempDir {
public:
    TempDir();
    ~TempDir();
    const std::string& Path() const { return path_; }         // ends in a backslash
    std::string File(const char* name) const { return path_ + name; }

    static bool WriteFile(const std::string& path, const std::string& bytes);
    static bool ReadFile(const std::string& path, std::string* bytes);
    // A path of the build machine as the program sees it: under Wine, Unix paths are on Z:.
    static std::string BuildPath(std::string path) {
        if (path[0] == '/') path = "Z:" + path;
        for (char& c : path) c = c == '/' ? '\\' : c;
        return path;
    }

private:
    std::string path_;
};
