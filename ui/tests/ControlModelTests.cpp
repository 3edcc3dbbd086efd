// The control model: properties kept before creation and applied at creation, copies sharing one
// window, equality, reset, the stream of extraText, binding references and guarded dispatch.
#include "UiTestSupport.h"

#include "platform/gdi/GdiObjects.h"
#include "runtime/CQrnStream.h"
#include "ui/UiConstants.h"

namespace {

using rg_quarn_MFCJieMian_base::CQrnWinControl;
using rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi;
using ui_test::EventOwner;

class ControlModelTest : public ui_test::UiTest {};

LOGFONTW WindowFont(HWND hwnd)
{
    LOGFONTW font{};
    GetObjectW(reinterpret_cast<HFONT>(SendMessageW(hwnd, WM_GETFONT, 0, 0)), sizeof font, &font);
    return font;
}

TEST_F(ControlModelTest, PropertiesSetBeforeCreationLiveInTheHolderAndReachTheWindow)
{
    rg_ZuJianBuJuQi box;
    box.SetControlText(CWString(u"组件布局器1"));
    box.SetVisible(false);
    box.SetEnabled(false);
    box.SetFont(u",16,1");
    CMfcWndObject* holder = box.GetWndObject();
    EXPECT_EQ(holder->text.View(), u"组件布局器1");
    EXPECT_EQ(holder->style, (CMfcWndObject::kInitialStyle & ~WS_VISIBLE) | WS_DISABLED);
    EXPECT_NE(holder->font, nullptr);
    EXPECT_EQ(box.GetControlText().View(), u"组件布局器1");
    EXPECT_FALSE(box.NativeExists());

    WinCreateInfo info = ChildRecord(5, 49, 560, 485);
    ASSERT_EQ(box.Create(info), 1);
    HWND hwnd = box.GetSafeHwnd();
    ASSERT_NE(hwnd, nullptr);
    EXPECT_FALSE(IsWindowVisible(hwnd));
    EXPECT_FALSE(IsWindowEnabled(hwnd));
    EXPECT_EQ(WindowFont(hwnd).lfHeight, -21);
    EXPECT_EQ(WindowFont(hwnd).lfWeight, 700);

    box.SetControlText(CWString(u"新标题"));
    EXPECT_EQ(box.GetControlText().View(), u"新标题");
    EXPECT_EQ(holder->text.View(), u"组件布局器1") << "after creation the window holds the text";
    box.SetVisible(true);
    box.SetEnabled(true);
    EXPECT_TRUE(IsWindowVisible(hwnd));
    EXPECT_TRUE(IsWindowEnabled(hwnd));
    box.SetFont(u"Arial,10");
    EXPECT_EQ(std::u16string(WindowFont(hwnd).lfFaceName), u"Arial");
    EXPECT_EQ(box.Create(info), 0) << "a second Create fails";
}

TEST_F(ControlModelTest, WithoutAFontSetCreationGivesTheNinePointGuiFont)
{
    rg_ZuJianBuJuQi box;
    WinCreateInfo info = ChildRecord(0, 0, 10, 10);
    ASSERT_EQ(box.Create(info), 1);
    EXPECT_EQ(info.font, box.GetWndObject()->font);
    EXPECT_EQ(WindowFont(box.GetSafeHwnd()).lfHeight, -12);
    EXPECT_TRUE(info.style & WS_CHILD);
    EXPECT_EQ(info.userInt, -1);
}

TEST_F(ControlModelTest, CopiesShareOneWindowAndResettingOneLeavesTheOthersWindow)
{
    auto first = std::make_unique<rg_ZuJianBuJuQi>();
    WinCreateInfo info = ChildRecord(0, 0, 10, 10);
    ASSERT_EQ(first->Create(info), 1);
    HWND hwnd = first->GetSafeHwnd();
    rg_ZuJianBuJuQi second;
    second.extraText = CWString(u"extra");
    EXPECT_FALSE(second.IsEqual(*first));
    ASSERT_TRUE(second.CopyFrom(*first));
    EXPECT_EQ(second.GetSafeHwnd(), hwnd);
    EXPECT_TRUE(second.IsEqual(*first)) << "extraText is copied too";
    EXPECT_TRUE(first->IsEqual(second));
    second.extraText = CWString(u"different");
    EXPECT_FALSE(second.IsEqual(*first));

    second.Reset();
    EXPECT_EQ(second.GetWndObject(), nullptr);
    EXPECT_TRUE(IsWindow(hwnd));
    EXPECT_EQ(second.Create(info), 0);
    second.SetControlText(CWString(u"ignored"));  // no holder: nothing happens
    EXPECT_TRUE(second.GetControlText().IsEmpty());

    ASSERT_TRUE(second.CopyFrom(*first));
    first.reset();
    EXPECT_TRUE(IsWindow(hwnd)) << "the copy keeps the holder and its window";
    second.Reset();
    EXPECT_FALSE(IsWindow(hwnd)) << "the last reference destroys the window";
}

TEST_F(ControlModelTest, CopyNeedsTheReceiversKindAndCloneSharesTheHolder)
{
    CQrnWinControl plain;
    rg_ZuJianBuJuQi box;
    CMfcWndObject* boxHolder = box.GetWndObject();
    EXPECT_FALSE(box.CopyFrom(plain));
    EXPECT_EQ(box.GetWndObject(), boxHolder);
    EXPECT_TRUE(plain.CopyFrom(box)) << "a layouter is a control";
    EXPECT_EQ(plain.GetWndObject(), boxHolder);
    std::unique_ptr<CQrnObject> clone(box.Clone());
    EXPECT_TRUE(clone->IsEqual(box));
    EXPECT_EQ(static_cast<rg_ZuJianBuJuQi*>(clone.get())->GetWndObject(), boxHolder);
    std::unique_ptr<CQrnObject> fresh(box.CreateNew());
    EXPECT_FALSE(fresh->IsEqual(box));
    EXPECT_STREQ(box.GetClassInfo()->name, "rg_quarn_MFCJieMian_base::rg_ZuJianBuJuQi");
    EXPECT_EQ(plain.Create(*std::make_unique<WinCreateInfo>()), 0) << "the base class creates nothing";
}

TEST_F(ControlModelTest, OnlyExtraTextIsStreamed)
{
    rg_ZuJianBuJuQi box, loaded;
    box.extraText = CWString(u"附加文本");
    box.tag = 5;
    CQrnMemoryStream stream;
    box.SaveToStream(stream);
    CQrnMemoryStream expected;
    box.extraText.SaveToStream(expected);
    EXPECT_EQ(stream.Bytes(), expected.Bytes());
    loaded.LoadFromStream(stream);
    EXPECT_EQ(loaded.extraText.View(), u"附加文本");
    EXPECT_EQ(loaded.tag, 0);
}

TEST_F(ControlModelTest, BindingTheSameGuardKeepsOneReferenceAndUnbindingReleasesIt)
{
    rg_ZuJianBuJuQi box;
    auto owner = std::make_unique<EventOwner>();
    const int64_t before = owner->guard->RefCount();
    owner->Bind(box, box.Moved, "Moved");
    owner->Bind(box, box.Moved, "Moved again");
    EXPECT_EQ(owner->guard->RefCount(), before + 1);
    EXPECT_TRUE(box.HasListener()) << "binding attaches the listener";
    EXPECT_EQ(box.Moved.Raise(&box), 0);
    EXPECT_EQ(owner->Take(), (std::vector<std::string>{"Moved again"}));
    box.BindEvent(box.Moved, nullptr, nullptr, 0);
    EXPECT_EQ(owner->guard->RefCount(), before);
    EXPECT_EQ(box.Moved.Raise(&box), 0);
    EXPECT_TRUE(owner->Take().empty());
}

TEST_F(ControlModelTest, AHandlerMayDestroyItsOwnerAndLaterDispatchesAnswerZero)
{
    rg_ZuJianBuJuQi box;
    auto* owner = new EventOwner();
    owner->Bind(box, box.Resized, "Resized");
    owner->answers["Resized"] = 7;
    owner->onEvent = [owner](const std::string&) { delete owner; };
    EXPECT_EQ(box.Resized.Raise(&box), 7);
    EXPECT_EQ(box.Resized.Raise(&box), 0);
}

}  // namespace
