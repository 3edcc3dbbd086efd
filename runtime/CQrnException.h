// CQrnException: a runtime fault with a 32-bit code and a description, thrown by value and reported
// once by the program's top-level trap. Built from a description alone it carries code -1. Two
// exceptions are equal when their codes are (descriptions do not count).
// An exception object is used by one thread at a time (thrown and caught on one thread).
#pragma once

#include "runtime/CWString.h"

#include <cstdint>

class CQrnException : public CQrnObject {
    QRN_DECLARE_CLASS(CQrnException)
public:
    int32_t code = 0;
    CWString description;

    CQrnException() = default;
    explicit CQrnException(const CWString& text) : code(-1), description(text) {}
    CQrnException(int32_t errorCode, const CWString& text) : code(errorCode), description(text) {}
    CQrnException(const CQrnException&) = default;
    CQrnException& operator=(const CQrnException&) = default;
    ~CQrnException() override = default;

    bool IsEqual(const CQrnObject& other) const override;
    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    // Appends "代码: <code>; 描述: <description>".
    void GetDumpText(CWString& text, int32_t memberLimit) const override;
    // The code as a 32-bit value, then the description in the text's stream form.
    void SaveToStream(CQrnStream& stream) const override;
    void LoadFromStream(CQrnStream& stream) override;
};
