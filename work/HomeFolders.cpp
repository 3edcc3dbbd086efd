#include "work/HomeFolders.h"

#include "platform/files/FileNameCodec.h"

#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <string>

namespace {

bool IsDriveLetterPath(std::u16string_view path)
{
    if (path.size() < 2 || path[1] != u':')
        return false;
    const char16_t letter = path[0];
    const bool isLetter = (letter >= u'A' && letter <= u'Z') || (letter >= u'a' && letter <= u'z');
    return isLetter && (path.size() == 2 || path[2] == u'\\' || path[2] == u'/');
}

bool IsDirectory(std::u16string_view path)
{
    std::optional<std::string> bytes = EncodeFileName(path);
    struct stat st;
    return bytes && ::stat(bytes->c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

} // namespace

CWString HomeDirectory()
{
    const char* home = std::getenv("HOME");
    if (!home || !*home) {
        if (const passwd* entry = ::getpwuid(::geteuid()))
            home = entry->pw_dir;
    }
    if (!home || !*home)
        return CWString();
    std::u16string decoded = DecodeFileName(home);
    while (decoded.size() > 1 && decoded.back() == u'/')
        decoded.pop_back();
    return CWString(std::u16string_view(decoded));
}

CWString LocalFolderFor(const CWString& path)
{
    const std::u16string_view text = path.View();
    if (!IsDriveLetterPath(text))
        return path;
    const CWString home = HomeDirectory();
    if (home.IsEmpty())
        return CWString();
    std::u16string local(home.View());
    for (char16_t unit : text.substr(2)) {
        const char16_t separator = unit == u'\\' ? u'/' : unit;
        if (separator == u'/' && !local.empty() && local.back() == u'/')
            continue;
        local.push_back(separator);
    }
    while (local.size() > 1 && local.back() == u'/')
        local.pop_back();
    return CWString(std::u16string_view(IsDirectory(local) ? local : std::u16string(home.View())));
}
