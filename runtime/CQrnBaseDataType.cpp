#include "runtime/CQrnBaseDataType.h"

QRN_IMPLEMENT_CLASS(CQrnBaseDataType, CQrnObject, "CQrnBaseDataType")
