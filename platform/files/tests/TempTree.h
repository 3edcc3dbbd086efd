#pragma once
// A scratch directory under the system's temporary folder for one test, removed with everything in
// it when the test ends (also trees deeper than a path can name, and entries without permissions).
// Helpers take names as raw bytes, so tests can make names that are not valid UTF-8.
// Used by one test thread at a time.
#include <string>
#include <vector>

#include "platform/files/FindFile.h"

class TempTree {
public:
    TempTree();
    ~TempTree();
    TempTree(const TempTree&) = delete;
    TempTree& operator=(const TempTree&) = delete;

    const std::string& Root() const { return root_; }
    std::string Path(const std::string& relative) const { return root_ + "/" + relative; }

    void MakeFile(const std::string& relative, const std::string& content = "") const;
    void MakeDirectory(const std::string& relative) const;
    void MakeLink(const std::string& target, const std::string& relative) const;

private:
    std::string root_;
};

// One entry as the search reported it.
struct FoundEntry {
    std::u16string name;
    WIN32_FIND_DATAW data;
};

// Every entry of a search of pattern (UTF-16 units), closed again; empty when the search fails.
std::vector<FoundEntry> ListAll(const std::u16string& pattern);
// The search pattern for a byte path plus a last component.
std::u16string PatternOf(const std::string& directoryBytes, const std::u16string& lastComponent);
