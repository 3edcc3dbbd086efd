// Small helpers shared by the array tests.
#pragma once

#include "runtime/CMStringArray.h"
#include "runtime/CWString.h"

#include <string>
#include <vector>

// The elements as strings; a null entry shows as "<null>" so tests can tell it from a stored "".
inline std::vector<std::u16string> EntriesOf(const CMStringArray& array)
{
    std::vector<std::u16string> out;
    for (int64_t i = 0; i < array.GetCount(); ++i) {
        const char16_t* entry = array.GetAt(i);
        out.push_back(entry ? std::u16string(entry) : std::u16string(u"<null>"));
    }
    return out;
}

inline std::u16string TextOf(const CWString& text) { return std::u16string(text.View()); }
