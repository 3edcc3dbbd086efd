#include "platform/files/FindFile.h"

#include <new>
#include <string_view>

#include "platform/files/SearchHandleTable.h"

namespace {

HANDLE Fail(DWORD error) {
    SetLastError(error);
    return INVALID_HANDLE_VALUE;
}

HANDLE OpenSearchHandle(LPCWSTR pattern, WIN32_FIND_DATAW& data, SearchOptions options) {
    DWORD error = ERROR_SUCCESS;
    std::unique_ptr<DirectorySearch> search = DirectorySearch::Open(std::u16string_view(pattern), options, error);
    if (!search) return Fail(error);
    if (!search->Next(data, error)) return Fail(error == ERROR_NO_MORE_FILES ? ERROR_FILE_NOT_FOUND : error);
    const HANDLE handle = SearchHandleTable::Instance().Add(std::move(search));
    SetLastError(ERROR_SUCCESS);
    return handle;
}

constexpr DWORD kKnownFlags = FIND_FIRST_EX_CASE_SENSITIVE | FIND_FIRST_EX_LARGE_FETCH | TABRIX_FIND_LISTING_ONLY;

}  // namespace

HANDLE FindFirstFileW(LPCWSTR pattern, WIN32_FIND_DATAW* data) {
    return FindFirstFileExW(pattern, FindExInfoStandard, data, FindExSearchNameMatch, nullptr, 0);
}

HANDLE FindFirstFileExW(LPCWSTR pattern, FINDEX_INFO_LEVELS infoLevel, LPVOID data, FINDEX_SEARCH_OPS searchOp,
                        LPVOID searchFilter, DWORD flags) {
    if (pattern == nullptr || data == nullptr || searchFilter != nullptr || (flags & ~kKnownFlags) != 0) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    if (infoLevel != FindExInfoStandard && infoLevel != FindExInfoBasic) return Fail(ERROR_INVALID_PARAMETER);
    if (searchOp != FindExSearchNameMatch && searchOp != FindExSearchLimitToDirectories) {
        return Fail(ERROR_INVALID_PARAMETER);
    }
    SearchOptions options;
    if (searchOp == FindExSearchLimitToDirectories) options.scope = SearchScope::DirectoriesOnly;
    if ((flags & FIND_FIRST_EX_CASE_SENSITIVE) != 0) options.letterCase = LetterCase::Exact;
    if ((flags & TABRIX_FIND_LISTING_ONLY) != 0) options.detail = EntryDetail::KindsOnly;
    try {
        return OpenSearchHandle(pattern, *static_cast<WIN32_FIND_DATAW*>(data), options);
    } catch (const std::bad_alloc&) {
        return Fail(ERROR_NOT_ENOUGH_MEMORY);
    }
}

BOOL FindNextFileW(HANDLE search, WIN32_FIND_DATAW* data) {
    const std::shared_ptr<OpenSearch> open = SearchHandleTable::Instance().Find(search);
    if (!open) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    if (data == nullptr) {
        SetLastError(ERROR_INVALID_PARAMETER);
        return FALSE;
    }
    std::lock_guard guard(open->inUse);
    DWORD error = ERROR_SUCCESS;
    try {
        if (!open->search->Next(*data, error)) {
            SetLastError(error);
            return FALSE;
        }
    } catch (const std::bad_alloc&) {
        SetLastError(ERROR_NOT_ENOUGH_MEMORY);
        return FALSE;
    }
    SetLastError(ERROR_SUCCESS);
    return TRUE;
}

BOOL FindClose(HANDLE search) {
    if (!SearchHandleTable::Instance().Remove(search)) {
        SetLastError(ERROR_INVALID_HANDLE);
        return FALSE;
    }
    return TRUE;
}
