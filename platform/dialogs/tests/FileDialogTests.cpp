// The save dialog and the folder picker through the scripted service.
#include "DialogTestSupport.h"

#include "platform/dialogs/FolderPicker.h"
#include "platform/dialogs/MessageBox.h"
#include "platform/dialogs/SaveFileDialog.h"

#include <array>
#include <string>

namespace {

// A request as the export flow fills it: 1040 units of file name, no default extension.
struct SaveRequest {
    std::array<char16_t, 1040> file{};
    std::array<char16_t, 64> fileTitle{};
    OPENFILENAMEW ofn{};

    explicit SaveRequest(const char16_t* filter, const char16_t* initialName = u"车辆信息.xls")
    {
        std::u16string name(initialName);
        name.copy(file.data(), name.size());
        ofn.lStructSize = sizeof(ofn);
        ofn.lpstrFilter = filter;
        ofn.lpstrFile = file.data();
        ofn.nMaxFile = static_cast<DWORD>(file.size());
        ofn.lpstrFileTitle = fileTitle.data();
        ofn.nMaxFileTitle = static_cast<DWORD>(fileTitle.size());
        ofn.lpstrInitialDir = u"/home/u";
        ofn.lpstrTitle = u"请选择保存位置";
        ofn.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT;
    }
    std::u16string File() const { return file.data(); }
};

using SaveFileDialogTest = ScriptedDialogTest;
using FolderPickerTest = ScriptedDialogTest;

TEST_F(SaveFileDialogTest, TheServiceSeesTheWholeRequest)
{
    SaveRequest save(u"表格文件(*.xls;xlsx)\0\0");
    GetSaveFileNameW(&save.ofn);
    auto requests = dialogs_->SaveFileRequests();
    ASSERT_EQ(requests.size(), 1u);
    const SaveFileRequest& r = requests[0];
    EXPECT_EQ(r.title, u"请选择保存位置");
    EXPECT_EQ(r.fileName, u"车辆信息.xls");
    EXPECT_EQ(r.fileCapacity, 1040u);
    // A filter argument without "|" is one string and then the list's end.
    EXPECT_EQ(r.filterStrings, std::vector<std::u16string>{u"表格文件(*.xls;xlsx)"});
    EXPECT_EQ(r.initialDirectory, u"/home/u");
    EXPECT_EQ(r.defaultExtension, u"");
    EXPECT_EQ(r.flags, save.ofn.Flags);
    EXPECT_EQ(r.owner, nullptr);
}

TEST_F(SaveFileDialogTest, FilterListsSplitIntoTheirStrings)
{
    SaveRequest save(u"Workbooks\0*.xls;*.xlsx\0All\0*\0\0");
    GetSaveFileNameW(&save.ofn);
    EXPECT_EQ(dialogs_->SaveFileRequests().at(0).filterStrings,
              (std::vector<std::u16string>{u"Workbooks", u"*.xls;*.xlsx", u"All", u"*"}));
    SaveRequest none(nullptr);
    GetSaveFileNameW(&none.ofn);
    EXPECT_TRUE(dialogs_->SaveFileRequests().at(1).filterStrings.empty());
}

TEST_F(SaveFileDialogTest, ConfirmedPathFillsTheBufferAndItsOffsets)
{
    dialogs_->QueueSaveFile(u"/home/u/out.dir/车辆信息.xls");
    SaveRequest save(u"x\0\0");
    ASSERT_TRUE(GetSaveFileNameW(&save.ofn));
    EXPECT_EQ(save.File(), u"/home/u/out.dir/车辆信息.xls");
    EXPECT_EQ(save.ofn.nFileOffset, 16);
    EXPECT_EQ(save.ofn.nFileExtension, 21);
    EXPECT_EQ(std::u16string(save.fileTitle.data()), u"车辆信息.xls");
    EXPECT_EQ(CommDlgExtendedError(), 0u);
}

TEST_F(SaveFileDialogTest, DefaultExtensionIsAddedOnlyToNamesWithoutOne)
{
    struct Case {
        const char16_t* chosen;
        const char16_t* stored;
        bool different;
    };
    const Case cases[] = {
        {u"/d/book", u"/d/book.xls", false},
        {u"/d/book.xls", u"/d/book.xls", false},
        {u"/d/book.xlsx", u"/d/book.xlsx", true},
        {u"/d.v/book", u"/d.v/book.xls", false},  // a dot in a folder is no extension
    };
    for (const Case& c : cases) {
        dialogs_->QueueSaveFile(c.chosen);
        SaveRequest save(nullptr);
        save.ofn.lpstrDefExt = u"xls";
        ASSERT_TRUE(GetSaveFileNameW(&save.ofn)) << std::string(c.chosen, c.chosen + 4);
        EXPECT_EQ(save.File(), c.stored);
        EXPECT_EQ((save.ofn.Flags & OFN_EXTENSIONDIFFERENT) != 0, c.different);
    }
}

TEST_F(SaveFileDialogTest, CancelAndFailureLeaveTheNameAndTellApart)
{
    dialogs_->QueueSaveFileOutcome(DialogOutcome::Cancelled);
    dialogs_->QueueSaveFileOutcome(DialogOutcome::Failed);
    dialogs_->QueueSaveFile(u"");
    SaveRequest save(nullptr);
    EXPECT_FALSE(GetSaveFileNameW(&save.ofn));
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_FALSE(GetSaveFileNameW(&save.ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_DIALOGFAILURE);
    EXPECT_FALSE(GetSaveFileNameW(&save.ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_INVALIDFILENAME);
    EXPECT_FALSE(GetSaveFileNameW(&save.ofn));  // the queue is empty: cancelled
    EXPECT_EQ(CommDlgExtendedError(), 0u);
    EXPECT_EQ(save.File(), u"车辆信息.xls");
}

TEST_F(SaveFileDialogTest, PathLongerThanTheBufferIsRefusedWithTheSizeNeeded)
{
    std::u16string longPath = u"/" + std::u16string(1100, u'a');
    dialogs_->QueueSaveFile(longPath);
    SaveRequest save(nullptr);
    EXPECT_FALSE(GetSaveFileNameW(&save.ofn));
    EXPECT_EQ(CommDlgExtendedError(), FNERR_BUFFERTOOSMALL);
    EXPECT_EQ(save.file[0], static_cast<char16_t>(longPath.size() + 1));
    EXPECT_EQ(save.file[1], u'辆');  // nothing else overwritten
}

TEST_F(SaveFileDialogTest, BadRequestsNeverReachTheService)
{
    EXPECT_FALSE(GetSaveFileNameW(nullptr));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    SaveRequest save(nullptr);
    save.ofn.lStructSize = 76;
    EXPECT_FALSE(GetSaveFileNameW(&save.ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_STRUCTSIZE);
    save.ofn.lStructSize = sizeof(OPENFILENAMEW);
    save.ofn.nMaxFile = 0;
    EXPECT_FALSE(GetSaveFileNameW(&save.ofn));
    EXPECT_EQ(CommDlgExtendedError(), CDERR_INITIALIZATION);
    EXPECT_TRUE(dialogs_->SaveFileRequests().empty());
}

TEST_F(SaveFileDialogTest, InitialNameIsReadNoFurtherThanTheBuffer)
{
    char16_t unterminated[4] = {u'a', u'b', u'c', u'd'};
    OPENFILENAMEW ofn{};
    ofn.lStructSize = sizeof(ofn);
    ofn.lpstrFile = unterminated;
    ofn.nMaxFile = 4;
    GetSaveFileNameW(&ofn);
    EXPECT_EQ(dialogs_->SaveFileRequests().at(0).fileName, u"abcd");
}

TEST_F(FolderPickerTest, ConfirmedFolderIsReadBackAndCancelGivesNothing)
{
    dialogs_->QueueFolder(u"/data/Images");
    CFolderPickerDialog picker(u"/home/u/IISPublish");
    EXPECT_EQ(picker.DoModal(), IDOK);
    EXPECT_EQ(picker.GetFolderPath(), u"/data/Images");

    dialogs_->QueueFolderOutcome(DialogOutcome::Failed);
    EXPECT_EQ(picker.DoModal(), IDCANCEL);
    EXPECT_EQ(picker.GetFolderPath(), u"");
    CFolderPickerDialog empty(nullptr);
    EXPECT_EQ(empty.DoModal(), IDCANCEL);  // nothing queued: the user cancelled

    auto requests = dialogs_->FolderRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].initialFolder, u"/home/u/IISPublish");
    EXPECT_EQ(requests[2].initialFolder, u"");
}

}  // namespace
