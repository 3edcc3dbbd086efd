#pragma once
// The desktop font for a core font: face, size, weight, italic, underline and strike-out. A face the
// desktop lacks (the program names Windows faces such as "宋体") becomes a face that has the Chinese
// glyphs: a serif one for the Song, Fang Song, Kai and Ming faces, a sans one otherwise.
// Thread safety: the main thread (Qt's font database), after the QApplication is made.
#include "platform/presenter/WindowSnapshot.h"

#include <QFont>
#include <QString>

// The family to ask Qt for: the face itself when the desktop has it.
QString DesktopFamilyFor(const QString& face);
// A default QFont (the desktop's) when none is set. A negative height is the character height,
// taken at 96 dots per inch as the core lays out, so -20 is 15 points; a positive one is the cell.
QFont DesktopFontFor(const FontSnapshot& font);
