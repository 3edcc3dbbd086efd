// CQrnBaseDataType: the base of the value classes, the objects that carry one scalar value where a
// value must travel as an object (object arrays, event and property values, the object protocol).
// It adds no field; its one new operation, GetValuePointer, gives the address of the value field
// (null here). Compares and dumps like CQrnObject. Not thread-safe; one thread at a time.
#pragma once

#include "runtime/CQrnObject.h"

class CQrnBaseDataType : public CQrnObject {
    QRN_DECLARE_CLASS(CQrnBaseDataType)
public:
    // The first operation after the root protocol. The pointer lives as long as the object.
    virtual void* GetValuePointer() { return nullptr; }

    CQrnBaseDataType() = default;
    CQrnBaseDataType(const CQrnBaseDataType&) = default;
    CQrnBaseDataType& operator=(const CQrnBaseDataType&) = default;
    ~CQrnBaseDataType() override = default;
};
