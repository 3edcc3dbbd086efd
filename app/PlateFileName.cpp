#include "app/PlateFileName.h"

namespace {

const CWConstString kPrefix(u"PlateImage_");
const CWConstString kFieldEnd(u"_");
const CWConstString kExtension(u".jpg");
const CWConstString kImagesFolder(u"Images/");
const CWConstString kFileMarker(u"/PlateImage_");
const CWConstString kSeparator(u"/");

// "YYYY-MM-DD hh:mm:ss" from the stamp's pieces; missing pieces stay empty.
CWString TimeFromPieces(const rg_quarn_base::rg_WenBenShuZuLei& pieces)
{
    static const char16_t* const kJoins[] = {u"", u"-", u"-", u" ", u":", u":"};
    CWString time;
    for (int64_t i = 0; i < 7; ++i) {
        if (i >= 1)
            time.Append(kJoins[i - 1]);
        if (i < pieces.GetCount())
            time.Append(pieces.GetAt(i));
    }
    return time;
}

} // namespace

int64_t SplitPairs(const CWString& text, rg_quarn_base::rg_WenBenShuZuLei& pieces)
{
    pieces.RemoveAll();
    const int64_t n = text.GetLength();
    const char16_t* units = text.GetText();
    if (n > 2) {
        char16_t pair[3] = {0, 0, 0};
        for (int64_t i = 0; i + 1 < n; i += 2) {
            pair[0] = units[i];
            pair[1] = units[i + 1];
            pieces.Append(pair);
        }
        if (n % 2 != 0) {
            const char16_t last[2] = {units[n - 1], 0};
            pieces.Append(last);
        }
    } else if (n > 0) {
        pieces.Append(units);
    }
    return pieces.GetCount();
}

VehicleRecord ParsePlateFileName(const CWString& path)
{
    VehicleRecord record;
    record.plate = TextBetween(path, kPrefix, kFieldEnd);
    const CWString afterPlate = ConcatLiteral(Concat(kPrefix, record.plate), u"_");
    record.colour = TextBetween(path, afterPlate, kFieldEnd);
    const CWString afterColour = ConcatLiteral(Concat(afterPlate, record.colour), u"_");
    const CWString stamp = TextBetween(path, afterColour, kExtension).Left(14);
    rg_quarn_base::rg_WenBenShuZuLei pieces;
    SplitPairs(stamp, pieces);
    record.time = TimeFromPieces(pieces);
    return record;
}

CWString CameraIpOf(const CWString& path)
{
    return TextAfterLast(TextBetween(path, kImagesFolder, kFileMarker), kSeparator);
}
