#include "work/StandardDialogs.h"

#include "DialogTestSupport.h"
#include "platform/dialogs/SaveFileDialog.h"
#include "work/HomeFolders.h"

#include <sys/stat.h>

#include <cstdlib>
#include <string>

using rg_quarn_Tolvar::BrowseForFolder;
using rg_quarn_Tolvar::ChooseSaveFile;
using rg_quarn_Tolvar::SaveFilterStrings;

namespace {

// Points HOME at a scratch folder for one test.
class ScratchHome {
public:
    ScratchHome()
    {
        const char* old = std::getenv("HOME");
        if (old)
            saved_ = old;
        char pattern[] = "/tmp/work-home-XXXXXX";
        root_ = mkdtemp(pattern);
        setenv("HOME", root_.c_str(), 1);
    }
    ~ScratchHome()
    {
        if (saved_)
            setenv("HOME", saved_->c_str(), 1);
        else
            unsetenv("HOME");
        const std::string command = "rm -rf '" + root_ + "'";
        if (std::system(command.c_str()) != 0)
            ADD_FAILURE() << "could not remove " << root_;
    }
    const std::string& Root() const { return root_; }
    std::u16string Root16() const { return std::u16string(root_.begin(), root_.end()); }
    void MakeDirectories(const std::string& relative) const
    {
        const std::string command = "mkdir -p '" + root_ + "/" + relative + "'";
        ASSERT_EQ(std::system(command.c_str()), 0);
    }

private:
    std::string root_;
    std::optional<std::string> saved_;
};

std::u16string U(const CWString& text) { return std::u16string(text.View()); }

} // namespace

TEST(HomeFolders, DriveLetterFoldersMoveUnderTheHomeDirectory)
{
    ScratchHome home;
    home.MakeDirectories("IISPublish/plates/Upload/Images");
    const std::u16string h = home.Root16();
    const struct {
        const char16_t* given;
        std::u16string expected;
    } cases[] = {
        {u"D:\\", h},
        {u"D:", h},
        {u"d:/", h},
        {u"D:\\IISPublish\\plates\\Upload\\Images", h + u"/IISPublish/plates/Upload/Images"},
        {u"D:\\IISPublish\\plates\\Upload\\Images\\", h + u"/IISPublish/plates/Upload/Images"},
        {u"D:\\IISPublish\\missing\\Upload\\Images", h},
        {u"/srv/plates", u"/srv/plates"},
        {u"", u""},
        {u"DX:\\", u"DX:\\"},
        {u"relative\\D:", u"relative\\D:"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(U(LocalFolderFor(CWString(c.given))), c.expected) << std::string(c.given, c.given + 3);
}

TEST_F(ScriptedDialogsTest, BrowseForFolderReturnsTheChoiceOrNothing)
{
    ScratchHome home;
    dialogs_->QueueFolderOutcome(DialogOutcome::Cancelled);
    dialogs_->QueueFolder(u"/data/Images");
    dialogs_->QueueFolderOutcome(DialogOutcome::Failed);
    EXPECT_TRUE(BrowseForFolder(CWString(u"D:\\IISPublish\\plates\\Upload\\Images")).IsEmpty());
    EXPECT_EQ(U(BrowseForFolder(CWString())), u"/data/Images");
    EXPECT_TRUE(BrowseForFolder(CWString(u"/srv")).IsEmpty());
    const std::vector<FolderRequest> requests = dialogs_->FolderRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].initialFolder, home.Root16());
    EXPECT_EQ(requests[0].owner, nullptr);
    EXPECT_EQ(requests[1].initialFolder, u"");
    EXPECT_EQ(requests[2].initialFolder, u"/srv");
}

TEST_F(ScriptedDialogsTest, SaveDialogGetsTheExportRequestAndAcceptsNewFiles)
{
    ScratchHome home;
    dialogs_->QueueSaveFile(home.Root16() + u"/车辆信息.xls");
    CWString fileName(u"车辆信息.xls");
    const CWString chosen = ChooseSaveFile(CWString(u"请选择保存位置"), fileName, CWString(u"表格文件(*.xls;xlsx)"),
                                           CWString(u"D:\\"), CWString());
    EXPECT_EQ(U(chosen), home.Root16() + u"/车辆信息.xls");
    EXPECT_EQ(U(fileName), U(chosen));

    const std::vector<SaveFileRequest> requests = dialogs_->SaveFileRequests();
    ASSERT_EQ(requests.size(), 1u);
    const SaveFileRequest& r = requests[0];
    EXPECT_EQ(r.owner, nullptr);
    EXPECT_EQ(r.title, u"请选择保存位置");
    EXPECT_EQ(r.fileName, u"车辆信息.xls");
    EXPECT_EQ(r.fileCapacity, 1040u);
    EXPECT_EQ(r.filterStrings, (std::vector<std::u16string>{u"表格文件(*.xls;xlsx)", u"*.xls;*.xlsx"}));
    EXPECT_EQ(r.filterIndex, 0u);
    EXPECT_EQ(r.initialDirectory, home.Root16());
    EXPECT_EQ(r.defaultExtension, u"");
    EXPECT_EQ(r.flags, OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_OVERWRITEPROMPT);
    EXPECT_EQ(r.flags & OFN_FILEMUSTEXIST, 0u);
}

TEST_F(ScriptedDialogsTest, CancelledOrFailedSaveEmptiesTheFileName)
{
    dialogs_->QueueSaveFileOutcome(DialogOutcome::Cancelled);
    dialogs_->QueueSaveFileOutcome(DialogOutcome::Failed);
    dialogs_->QueueSaveFile(u"/tmp/book.xlsx");
    for (int i = 0; i < 2; ++i) {
        CWString fileName(u"车辆信息.xls");
        EXPECT_TRUE(ChooseSaveFile(CWString(), fileName, CWString(), CWString(), CWString()).IsEmpty());
        EXPECT_TRUE(fileName.IsEmpty());
    }
    // A cancelled dialog followed by a real one.
    CWString fileName;
    EXPECT_EQ(U(ChooseSaveFile(CWString(), fileName, CWString(), CWString(), CWString(u"xls"))), u"/tmp/book.xlsx");
    const std::vector<SaveFileRequest> requests = dialogs_->SaveFileRequests();
    ASSERT_EQ(requests.size(), 3u);
    EXPECT_EQ(requests[0].title, u"");
    EXPECT_TRUE(requests[0].filterStrings.empty());
    EXPECT_EQ(requests[0].initialDirectory, u"");
    EXPECT_EQ(requests[2].defaultExtension, u"xls");
}

TEST_F(ScriptedDialogsTest, LongInitialNameGetsABufferThatHoldsIt)
{
    const std::u16string name(2000, u'n');
    dialogs_->QueueSaveFileOutcome(DialogOutcome::Cancelled);
    CWString fileName{std::u16string_view(name)};
    ChooseSaveFile(CWString(), fileName, CWString(), CWString(), CWString());
    const std::vector<SaveFileRequest> requests = dialogs_->SaveFileRequests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].fileName, name);
    EXPECT_EQ(requests[0].fileCapacity, 2001u);
}

TEST(SaveFilter, BarsSeparateAndADescriptionWithoutPatternGetsOne)
{
    using List = std::vector<std::u16string>;
    const struct {
        const char16_t* filter;
        List expected;
    } cases[] = {
        {u"", {}},
        {u"表格文件(*.xls;xlsx)", {u"表格文件(*.xls;xlsx)", u"*.xls;*.xlsx"}},
        {u"A|*.a|B|*.b", {u"A", u"*.a", u"B", u"*.b"}},
        {u"A|*.a|", {u"A", u"*.a"}},
        {u"A|*.a|Images (.png;jpg)", {u"A", u"*.a", u"Images (.png;jpg)", u"*.png;*.jpg"}},
        {u"Everything", {u"Everything", u"*.*"}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(SaveFilterStrings(c.filter), c.expected);
}
