// Parses 1,000,000 realistic snapshot paths with ParsePlateFileName and CameraIpOf, and the same
// paths with a plain std::u16string parser as the peer; prints paths per second for both, their
// ratio, and how many allocations reached the heap while the pool had blocks.
#include "app/PlateFileName.h"

#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <vector>

namespace {

constexpr int kPaths = 1000000;

// Held as plain strings, so the pool stays free for the parser's own texts.
std::vector<std::u16string> MakePaths()
{
    static const char16_t* const kPlates[] = {u"京A", u"沪B", u"粤C", u"苏E", u"浙F"};
    static const char16_t* const kColours[] = {u"蓝", u"黄", u"绿", u"白"};
    std::vector<std::u16string> paths;
    paths.reserve(kPaths);
    for (int i = 0; i < kPaths; ++i) {
        CWString p;
        p.SetFormat(u"/home/kmw/IISPublish/Upload/Images/202408%02d/192.168.1.%d/PlateImage_%s%05d_%s_202408%02d%02d%02d%02d%03d.jpg",
                    i % 28 + 1, i % 200 + 1, kPlates[i % 5], i % 100000, kColours[i % 4], i % 28 + 1, i % 24,
                    i % 60, (i / 60) % 60, i % 1000);
        paths.emplace_back(p.View());
    }
    return paths;
}

const std::vector<std::u16string>& Paths()
{
    static const std::vector<std::u16string> paths = MakePaths();
    return paths;
}

// The peer: the same rules with std::u16string searches (case-sensitive, which only helps it).
struct PeerRecord { std::u16string plate, colour, time, camera; };
PeerRecord PeerParse(std::u16string_view p)
{
    PeerRecord r;
    const size_t a = p.find(u"PlateImage_");
    if (a == std::u16string_view::npos)
        return r;
    const size_t b = a + 11, c = p.find(u'_', b);
    if (c == std::u16string_view::npos)
        return r;
    r.plate = p.substr(b, c - b);
    const size_t d = p.find(u'_', c + 1);
    if (d == std::u16string_view::npos)
        return r;
    r.colour = p.substr(c + 1, d - c - 1);
    const std::u16string_view s = p.substr(d + 1, 14);
    r.time = std::u16string(s.substr(0, 4)) + u"-" + std::u16string(s.substr(4, 2)) + u"-" + std::u16string(s.substr(6, 2))
        + u" " + std::u16string(s.substr(8, 2)) + u":" + std::u16string(s.substr(10, 2)) + u":" + std::u16string(s.substr(12, 2));
    const size_t images = p.find(u"Images/");
    if (images != std::u16string_view::npos) {
        const std::u16string_view folders = p.substr(images + 7, a - 1 - (images + 7));
        const size_t slash = folders.rfind(u'/');
        if (slash != std::u16string_view::npos)
            r.camera = folders.substr(slash + 1);
    }
    return r;
}

double g_oursPerSecond = 0, g_peerPerSecond = 0;

void BM_ParsePlateFileName(benchmark::State& state)
{
    const auto& paths = Paths();
    const uint64_t heapBefore = CPoolMem::Process().HeapAllocationCount();
    int64_t parsed = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (const std::u16string& text : paths) {
            const CWConstString p(text.c_str());
            VehicleRecord r = ParsePlateFileName(p);
            r.cameraIp = CameraIpOf(p);
            benchmark::DoNotOptimize(r.time.GetText());
        }
        parsed += kPaths;
    }
    g_oursPerSecond = double(parsed) / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["paths_per_s"] = g_oursPerSecond;
    state.counters["heap_allocs"] = double(CPoolMem::Process().HeapAllocationCount() - heapBefore);
}

void BM_PeerStdString(benchmark::State& state)
{
    const auto& paths = Paths();
    int64_t parsed = 0;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        for (const auto& p : paths) {
            PeerRecord r = PeerParse(p);
            benchmark::DoNotOptimize(r.time.data());
            benchmark::DoNotOptimize(r.camera.data());
        }
        parsed += kPaths;
    }
    g_peerPerSecond = double(parsed) / std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    state.counters["paths_per_s"] = g_peerPerSecond;
}

} // namespace

BENCHMARK(BM_ParsePlateFileName)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_PeerStdString)->Unit(benchmark::kMillisecond)->Iterations(3);

int main(int argc, char** argv)
{
    Paths();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    if (g_peerPerSecond > 0)
        std::printf("ParsePlateFileName+CameraIpOf: %.0f paths/s, peer std::u16string: %.0f paths/s, ratio %.2f\n",
                    g_oursPerSecond, g_peerPerSecond, g_oursPerSecond / g_peerPerSecond);
    benchmark::Shutdown();
    return 0;
}
