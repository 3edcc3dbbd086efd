#include "bench/PlateTree.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <random>
#include <stdexcept>
#include <vector>

namespace bench {

namespace {

// UTF-8 pieces of a plate, as the cameras name them.
const char* const kProvinces[] = {"京", "津", "沪", "渝", "冀", "豫", "云", "辽", "黑", "湘", "皖",
                                  "鲁", "新", "苏", "浙", "赣", "鄂", "桂", "甘", "晋", "蒙", "陕",
                                  "吉", "闽", "贵", "粤", "青", "藏", "川", "宁", "琼"};
constexpr char kLetters[] = "ABCDEFGHJKLMNPQRSTUVWXYZ";
constexpr char kSerial[] = "0123456789ABCDEFGHJKLMNPQRSTUVWXYZ";
const char* const kColours[] = {"蓝", "黄", "绿", "白", "黑"};
constexpr int kCameras = 10;
constexpr int kSecondsPerDay = 86400;

constexpr int64_t kProvinceCount = sizeof kProvinces / sizeof kProvinces[0];
constexpr int64_t kLetterCount = sizeof kLetters - 1;
constexpr int64_t kSerialCount = sizeof kSerial - 1;
constexpr int64_t kPlateSpace = kProvinceCount * kLetterCount * kSerialCount * kSerialCount * kSerialCount *
                                kSerialCount * kSerialCount;
// Coprime to kPlateSpace (whose primes are 2, 3, 17 and 31), so plate numbers never repeat while
// neighbouring numbers look unrelated, as real plates do.
constexpr int64_t kSpread = 1000003;

std::string PlateText(int64_t index)
{
    int64_t code = (index * kSpread + 7919) % kPlateSpace;
    std::string plate = kProvinces[code % kProvinceCount];
    code /= kProvinceCount;
    plate += kLetters[code % kLetterCount];
    code /= kLetterCount;
    for (int i = 0; i < 5; ++i) {
        plate += kSerial[code % kSerialCount];
        code /= kSerialCount;
    }
    return plate;
}

struct Folder {
    std::string day;      // yyyymmdd
    std::string dayText;  // yyyy-mm-dd
    std::string camera;
};

std::vector<Folder> FolderNames(int count)
{
    using namespace std::chrono;
    const int days = (count + kCameras - 1) / kCameras;
    const sys_days first = sys_days(year(2024) / August / 21) - std::chrono::days(days - 1);
    std::vector<Folder> folders;
    for (int index = 0; index < count; ++index) {
        const year_month_day date(first + std::chrono::days(index / kCameras));
        char day[16], dayText[16], camera[32];
        std::snprintf(day, sizeof day, "%04d%02u%02u", static_cast<int>(date.year()),
                      static_cast<unsigned>(date.month()), static_cast<unsigned>(date.day()));
        std::snprintf(dayText, sizeof dayText, "%.4s-%.2s-%.2s", day, day + 4, day + 6);
        std::snprintf(camera, sizeof camera, "192.168.%d.%d", 1 + index / kCameras / 250, 101 + index % kCameras);
        folders.push_back({day, dayText, camera});
    }
    return folders;
}

struct Plate {
    int64_t latest = -1;  // day * seconds-per-day + second of its latest snapshot (a day has ten folders)
    int folder = 0;       // its first snapshot's
    int colour = 0;
};

[[noreturn]] void Fail(const std::string& what)
{
    throw std::runtime_error(what + ": " + std::strerror(errno));
}

}  // namespace

PlateTree MakePlateTree(const std::string& root, int64_t files, const std::string& tablePath,
                        double repeatFraction, uint64_t seed)
{
    PlateTree tree;
    tree.images = root + "/Images";
    tree.files = files;
    // Enough folders that no folder needs two snapshots of one second.
    tree.folders = static_cast<int>(std::max<int64_t>(100, (files + kSecondsPerDay - 1) / kSecondsPerDay));
    const std::vector<Folder> folders = FolderNames(tree.folders);

    std::mt19937_64 random(seed);
    std::uniform_real_distribution<double> chance(0.0, 1.0);
    std::vector<Plate> plates;
    plates.reserve(static_cast<size_t>(files));
    if (mkdir(tree.images.c_str(), 0755) != 0)
        Fail("mkdir " + tree.images);

    const int64_t perFolder = files / tree.folders;
    const int64_t extra = files % tree.folders;
    std::string name;
    for (int index = 0; index < tree.folders; ++index) {
        const Folder& folder = folders[index];
        std::string path = tree.images + "/" + folder.day;
        if (mkdir(path.c_str(), 0755) != 0 && errno != EEXIST)
            Fail("mkdir " + path);
        path += "/" + folder.camera;
        if (mkdir(path.c_str(), 0755) != 0)
            Fail("mkdir " + path);
        const int directory = open(path.c_str(), O_RDONLY | O_DIRECTORY);
        if (directory < 0)
            Fail("open " + path);
        const int64_t count = perFolder + (index < extra ? 1 : 0);
        for (int64_t serial = 0; serial < count; ++serial) {
            int64_t plate;
            if (!plates.empty() && chance(random) < repeatFraction) {
                plate = std::uniform_int_distribution<int64_t>(0, static_cast<int64_t>(plates.size()) - 1)(random);
            } else {
                plate = static_cast<int64_t>(plates.size());
                plates.push_back({-1, index, static_cast<int>(random() % 5)});
            }
            const int second = static_cast<int>(serial * kSecondsPerDay / count);
            const int64_t day = index / kCameras;
            plates[plate].latest = std::max<int64_t>(plates[plate].latest, day * kSecondsPerDay + second);
            char stamp[16];
            std::snprintf(stamp, sizeof stamp, "%02d%02d%02d", second / 3600, second / 60 % 60, second % 60);
            name = "PlateImage_" + PlateText(plate) + "_" + kColours[plates[plate].colour] + "_" + folder.day + stamp +
                   ".jpg";
            const int file = openat(directory, name.c_str(), O_CREAT | O_EXCL | O_WRONLY, 0644);
            if (file < 0)
                Fail("create " + path + "/" + name);
            close(file);
        }
        close(directory);
    }
    tree.plates = static_cast<int64_t>(plates.size());

    std::string table = "ID\t车牌号\t时间\t车牌颜色\t相机IP地址\n";
    table.reserve(static_cast<size_t>(tree.plates) * 64);
    char time[32];
    for (size_t i = 0; i < plates.size(); ++i) {
        const Plate& plate = plates[i];
        const int second = static_cast<int>(plate.latest % kSecondsPerDay);
        std::snprintf(time, sizeof time, "%02d:%02d:%02d", second / 3600, second / 60 % 60, second % 60);
        const Folder& latestDay = folders[plate.latest / kSecondsPerDay * kCameras];
        table += std::to_string(i + 1) + "\t" + PlateText(static_cast<int64_t>(i)) + "\t" + latestDay.dayText + " " +
                 time + "\t" + kColours[plate.colour] + "\t" + folders[plate.folder].camera + "\n";
    }
    FILE* out = std::fopen(tablePath.c_str(), "wb");
    if (!out || std::fwrite(table.data(), 1, table.size(), out) != table.size() || std::fclose(out) != 0)
        Fail("write " + tablePath);
    return tree;
}

bool RemoveTree(const std::string& root)
{
    std::error_code error;
    std::filesystem::remove_all(root, error);
    return !error && !std::filesystem::exists(root, error);
}

std::string MakeScratchFolder(const std::string& prefix)
{
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/" + prefix + "-XXXXXX";
    if (!mkdtemp(pattern.data()))
        Fail("mkdtemp " + pattern);
    return pattern;
}

}  // namespace bench
