// GetSaveFileNameW over the dialog service.
#include "platform/dialogs/SaveFileDialog.h"

#include "platform/dialogs/DialogService.h"
#include "platform/window/Window.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

namespace {

thread_local DWORD t_lastDialogError = 0;

// A filter list longer than this is taken as one that lacks its terminating empty string.
constexpr size_t kLongestFilterList = 65536;

BOOL Fail(DWORD error)
{
    t_lastDialogError = error;
    return FALSE;
}

std::u16string Bounded(LPCWSTR text, size_t limit)
{
    if (!text)
        return {};
    size_t n = 0;
    while (n < limit && text[n])
        ++n;
    return std::u16string(text, n);
}

std::vector<std::u16string> FilterStrings(LPCWSTR list)
{
    std::vector<std::u16string> strings;
    if (!list)
        return strings;
    size_t used = 0;
    while (*list && used < kLongestFilterList) {
        std::u16string one = Bounded(list, kLongestFilterList - used);
        used += one.size() + 1;
        list += one.size() + 1;
        strings.push_back(std::move(one));
    }
    return strings;
}

size_t NameStart(const std::u16string& path)
{
    size_t slash = path.find_last_of(u'/');
    return slash == std::u16string::npos ? 0 : slash + 1;
}

// Where the extension starts (after its dot), or the path's length when the name has none.
size_t ExtensionStart(const std::u16string& path)
{
    size_t name = NameStart(path);
    size_t dot = path.find_last_of(u'.');
    return dot == std::u16string::npos || dot < name ? path.size() : dot + 1;
}

// A name typed without an extension gets the default one, as the platform's dialog does.
std::u16string WithDefaultExtension(std::u16string path, const std::u16string& extension)
{
    if (!extension.empty() && ExtensionStart(path) == path.size() && NameStart(path) < path.size())
        path += u'.' + extension;
    return path;
}

SaveFileRequest MakeRequest(const OPENFILENAMEW& ofn)
{
    SaveFileRequest request;
    request.owner = ofn.hwndOwner;
    request.title = Bounded(ofn.lpstrTitle, 32768);
    request.fileName = Bounded(ofn.lpstrFile, ofn.nMaxFile);
    request.fileCapacity = ofn.nMaxFile;
    request.filterStrings = FilterStrings(ofn.lpstrFilter);
    request.filterIndex = ofn.nFilterIndex;
    request.initialDirectory = Bounded(ofn.lpstrInitialDir, 32768);
    request.defaultExtension = Bounded(ofn.lpstrDefExt, 32768);
    request.flags = ofn.Flags;
    request.threadId = GetCurrentThreadId();
    return request;
}

void StoreAnswer(OPENFILENAMEW& ofn, const std::u16string& path, const std::u16string& defaultExtension)
{
    std::memcpy(ofn.lpstrFile, path.c_str(), (path.size() + 1) * sizeof(char16_t));
    size_t name = NameStart(path);
    size_t extension = ExtensionStart(path);
    ofn.nFileOffset = static_cast<WORD>(std::min<size_t>(name, 0xFFFF));
    ofn.nFileExtension = static_cast<WORD>(std::min<size_t>(extension, 0xFFFF));
    std::u16string given = extension < path.size() ? path.substr(extension) : std::u16string();
    if (!defaultExtension.empty() && given != defaultExtension)
        ofn.Flags |= OFN_EXTENSIONDIFFERENT;
    else
        ofn.Flags &= ~OFN_EXTENSIONDIFFERENT;
    if (ofn.lpstrFileTitle && ofn.nMaxFileTitle > 0) {
        std::u16string title = path.substr(name, ofn.nMaxFileTitle - 1);
        std::memcpy(ofn.lpstrFileTitle, title.c_str(), (title.size() + 1) * sizeof(char16_t));
    }
}

}  // namespace

BOOL GetSaveFileNameW(OPENFILENAMEW* ofn)
{
    t_lastDialogError = 0;
    if (!ofn || ofn->lStructSize != sizeof(OPENFILENAMEW))
        return Fail(CDERR_STRUCTSIZE);
    if (!ofn->lpstrFile || ofn->nMaxFile == 0 || (ofn->hwndOwner && !IsWindow(ofn->hwndOwner)))
        return Fail(CDERR_INITIALIZATION);

    SaveFileRequest request = MakeRequest(*ofn);
    PathAnswer answer = CurrentDialogService()->ChooseSaveFile(request);
    if (answer.outcome == DialogOutcome::Cancelled)
        return FALSE;
    if (answer.outcome == DialogOutcome::Failed)
        return Fail(CDERR_DIALOGFAILURE);
    std::u16string path = WithDefaultExtension(std::move(answer.path), request.defaultExtension);
    if (path.empty())
        return Fail(FNERR_INVALIDFILENAME);
    if (path.size() + 1 > ofn->nMaxFile) {
        if (ofn->nMaxFile >= 1)
            ofn->lpstrFile[0] = static_cast<char16_t>(std::min<size_t>(path.size() + 1, 0xFFFF));
        return Fail(FNERR_BUFFERTOOSMALL);
    }
    StoreAnswer(*ofn, path, request.defaultExtension);
    return TRUE;
}

DWORD CommDlgExtendedError()
{
    return t_lastDialogError;
}
