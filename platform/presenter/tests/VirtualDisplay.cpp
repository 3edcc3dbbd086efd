#include "platform/presenter/tests/VirtualDisplay.h"

#include <gtest/gtest.h>

#include <QApplication>

#include <poll.h>
#include <sys/prctl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <vector>

namespace {

std::string ReadDisplayNumber(int fd)
{
    std::string number;
    pollfd p{fd, POLLIN, 0};
    while (::poll(&p, 1, 20000) > 0) {
        char c = 0;
        if (::read(fd, &c, 1) != 1 || c == '\n')
            break;
        number += c;
    }
    return number.empty() ? std::string() : ":" + number;
}

uint32_t BigEndian32(const std::vector<char>& bytes, size_t offset)
{
    uint32_t value = 0;
    for (size_t i = 0; i < 4; ++i)
        value = (value << 8) | static_cast<unsigned char>(bytes[offset + i]);
    return value;
}

}  // namespace

#if TABRIX_ASAN
// Qt's start on X11 keeps a few allocations of the system's D-Bus and font libraries for the life
// of the process; they are not ours to free.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libdbus-1.so\nleak:libfontconfig.so\n";
}
#endif

bool XvfbInstalled() { return std::system("command -v Xvfb >/dev/null 2>&1") == 0; }

bool VirtualDisplay::Start(const std::filesystem::path& screenFolder, const std::string& screen)
{
    int pipeFds[2];
    if (::pipe(pipeFds) != 0)
        return false;
    screenFolder_ = screenFolder;
    pid_ = ::fork();
    if (pid_ == 0) {
        ::close(pipeFds[0]);
        // A test program that crashes must not leave its display server behind.
        ::prctl(PR_SET_PDEATHSIG, SIGTERM);
        if (!std::freopen("/dev/null", "w", stdout) || !std::freopen("/dev/null", "w", stderr))
            ::_exit(126);
        const std::string fd = std::to_string(pipeFds[1]);
        const std::string folder = screenFolder.string();
        if (folder.empty())
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                     static_cast<char*>(nullptr));
        else
            ::execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", screen.c_str(), "-nolisten", "tcp",
                     "-fbdir", folder.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ::close(pipeFds[1]);
    if (pid_ > 0)
        name_ = ReadDisplayNumber(pipeFds[0]);
    ::close(pipeFds[0]);
    return !name_.empty();
}

void VirtualDisplay::Stop()
{
    if (pid_ <= 0)
        return;
    ::kill(pid_, SIGTERM);
    ::waitpid(pid_, nullptr, 0);
    pid_ = -1;
}

// The screen file is in the X window dump format: a big-endian header of 32-bit fields, the
// colour map, then the pixels (32 bits each, least significant byte first, at 24 bits depth).
QImage VirtualDisplay::Screen() const
{
    if (screenFolder_.empty())
        return {};
    std::ifstream in(screenFolder_ / "Xvfb_screen0", std::ios::binary);
    const std::vector<char> bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
    if (bytes.size() < 100)
        return {};
    const uint32_t headerSize = BigEndian32(bytes, 0);
    const uint32_t width = BigEndian32(bytes, 4 * 4);
    const uint32_t height = BigEndian32(bytes, 5 * 4);
    const uint32_t byteOrder = BigEndian32(bytes, 7 * 4);
    const uint32_t bitsPerPixel = BigEndian32(bytes, 11 * 4);
    const uint32_t bytesPerLine = BigEndian32(bytes, 12 * 4);
    const uint32_t colours = BigEndian32(bytes, 19 * 4);
    const uint64_t pixels = uint64_t(headerSize) + uint64_t(colours) * 12;
    if (bitsPerPixel != 32 || byteOrder != 0 || width == 0 || height == 0 ||
        pixels + uint64_t(bytesPerLine) * height > bytes.size())
        return {};
    QImage image(reinterpret_cast<const uchar*>(bytes.data() + pixels), static_cast<int>(width),
                 static_cast<int>(height), static_cast<qsizetype>(bytesPerLine), QImage::Format_RGB32);
    return image.copy();
}

namespace {

VirtualDisplay* g_display = nullptr;
QApplication* g_qt = nullptr;

class DesktopEnvironment : public ::testing::Environment {
public:
    void SetUp() override
    {
        if (!XvfbInstalled())
            return;
        g_display = new VirtualDisplay;
        if (!g_display->Start())
            return;
        ::setenv("DISPLAY", g_display->Name().c_str(), 1);
        ::unsetenv("WAYLAND_DISPLAY");
        ::setenv("QT_QPA_PLATFORM", "xcb", 1);
        static int argc = 1;
        static char name[] = "tabrix-desktop-test";
        static char* argv[] = {name, nullptr};
        g_qt = new QApplication(argc, argv);
    }
    void TearDown() override
    {
        delete g_qt;
        g_qt = nullptr;
        delete g_display;
        g_display = nullptr;
    }
};

}  // namespace

void RegisterDesktopEnvironment()
{
    static const bool registered = (::testing::AddGlobalTestEnvironment(new DesktopEnvironment), true);
    (void)registered;
}

bool DesktopReady() { return g_qt != nullptr; }
