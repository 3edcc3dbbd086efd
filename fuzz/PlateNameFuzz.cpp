// Reading plate snapshot paths. The input is read whole as a path (no crash, and the fields hold no
// unit of the markers that end them), and the same bytes build a path in the documented pattern from
// fuzzed folders, plate, colour, stamp and tail, which must read back to those pieces. SplitPairs
// must cut any text into pieces that join back to it.
#include "app/PlateFileName.h"
#include "fuzz/FuzzText.h"

#include <fuzzer/FuzzedDataProvider.h>

#include <string>
#include <string_view>
#include <vector>

namespace {

using Units = std::u16string_view;

// A fuzzed piece without NUL and without the units the path's markers begin or end with.
std::u16string PieceFrom(FuzzedDataProvider& in)
{
    const std::vector<uint8_t> bytes = in.ConsumeBytes<uint8_t>(in.ConsumeIntegralInRange(0, 24));
    const std::u16string raw = in.ConsumeBool() ? tabrix_fuzz::Utf8Of(bytes.data(), bytes.size())
                                                : tabrix_fuzz::UnitsOf(bytes.data(), bytes.size());
    std::u16string piece;
    for (char16_t unit : raw) {
        if (unit != 0 && unit != u'/' && unit != u'_' && unit != u'.')
            piece.push_back(unit);
    }
    return piece;
}

char16_t FoldAscii(char16_t unit) { return unit >= u'A' && unit <= u'Z' ? unit + 0x20 : unit; }

// The first position of a lower-case ASCII marker, ignoring ASCII case; npos when absent.
size_t FindIgnoringCase(Units text, Units marker)
{
    for (size_t i = 0; i + marker.size() <= text.size(); ++i) {
        size_t k = 0;
        while (k < marker.size() && FoldAscii(text[i + k]) == marker[k])
            ++k;
        if (k == marker.size())
            return i;
    }
    return Units::npos;
}

// "YYYY-MM-DD hh:mm:ss" from the stamp's first 14 units taken as two-unit pieces.
std::u16string TimeOf(Units stamp)
{
    static const Units kJoins[] = {u"", u"", u"-", u"-", u" ", u":", u":"};
    stamp = stamp.substr(0, 14);
    std::u16string time;
    for (size_t piece = 0; piece < 7; ++piece) {
        time += kJoins[piece];
        if (piece * 2 < stamp.size())
            time += stamp.substr(piece * 2, 2);
    }
    return time;
}

void CheckAnyPath(const std::u16string& units)
{
    const CWString path{Units(units)};
    const VehicleRecord record = ParsePlateFileName(path);
    TABRIX_FUZZ_CHECK(record.plate.View().find(u'_') == Units::npos);
    TABRIX_FUZZ_CHECK(record.colour.View().find(u'_') == Units::npos);
    TABRIX_FUZZ_CHECK(record.time.GetLength() >= 5 && record.time.GetLength() <= 19);
    TABRIX_FUZZ_CHECK(record.cameraIp.IsEmpty());
    TABRIX_FUZZ_CHECK(CameraIpOf(path).View().find(u'/') == Units::npos);
}

void CheckPairs(const std::u16string& units)
{
    const CWString text{Units(units)};
    rg_quarn_base::rg_WenBenShuZuLei pieces;
    pieces.Append(u"stale");
    const int64_t count = SplitPairs(text, pieces);
    TABRIX_FUZZ_CHECK(count == pieces.GetCount());
    if (units.find(u'\0') != std::u16string::npos)
        return;    // the pieces are C texts and end at a NUL unit
    TABRIX_FUZZ_CHECK(count == static_cast<int64_t>(units.size() + 1) / 2);
    std::u16string joined;
    for (int64_t i = 0; i < count; ++i) {
        const Units piece(pieces.GetAt(i));
        TABRIX_FUZZ_CHECK(piece.size() == 2 || (piece.size() == 1 && i + 1 == count));
        joined += piece;
    }
    TABRIX_FUZZ_CHECK(joined == units);
}

void CheckBuiltPath(FuzzedDataProvider& in)
{
    std::u16string path = u"/" + PieceFrom(in);
    const size_t imagesAt = path.size() + 1;
    path += u"/Images";
    std::vector<std::u16string> folders(in.ConsumeIntegralInRange(0, 4));
    for (std::u16string& folder : folders)
        path += u"/" + (folder = PieceFrom(in));
    const std::u16string plate = PieceFrom(in);
    const std::u16string colour = PieceFrom(in);
    std::u16string stamp;
    if (in.ConsumeBool()) {
        for (int i = 0; i < 14; ++i)
            stamp.push_back(static_cast<char16_t>(u'0' + in.ConsumeIntegralInRange(0, 9)));
    } else {
        stamp = PieceFrom(in);
    }
    const std::u16string tail = PieceFrom(in);
    static const Units kExtensions[] = {u".jpg", u".JPG", u".Jpg"};
    const Units extension = kExtensions[in.ConsumeIntegralInRange<size_t>(0, std::size(kExtensions) - 1)];
    const Units prefix = in.ConsumeBool() ? u"PlateImage_" : u"plateIMAGE_";
    path += u"/";
    path += prefix;
    path += plate + u"_" + colour + u"_" + stamp + tail;
    path += extension;

    const CWString pathText{Units(path)};
    const VehicleRecord record = ParsePlateFileName(pathText);
    TABRIX_FUZZ_CHECK(record.plate.View() == plate);
    TABRIX_FUZZ_CHECK(record.colour.View() == colour);
    TABRIX_FUZZ_CHECK(record.time.View() == TimeOf(stamp + tail));
    if (stamp.size() == 14 && stamp.find_first_not_of(u"0123456789") == std::u16string::npos) {
        const std::u16string time = stamp.substr(0, 4) + u"-" + stamp.substr(4, 2) + u"-" + stamp.substr(6, 2) + u" "
                                  + stamp.substr(8, 2) + u":" + stamp.substr(10, 2) + u":" + stamp.substr(12, 2);
        TABRIX_FUZZ_CHECK(record.time.View() == time);
    }

    // The camera is the last of at least two folders below "Images", when that folder name is the
    // first "images/" of the path (a folder name ending in "images" would come first).
    if (FindIgnoringCase(path, u"images/") != imagesAt)
        return;
    const std::u16string camera = folders.size() >= 2 ? folders.back() : std::u16string();
    TABRIX_FUZZ_CHECK(CameraIpOf(pathText).View() == camera);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::u16string units = tabrix_fuzz::TextOf(data, size);
    CheckAnyPath(units);
    CheckPairs(units);
    FuzzedDataProvider in(data, size);
    CheckBuiltPath(in);
    return 0;
}
