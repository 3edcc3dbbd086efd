#include "app/rg_my_main_window.h"

#include "platform/framework/ProcessControl.h"
#include "platform/gdi/Cursors.h"
#include "platform/loader/ImageLoading.h"
#include "platform/loader/Modules.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "runtime/NumberText.h"
#include "runtime/CQrnStream.h"

namespace rg_quarn_app {

QRN_IMPLEMENT_CONTROL_CLASS(rg_my_main_window, CQrnWinForm, "rg_quarn_app::rg_my_main_window")

namespace {

constexpr const char16_t* kBoldSixteen = u", 16, 1, 0, 0, 0, 0";
constexpr const char16_t* kBoldFifteen = u", 15, 1, 0, 0, 0, 0";
constexpr const char16_t* kToolbarItems =
    u"0\n4\n0\n导入数据\n导入数据\n-1\n4\n1\n\n\n1\n4\n0\n表格比对\n表格比对";
constexpr const char16_t* kHeader[] = {u"ID", u"车牌号", u"时间", u"车牌颜色", u"相机IP地址"};
constexpr int32_t kColumnWidths[] = {50, 120, 125, 70, 120};

rg_my_main_window& WindowOf(CQrnObject* owner) { return *static_cast<rg_my_main_window*>(owner); }

// Runs what other threads send to this one until the clock's loop has ended, so a tick that is
// waiting for this thread can finish.
void WaitForLoopEnd(const rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1& clock)
{
    while (clock.IsLoopAlive()) {
        MSG msg;
        while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE))
            DispatchMessageW(&msg);
        WaitMessageTimeout(1);
    }
}

}  // namespace

rg_my_main_window::rg_my_main_window() : eventGuard_(new CQrnEventObjectPointer(this))
{
    SetControlText(CWString(texts::kTitle));
    LoadIcon();
    DaoRuShiZhong.ClockTick().Bind(&HandleWorkTick, eventGuard_, 0);
    DaoChuShiZhong.ClockTick().Bind(&HandleWorkTick, eventGuard_, 0);
}

rg_my_main_window::~rg_my_main_window()
{
    DaoRuShiZhong.StopClock();
    DaoChuShiZhong.StopClock();
    WaitForLoopEnd(DaoRuShiZhong);
    WaitForLoopEnd(DaoChuShiZhong);
    eventGuard_->BeginOwnerTeardown();
}

void rg_my_main_window::LoadIcon()
{
    HICON icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kProgramIconResource));
    if (!icon)
        icon = LoadIconW(GetModuleHandleW(nullptr), MAKEINTRESOURCEW(kFallbackIconResource));
    GetFormNative()->icon = icon;
    if (HWND hwnd = GetSafeHwnd()) {
        SendMessageW(hwnd, WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
        SendMessageW(hwnd, WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    }
}

bool rg_my_main_window::CopyFrom(const CQrnObject& source)
{
    if (&source == this)
        return true;
    if (!source.IsKindOf(StaticClassInfo()) || !CQrnWinForm::CopyFrom(source))
        return false;
    const auto& other = static_cast<const rg_my_main_window&>(source);
    BiaoQian1.CopyFrom(other.BiaoQian1);
    BiaoQian2.CopyFrom(other.BiaoQian2);
    GongJuTiao1.CopyFrom(other.GongJuTiao1);
    ZuJianBuJuQi1.CopyFrom(other.ZuJianBuJuQi1);
    BianJiKuang1.CopyFrom(other.BianJiKuang1);
    AnNiu1.CopyFrom(other.AnNiu1);
    BianJiKuang2.CopyFrom(other.BianJiKuang2);
    AnNiu2.CopyFrom(other.AnNiu2);
    BiaoQian3.CopyFrom(other.BiaoQian3);
    BiaoGe2.CopyFrom(other.BiaoGe2);
    ShiZhong1.CopyFrom(other.ShiZhong1);
    JinDuTiao1.CopyFrom(other.JinDuTiao1);
    DaoRuShiZhong.CopyFrom(other.DaoRuShiZhong);
    DaoChuShiZhong.CopyFrom(other.DaoChuShiZhong);
    return true;
}

void rg_my_main_window::Reset()
{
    rg_my_main_window fresh;
    CopyFrom(fresh);
}

void rg_my_main_window::SaveToStream(CQrnStream& stream) const
{
    if (stream.GetError() != 0)
        return;
    CQrnWinForm::SaveToStream(stream);
    const CQrnObject* members[] = {&BiaoQian1, &BiaoQian2, &GongJuTiao1, &ZuJianBuJuQi1, &BianJiKuang1,
                                   &AnNiu1,    &BianJiKuang2, &AnNiu2, &BiaoQian3, &BiaoGe2,
                                   &ShiZhong1, &JinDuTiao1, &DaoRuShiZhong, &DaoChuShiZhong};
    for (const CQrnObject* member : members)
        member->SaveToStream(stream);
}

void rg_my_main_window::LoadFromStream(CQrnStream& stream)
{
    if (stream.GetError() != 0)
        return;
    CQrnWinForm::LoadFromStream(stream);
    CQrnObject* members[] = {&BiaoQian1, &BiaoQian2, &GongJuTiao1, &ZuJianBuJuQi1, &BianJiKuang1,
                             &AnNiu1,    &BianJiKuang2, &AnNiu2, &BiaoQian3, &BiaoGe2,
                             &ShiZhong1, &JinDuTiao1, &DaoRuShiZhong, &DaoChuShiZhong};
    for (CQrnObject* member : members)
        member->LoadFromStream(stream);
}

void rg_my_main_window::OnCreated()
{
    BindEventHandlers();
    CreateChildControls();
}

void rg_my_main_window::BindEventHandlers()
{
    BindEvent(WindowCreated, &HandleCreated, eventGuard_, 0);
    BindEvent(Destroying, &HandleClose, eventGuard_, 0);
    BindEvent(Destroyed, &HandleClose, eventGuard_, 0);
    GongJuTiao1.BindEvent(GongJuTiao1.ItemClick, &HandleToolBarItem, eventGuard_, 0);
    AnNiu1.BindEvent(AnNiu1.Click, &HandleButtonClick, eventGuard_, 0);
    AnNiu2.BindEvent(AnNiu2.Click, &HandleButtonClick, eventGuard_, 0);
    ShiZhong1.BindEvent(ShiZhong1.Tick, &HandleSecondTick, eventGuard_, 0);
}

void rg_my_main_window::CreateChild(CQrnWinControl& control, CQrnWinControl* parent, int32_t x, int32_t y,
                                    int32_t width, int32_t height, int32_t id)
{
    WinCreateInfo info;
    info.parentNative = parent->NativeExists() ? parent->GetNative() : nullptr;
    info.parentControl = info.parentNative ? parent : nullptr;
    info.x = x;
    info.y = y;
    info.width = width;
    info.height = height;
    info.id = id;
    info.userInt = -1;
    info.text = u"";
    control.Create(info);
}

void rg_my_main_window::CreateChildControls()
{
    BiaoQian1.SetFont(kBoldSixteen);
    BiaoQian1.SetControlText(CWString(u"0"));
    CreateChild(BiaoQian1, this, 469, 22, 88, 32, 101);

    BiaoQian2.SetControlText(CWString(u"用时：\r\n"));
    BiaoQian2.SetFont(kBoldSixteen);
    CreateChild(BiaoQian2, this, 413, 22, 56, 32, 102);

    GongJuTiao1.SetControlText(CWString(u"工具条1"));
    GongJuTiao1.SetImageList(LoadImageListResource(kToolbarImagesResource));
    GongJuTiao1.SetItemSpec(CWString(kToolbarItems));
    CreateChild(GongJuTiao1, this, 2, 0, 128, 56, 103);

    ZuJianBuJuQi1.SetControlText(CWString(u"组件布局器1"));
    CreateChild(ZuJianBuJuQi1, this, 5, 49, 560, 485, 104);

    CreateChild(BianJiKuang1, &ZuJianBuJuQi1, 0, 405, 432, 32, 105);
    AnNiu1.SetControlText(CWString(u"浏览目录"));
    CreateChild(AnNiu1, &ZuJianBuJuQi1, 438, 405, 104, 32, 106);
    CreateChild(BianJiKuang2, &ZuJianBuJuQi1, 0, 445, 432, 32, 107);
    AnNiu2.SetControlText(CWString(u"导出表格"));
    CreateChild(AnNiu2, &ZuJianBuJuQi1, 438, 445, 104, 32, 108);

    BiaoQian3.SetControlText(CWString(u"正在导出表格，请稍后……"));
    BiaoQian3.SetVisible(false);
    BiaoQian3.SetHorizontalAlign(1);
    BiaoQian3.SetVerticalAlign(1);
    BiaoQian3.SetFont(kBoldFifteen);
    CreateChild(BiaoQian3, &ZuJianBuJuQi1, 4, 157, 484, 72, 109);

    BiaoGe2.SetControlText(CWString(u"表格2"));
    BiaoGe2.SetGridLines(3);
    BiaoGe2.SetColumnCount(5);
    BiaoGe2.SetEditable(true);
    BiaoGe2.SetDefaultRowHeight(22);
    CreateChild(BiaoGe2, &ZuJianBuJuQi1, 0, 8, 552, 389, 110);

    ShiZhong1.SetControlText(CWString(u"时钟1"));
    CreateChild(ShiZhong1, this, 653, 582, 32, 32, 111);
    JinDuTiao1.SetControlText(CWString(u"进度条1"));
    CreateChild(JinDuTiao1, this, 0, 534, 566, 16, 112);
}

void rg_my_main_window::WriteHeaderRow()
{
    for (int32_t col = 0; col < 5; ++col)
        BiaoGe2.SetCellText(0, col, CWString(kHeader[col]));
}

void rg_my_main_window::ShapeGrid()
{
    BiaoGe2.SetRowCount(1);
    if (BiaoGe2.NativeExists()) {
        for (int32_t col = 0; col < 5 && col < BiaoGe2.GetColumnCount(); ++col)
            BiaoGe2.SetColumnWidth(col, kColumnWidths[col]);
    }
    WriteHeaderRow();
    AnNiu2.SetEnabled(false);
}

int32_t rg_my_main_window::HandleCreated(CQrnObject* owner, CQrnObject*, uint32_t)
{
    WindowOf(owner).ShapeGrid();
    return 0;
}

int32_t rg_my_main_window::HandleClose(CQrnObject* owner, CQrnObject*, uint32_t)
{
    WindowOf(owner).DaoRuShiZhong.StopClock();
    ExitProcess(0);
}

int32_t rg_my_main_window::HandleToolBarItem(CQrnObject* owner, CQrnObject*, uint32_t, int32_t index)
{
    rg_my_main_window& window = WindowOf(owner);
    if (index == 0)
        window.ZuJianBuJuQi1.SetVisible(true);
    else if (index == 2)
        window.ZuJianBuJuQi1.SetVisible(false);
    return 0;
}

int32_t rg_my_main_window::HandleButtonClick(CQrnObject* owner, CQrnObject* sender, uint32_t)
{
    rg_my_main_window& window = WindowOf(owner);
    if (sender == &window.AnNiu2)
        window.StartExport();
    if (sender == &window.AnNiu1)
        window.StartImport();
    return 0;
}

int32_t rg_my_main_window::HandleWorkTick(CQrnObject* owner, CQrnObject* sender, uint32_t)
{
    rg_my_main_window& window = WindowOf(owner);
    if (sender == &window.DaoChuShiZhong)
        window.RunExport();
    if (sender == &window.DaoRuShiZhong)
        window.RunImport();
    return 0;
}

int32_t rg_my_main_window::HandleSecondTick(CQrnObject* owner, CQrnObject* sender, uint32_t)
{
    rg_my_main_window& window = WindowOf(owner);
    if (sender != &window.ShiZhong1)
        return 0;
    const int64_t seconds = TextToInt64(window.BiaoQian1.GetControlText().GetText());
    window.BiaoQian1.SetControlText(Int64ToText(static_cast<int32_t>(seconds) + int64_t{1}));
    return 0;
}

}  // namespace rg_quarn_app
