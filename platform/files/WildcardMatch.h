#pragma once
// The search's wildcard rule for entry names: "*" matches any run of units (also none), "?" exactly
// one unit, every other unit itself with ASCII letters compared without case (as the original
// platform; other letters keep their case). "*.*" matches every name, dotted or not, as it does on
// the original platform. Runs in time proportional to pattern times name at worst, without recursion.
// Stateless; any thread.
#include <string_view>

enum class LetterCase { IgnoreAscii, Exact };

bool MatchesWildcard(std::u16string_view pattern, std::u16string_view name,
                     LetterCase letterCase = LetterCase::IgnoreAscii) noexcept;
