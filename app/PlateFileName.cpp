#include "app/PlateFileName.h"

namespace {

const CWConstString kPrefix(u"PlateImage_");
const CWConstString kFieldEnd(u"_");
const CWConstString kExtension(u".jpg");
const CWConstString kImagesFolder(u"Images/");
const CWConstString kFileMarker(u"/PlateImage_");
const CWConstString kSeparator(u"/");

// "YYYY-MM-DD hh:mm:ss" from the stamp: the same text as joining the stamp's SplitPairs pieces
// with "", "-", "-", " ", ":", ":" between them (missing pieces stay empty), built in one step.
CWString TimeFromStamp(const CWString& stamp)
{
    static const char16_t kJoins[] = {u'-', u'-', u' ', u':', u':'};
    const int64_t n = stamp.GetLength();
    const char16_t* units = stamp.GetText();
    char16_t time[14 + 5];
    int64_t length = 0;
    for (int64_t piece = 0; piece < 7; ++piece) {
        if (piece >= 2)
            time[length++] = kJoins[piece - 2];
        for (int64_t i = piece * 2; i < piece * 2 + 2 && i < n; ++i)
            time[length++] = units[i];
    }
    CWString result;
    result.SetChars(time, length);
    return result;
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
    record.time = TimeFromStamp(TextBetween(path, afterColour, kExtension).Left(14));
    return record;
}

CWString CameraIpOf(const CWString& path)
{
    return TextAfterLast(TextBetween(path, kImagesFolder, kFileMarker), kSeparator);
}
