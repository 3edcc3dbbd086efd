// Pieces of the arrays' debug dumps: the quoted form of a text (escapes for controls, quotes and
// backslashes; units outside our printable set as \xHH or \uHHHH) and the member-count header. The
// printable set is our own, fixed on every platform: ASCII 0x20-0x7E and units from 0xA0 on, except
// surrogates, noncharacters, the soft hyphen and invisible format and separator controls.
// Stateless; any thread.
#pragma once

#include "runtime/Forward.h"

#include <cstdint>

bool IsPrintableUnit(char16_t unit) noexcept;
// Appends the quoted form of text (null reads as the empty text, which gives two quotation marks).
void AppendQuotedText(CWString& out, const char16_t* text);
// Appends the header for count members under the member limit (0 means 64, negative means all) and
// returns how many members the dump then prints.
int64_t AppendArrayDumpHeader(CWString& out, int64_t count, int32_t memberLimit);
