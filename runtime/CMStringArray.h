// CMStringArray: a list of texts, each stored on its own. The items buffer (growth step 256 bytes)
// holds one 64-bit entry per element: null for the empty text, else a NUL-terminated copy allocated
// through this array's AllocMem, owned by the array. Adding always copies; a non-empty element is never
// stored as null. Not a CQrnObject: it has the memory operations, then GetClassInfo and IsKindOf.
// An array is used by one thread at a time.
#pragma once

#include "runtime/CQrnMem.h"
#include "runtime/Forward.h"

#include <cstdint>

enum class SplitTrim { No, Yes };   // Yes strips units <= U+0020 and U+3000 from both ends of a piece

class CMStringArray : public CQrnCommonBaseWithMemManager {
public:
    static constexpr int64_t kItemsStep = 256;

    static const CQrnClassInfo& StaticClassInfo();
    virtual const CQrnClassInfo* GetClassInfo() const { return &StaticClassInfo(); }
    virtual bool IsKindOf(const CQrnClassInfo& info) const;

    CMStringArray() noexcept : items_(kItemsStep) {}
    CMStringArray(const CMStringArray& other);
    CMStringArray& operator=(const CMStringArray& other);
    ~CMStringArray();

    int64_t GetCount() const noexcept { return items_.GetLength() / kEntrySize; }
    // Null reads as the empty text. The index must lie in 0..count-1 (asserted; null outside).
    const char16_t* GetAt(int64_t index) const noexcept;
    // Copies text to index, moving later entries up; an index at or past the end appends.
    // The index must not be negative (asserted; treated as 0).
    void InsertAt(int64_t index, const char16_t* text);
    void Append(const char16_t* text) { InsertAt(GetCount(), text); }
    // Copies of other's entries, in order; nothing when other is this array.
    void AppendCopies(const CMStringArray& other);
    void RemoveAll();
    // Empties the array and fills it with the pieces of text between units of the NUL-terminated
    // delimiter set; a text ending in a delimiter gives an empty last piece. Returns the count.
    int64_t Split(const char16_t* text, const char16_t* delimiters, SplitTrim trim);

    bool HasSameTexts(const CMStringArray& other) const noexcept;
    // The element count, then each element as a text. Loading empties first and stops, with the
    // elements read so far, at the first stream error or malformed element (read error set).
    void SaveToStream(CQrnStream& stream) const;
    void LoadFromStream(CQrnStream& stream);
    // The array dump: header, then one numbered quoted line per element (limit 0: 64; negative: all).
    void GetDumpText(CWString& text, int32_t memberLimit) const;

    // The entry buffer, for callers that watch storage growth.
    const CQrnMem& Items() const noexcept { return items_; }

private:
    static constexpr int64_t kEntrySize = 8;

    char16_t** Entries() const noexcept { return reinterpret_cast<char16_t**>(items_.GetData()); }
    // A fresh copy of count units and a NUL, or null for count 0.
    char16_t* CopyUnits(const char16_t* units, int64_t count);
    void InsertEntry(int64_t index, char16_t* entry);
    // Reads one element's text form; false (read error set) when the stream fails or the bytes are
    // not one NUL-terminated text.
    bool ReadElement(CQrnStream& stream, char16_t*& entry);

    CQrnMem items_;
};

// Unit-by-unit comparison as unsigned 16-bit values; null is the empty text: -1, 0 or 1.
int CompareUnits(const char16_t* a, const char16_t* b) noexcept;
