#include "platform/shell/DesktopFolder.h"

#include "platform/files/FileNameCodec.h"

#include <sys/stat.h>

#include <cstdlib>
#include <fstream>
#include <string>

namespace {

bool IsFolder(const std::string& path)
{
    struct stat st {};
    return !path.empty() && stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

std::string Env(const char* name)
{
    const char* value = std::getenv(name);
    return value ? value : "";
}

// One value of user-dirs.dirs: a quoted path in which "$HOME" stands for the home folder.
std::string DesktopFromUserDirs(const std::string& home)
{
    std::string config = Env("XDG_CONFIG_HOME");
    if (config.empty())
        config = home + "/.config";
    std::ifstream in(config + "/user-dirs.dirs");
    std::string line;
    const std::string key = "XDG_DESKTOP_DIR=";
    while (std::getline(in, line)) {
        const size_t start = line.find_first_not_of(" \t");
        if (start == std::string::npos || line.compare(start, key.size(), key) != 0)
            continue;
        std::string value = line.substr(start + key.size());
        if (value.size() >= 2 && value.front() == '"' && value.back() == '"')
            value = value.substr(1, value.size() - 2);
        if (value.rfind("$HOME", 0) == 0)
            value = home + value.substr(5);
        return value;
    }
    return "";
}

std::string WithoutTrailingSlash(std::string path)
{
    while (path.size() > 1 && path.back() == '/')
        path.pop_back();
    return path;
}

}  // namespace

std::optional<std::u16string> GetDesktopFolder()
{
    const std::string home = Env("HOME");
    for (const std::string& candidate :
         {Env("XDG_DESKTOP_DIR"), home.empty() ? std::string() : DesktopFromUserDirs(home),
          home.empty() ? std::string() : home + "/Desktop"}) {
        if (!candidate.empty() && candidate.front() == '/' && IsFolder(candidate))
            return DecodeFileName(WithoutTrailingSlash(candidate));
    }
    return std::nullopt;
}
