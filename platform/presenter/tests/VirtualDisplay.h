#pragma once
// Test support: an Xvfb server on a display number it picks itself (-displayfd), so parallel test
// programs never collide, optionally keeping its screen in a file (-fbdir) that a test reads back;
// and the test-wide environment that makes one display and one QApplication for a test program.
// Thread safety: the test's main thread only.
#include <QImage>

#include <sys/types.h>

#include <filesystem>
#include <string>

bool XvfbInstalled();

class VirtualDisplay {
public:
    VirtualDisplay() = default;
    ~VirtualDisplay() { Stop(); }
    VirtualDisplay(const VirtualDisplay&) = delete;
    VirtualDisplay& operator=(const VirtualDisplay&) = delete;

    // screenFolder: where Xvfb keeps its screen (empty: nowhere); screen: its size and depth.
    // False when it did not start.
    bool Start(const std::filesystem::path& screenFolder = {}, const std::string& screen = "1280x1024x24");
    void Stop();
    const std::string& Name() const { return name_; }  // ":N"
    // The screen as Xvfb last drew it; a null image without a screen folder or on a bad file.
    QImage Screen() const;

private:
    pid_t pid_ = -1;
    std::string name_;
    std::filesystem::path screenFolder_;
};

// Registers the environment: a display, DISPLAY set to it, and a QApplication on it, made before
// the first test when Xvfb is installed. DesktopReady() tells whether that worked.
void RegisterDesktopEnvironment();
bool DesktopReady();
