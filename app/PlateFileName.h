// Reading a plate snapshot's path: "PlateImage_" + plate + "_" + colour + "_" + a 14-digit stamp
// (year, month, day, hour, minute, second) + anything + ".jpg", in a folder named after the camera's
// address somewhere below a folder "Images". Nothing is validated; missing markers give empty
// fields. Pure functions of the path text; any thread.
#pragma once

#include "runtime/CWString.h"
#include "runtime/TextArrays.h"

struct VehicleRecord {
    CWString plate;
    CWString colour;
    CWString time;      // YYYY-MM-DD hh:mm:ss
    CWString cameraIp;
};

// The record without its camera address.
VehicleRecord ParsePlateFileName(const CWString& path);
// The folder that holds the file, when at least two folder levels lie below "Images"; else empty.
CWString CameraIpOf(const CWString& path);
// Pieces of two units from the start (an odd last unit alone); a text of one or two units is one piece.
int64_t SplitPairs(const CWString& text, rg_quarn_base::rg_WenBenShuZuLei& pieces);
