// Path operations of the loader.
#include "platform/loader/Paths.h"

#include "platform/files/FileNameCodec.h"
#include "platform/loader/Modules.h"

#include <sys/stat.h>

#include <optional>

namespace {

void Store(std::u16string_view text, CQrnMem& target)
{
    target.SetLength(0);
    target.AppendBytes(text.data(), static_cast<int64_t>(text.size() * sizeof(char16_t)));
    target.AppendUnit(0);
}

// Folds every "/./" to "/", overlapping ones included.
void FoldCurrentDirectories(std::u16string& path)
{
    for (size_t at = path.find(u"/./"); at != std::u16string::npos; at = path.find(u"/./", at))
        path.erase(at, 2);
}

// Takes out each "/../" with the component before it; false when one has no component before it.
bool FoldParentDirectories(std::u16string& path)
{
    for (size_t at = path.find(u"/../"); at != std::u16string::npos; at = path.find(u"/../")) {
        if (at == 0)
            return false;
        size_t start = path.rfind(u'/', at - 1);
        if (start == std::u16string::npos)
            return false;
        path.erase(start, at + 3 - start);
    }
    return true;
}

}  // namespace

std::u16string JoinPathText(std::u16string_view directory, std::u16string_view name)
{
    if (directory.empty())
        return std::u16string(name);
    if (name.empty())
        return std::u16string(directory);
    if (name.front() == u'/')
        return std::u16string(name);
    std::u16string path(directory);
    if (path.back() != u'/')
        path += u'/';
    path += name;
    FoldCurrentDirectories(path);
    if (!FoldParentDirectories(path))
        return std::u16string(name);
    return path;
}

const char16_t* JoinPath(const char16_t* directory, const char16_t* name, CQrnMem& target)
{
    Store(JoinPathText(directory ? directory : u"", name ? name : u""), target);
    return reinterpret_cast<const char16_t*>(target.GetData());
}

bool GetModuleDirectory(HMODULE module, CQrnMem& target)
{
    std::optional<std::u16string> name = ModuleFileName(module);
    if (!name)
        return false;
    size_t cut = name->find_last_of(u'/');
    Store(cut == std::u16string::npos ? std::u16string_view() : std::u16string_view(*name).substr(0, cut + 1), target);
    return true;
}

bool PathExists(const char16_t* path)
{
    if (!path || !*path)
        return false;
    std::u16string_view text(path);
    if (text.size() > 1 && text.back() == u'/')
        text.remove_suffix(1);
    std::optional<std::string> bytes = EncodeFileName(text);
    struct stat info;
    return bytes && lstat(bytes->c_str(), &info) == 0;
}

HMODULE LoadLibraryInItsDirectory(const char16_t* path)
{
    return LoadLibraryW(path);
}
