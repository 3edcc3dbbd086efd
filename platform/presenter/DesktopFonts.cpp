#include "platform/presenter/DesktopFonts.h"

#include <QFontDatabase>
#include <QStringList>

#include <algorithm>

namespace {

constexpr double kCorePixelsPerInch = 96.0;
// Sizes beyond this are a bad description, not a font anyone reads.
constexpr LONG kLargestPixels = 4096;
constexpr const char* kSerifFallback = "Noto Serif CJK SC";
constexpr const char* kSansFallback = "Noto Sans CJK SC";

bool IsSerifFace(const QString& face)
{
    static const QStringList serif = {
        QString::fromUtf8("宋体"),   QString::fromUtf8("新宋体"), QString::fromUtf8("仿宋"),
        QString::fromUtf8("楷体"),   QString::fromUtf8("细明体"), QString::fromUtf8("新细明体"),
        QStringLiteral("SimSun"),    QStringLiteral("NSimSun"),   QStringLiteral("FangSong"),
        QStringLiteral("KaiTi"),     QStringLiteral("MingLiU"),   QStringLiteral("PMingLiU"),
    };
    return serif.contains(face, Qt::CaseInsensitive) || face.contains(QStringLiteral("Serif"), Qt::CaseInsensitive);
}

}  // namespace

QString DesktopFamilyFor(const QString& face)
{
    if (face.isEmpty() || QFontDatabase::hasFamily(face))
        return face;
    const QString first = QString::fromLatin1(IsSerifFace(face) ? kSerifFallback : kSansFallback);
    const QString second = QString::fromLatin1(IsSerifFace(face) ? kSansFallback : kSerifFallback);
    if (QFontDatabase::hasFamily(first))
        return first;
    if (QFontDatabase::hasFamily(second))
        return second;
    return face;  // left to the desktop's own substitution
}

QFont DesktopFontFor(const FontSnapshot& font)
{
    QFont result;
    if (!font.set)
        return result;
    const QString face = QString::fromUtf16(font.face.data(), static_cast<qsizetype>(font.face.size()));
    if (!face.isEmpty())
        result.setFamilies({DesktopFamilyFor(face)});
    if (font.height < 0)
        result.setPointSizeF(static_cast<double>(std::min(-static_cast<long long>(font.height),
                                                          static_cast<long long>(kLargestPixels)))
                             * 72.0 / kCorePixelsPerInch);
    else if (font.height > 0)
        result.setPixelSize(static_cast<int>(std::min(font.height, kLargestPixels)));
    if (font.weight > 0)
        result.setWeight(static_cast<QFont::Weight>(std::clamp<LONG>(font.weight, 1, 1000)));
    result.setItalic(font.italic);
    result.setUnderline(font.underline);
    result.setStrikeOut(font.strikeOut);
    return result;
}
