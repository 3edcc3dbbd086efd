#pragma once
// A generated tree of empty plate-camera snapshots for the batch benchmarks, laid out as the
// cameras write them: ROOT/Images/<yyyymmdd>/<camera address>/PlateImage_<plate>_<colour>_<stamp>.jpg,
// ten cameras a day, about a tenth of a day's seconds apart. A given fraction of the files repeats a
// plate seen earlier in the tree. Besides the tree it writes the table the import makes of it (one
// row per plate: number, plate, latest time, colour, first camera; header first; tab-separated
// UTF-8), for a peer to write. The same arguments always give the same tree.
// Threads: any, one tree per call.
#include <cstdint>
#include <string>

namespace bench {

struct PlateTree {
    std::string images;  // ROOT/Images
    int64_t files = 0;
    int64_t plates = 0;  // distinct plates: the rows the import adds
    int folders = 0;
};

// Throws std::runtime_error when a folder or file cannot be made (ROOT/Images must not exist).
PlateTree MakePlateTree(const std::string& root, int64_t files, const std::string& tablePath,
                        double repeatFraction = 0.3, uint64_t seed = 20240821);

// Removes ROOT and everything below it; false when something stayed.
bool RemoveTree(const std::string& root);

// A fresh empty folder under $TMPDIR (or /tmp) named after prefix; throws when none can be made.
std::string MakeScratchFolder(const std::string& prefix);

}  // namespace bench
