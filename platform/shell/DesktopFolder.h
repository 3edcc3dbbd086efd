#pragma once
// The user's desktop folder, the special folder a default export lands in: the XDG desktop
// directory (XDG_DESKTOP_DIR, else the XDG_DESKTOP_DIR line of $XDG_CONFIG_HOME/user-dirs.dirs or
// ~/.config/user-dirs.dirs), else ~/Desktop; only a folder that exists counts. The path text is the
// losslessly decoded file name (see platform/files/FileNameCodec.h), without a trailing separator.
// Reads the environment and the file system only; any thread.
#include <optional>
#include <string>

std::optional<std::u16string> GetDesktopFolder();
