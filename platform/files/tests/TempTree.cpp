#include "TempTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <stdexcept>

#include "platform/files/FileNameCodec.h"

namespace {
void Check(bool ok, const std::string& what) {
    if (!ok) throw std::runtime_error(what);
}
}  // namespace

TempTree::TempTree() {
    std::string name = "/tmp/tabrix-files-XXXXXX";
    Check(mkdtemp(name.data()) != nullptr, "mkdtemp");
    root_ = name;
}

TempTree::~TempTree() {
    // rm copes with any depth and, as the owner, with directories whose permissions were taken away.
    const std::string command = "chmod -R u+rwx '" + root_ + "' 2>/dev/null; rm -rf '" + root_ + "'";
    [[maybe_unused]] const int status = std::system(command.c_str());
}

void TempTree::MakeFile(const std::string& relative, const std::string& content) const {
    const int fd = open(Path(relative).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    Check(fd >= 0, "create " + relative);
    const bool written = write(fd, content.data(), content.size()) == static_cast<ssize_t>(content.size());
    close(fd);
    Check(written, "write " + relative);
}

void TempTree::MakeDirectory(const std::string& relative) const {
    Check(mkdir(Path(relative).c_str(), 0755) == 0, "mkdir " + relative);
}

void TempTree::MakeLink(const std::string& target, const std::string& relative) const {
    Check(symlink(target.c_str(), Path(relative).c_str()) == 0, "symlink " + relative);
}

std::vector<FoundEntry> ListAll(const std::u16string& pattern) {
    std::vector<FoundEntry> found;
    WIN32_FIND_DATAW data{};
    const HANDLE search = FindFirstFileW(pattern.c_str(), &data);
    if (search == INVALID_HANDLE_VALUE) return found;
    do {
        found.push_back({std::u16string(data.cFileName), data});
    } while (FindNextFileW(search, &data));
    FindClose(search);
    return found;
}

std::u16string PatternOf(const std::string& directoryBytes, const std::u16string& lastComponent) {
    return DecodeFileName(directoryBytes) + u"/" + lastComponent;
}
