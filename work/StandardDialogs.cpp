#include "work/StandardDialogs.h"

#include "platform/dialogs/FolderPicker.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/dialogs/SaveFileDialog.h"
#include "work/HomeFolders.h"

#include <algorithm>

namespace rg_quarn_Tolvar {

namespace {

constexpr size_t kFileNameUnits = 1040;

// "(*.xls;xlsx)" at the end of a description: the patterns "*.xls;*.xlsx".
std::u16string PatternFromDescription(std::u16string_view description)
{
    const size_t open = description.rfind(u'(');
    const size_t close = description.rfind(u')');
    if (open == std::u16string_view::npos || close == std::u16string_view::npos || close < open + 2)
        return u"*.*";
    std::u16string patterns;
    std::u16string_view inside = description.substr(open + 1, close - open - 1);
    while (!inside.empty()) {
        const size_t end = std::min(inside.find(u';'), inside.size());
        std::u16string_view piece = inside.substr(0, end);
        inside.remove_prefix(std::min(end + 1, inside.size()));
        if (piece.empty())
            continue;
        if (!patterns.empty())
            patterns.push_back(u';');
        if (piece.find(u'*') == std::u16string_view::npos && piece.find(u'?') == std::u16string_view::npos)
            patterns += piece.front() == u'.' ? u"*" : u"*.";
        patterns += piece;
    }
    return patterns.empty() ? u"*.*" : patterns;
}

std::u16string JoinedFilter(const std::vector<std::u16string>& strings)
{
    std::u16string list;
    for (const std::u16string& one : strings) {
        list += one;
        list.push_back(u'\0');
    }
    list.push_back(u'\0');
    return list;
}

const char16_t* TextOrNull(const CWString& text) { return text.IsEmpty() ? nullptr : text.GetText(); }

} // namespace

CWString BrowseForFolder(const CWString& initialFolder)
{
    const CWString start = LocalFolderFor(initialFolder);
    CFolderPickerDialog picker(start.GetText(), 0, nullptr);
    if (picker.DoModal() != IDOK)
        return CWString();
    return CWString(std::u16string_view(picker.GetFolderPath()));
}

uint32_t SaveDialogOptions() { return OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT; }

std::vector<std::u16string> SaveFilterStrings(std::u16string_view filter)
{
    std::vector<std::u16string> strings;
    if (filter.empty())
        return strings;
    for (;;) {
        const size_t bar = filter.find(u'|');
        strings.emplace_back(filter.substr(0, bar));
        if (bar == std::u16string_view::npos)
            break;
        filter.remove_prefix(bar + 1);
    }
    // A list written "description|pattern|" ends in an empty piece, which ends the list anyway.
    if (strings.size() > 1 && strings.back().empty())
        strings.pop_back();
    if (strings.size() % 2 == 1)
        strings.push_back(PatternFromDescription(strings.back()));
    return strings;
}

size_t SaveFileNameCapacity(size_t initialNameUnits) { return std::max(kFileNameUnits, initialNameUnits + 1); }

CWString ChooseSaveFile(const CWString& title, CWString& fileName, const CWString& filter,
                        const CWString& initialDirectory, const CWString& defaultExtension)
{
    const std::vector<std::u16string> filterStrings = SaveFilterStrings(filter.View());
    const std::u16string filterList = JoinedFilter(filterStrings);
    std::u16string buffer(fileName.View());
    buffer.resize(SaveFileNameCapacity(buffer.size()), u'\0');
    const CWString startFolder = LocalFolderFor(initialDirectory);

    OPENFILENAMEW request{};
    request.lStructSize = sizeof request;
    request.lpstrFilter = filterStrings.empty() ? nullptr : filterList.c_str();
    request.nFilterIndex = 0;
    request.lpstrFile = buffer.data();
    request.nMaxFile = static_cast<DWORD>(buffer.size());
    request.lpstrInitialDir = TextOrNull(startFolder);
    request.lpstrTitle = TextOrNull(title);
    request.lpstrDefExt = TextOrNull(defaultExtension);
    request.Flags = SaveDialogOptions();
    if (!GetSaveFileNameW(&request)) {
        fileName = CWString();
        return CWString();
    }
    fileName = CWString(buffer.c_str());
    return fileName;
}

} // namespace rg_quarn_Tolvar
