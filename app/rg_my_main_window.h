#pragma once
// rg_my_main_window: the program's only window. A form that owns every control of the tool (the
// toolbar, the panel with the grid and the import and export rows, the seconds label, the status
// line, the progress bar and the one-second clock) and the two timer-thread clocks the import and
// the export run on. The import (ImportFlow.cpp) and the export (ExportFlow.cpp) are members.
// Threads: built, created and destroyed on the user-interface thread, where every handler runs
// except HandleWorkTick, which runs on the worker of the clock that ticked and reaches the
// controls through their cross-thread-safe operations. The window's guard makes its destruction
// wait for a running delivery; the destructor first stops both clocks and lets their loops end.
#include "grid/rg_BiaoGe.h"
#include "runtime/CQrnEventObjectPointer.h"
#include "ui/CQrnWinForm.h"
#include "ui/rg_GongJuTiao.h"
#include "ui/rg_button1.h"
#include "ui/rg_edit_box.h"
#include "ui/rg_label.h"
#include "ui/rg_process_bar.h"
#include "ui/rg_timer.h"
#include "work/TimerThread.h"

#include <atomic>
#include <cstdint>

namespace rg_quarn_app {

using namespace rg_quarn_MFCJieMian_base;

// The fixed texts of the window and its flows.
namespace texts {
inline constexpr const char16_t* kTitle = u"kmw-Tabrix-20240821版";
inline constexpr const char16_t* kErrorCaption = u"错误提醒：";
inline constexpr const char16_t* kFilePattern = u"PlateImage_*.jpg";
inline constexpr const char16_t* kListing = u"正在读取数据，一般很快结束，请耐心等待……";
inline constexpr const char16_t* kBeforeFirstFile = u"正在获取数据，请勿操作，耐心等待，剩余数据：";
inline constexpr const char16_t* kBeforeEachFile = u"正在获取数据，请勿操作，剩余数据：";
inline constexpr const char16_t* kFilesUnit = u"条";
inline constexpr const char16_t* kEmptyDirectory = u"目录为空，请重新选择正确的有图片的目录";
inline constexpr const char16_t* kPickerStart = u"D:\\IISPublish\\TabrixSite\\Upload\\Images";
inline constexpr const char16_t* kSaveTitle = u"请选择保存位置";
inline constexpr const char16_t* kSaveFileName = u"车辆信息.xls";
inline constexpr const char16_t* kSaveFilter = u"表格文件(*.xls;xlsx)";
inline constexpr const char16_t* kSaveStartFolder = u"D:\\";
inline constexpr const char16_t* kSaveFailedPrefix = u"表格未能保存到：";
inline constexpr const char16_t* kSaveFailedSuffix = u"\r\n请检查路径是否存在、是否可写，或文件是否被占用。";
}  // namespace texts

// Resources the window loads from the program module.
inline constexpr UINT kToolbarImagesResource = 501;
inline constexpr UINT kProgramIconResource = 500;
inline constexpr UINT kFallbackIconResource = 100;

class rg_my_main_window : public CQrnWinForm {
    QRN_DECLARE_CONTROL_CLASS(rg_my_main_window)
public:
    rg_my_main_window();
    rg_my_main_window(const rg_my_main_window&) = delete;
    rg_my_main_window& operator=(const rg_my_main_window&) = delete;
    ~rg_my_main_window() override;

    bool CopyFrom(const CQrnObject& source) override;
    void Reset() override;
    bool IsEqual(const CQrnObject& other) const override { return &other == this; }
    void LoadFromStream(CQrnStream& stream) override;
    void SaveToStream(CQrnStream& stream) const override;

    int32_t GetDesignClientWidth() const override { return 562; }
    int32_t GetDesignClientHeight() const override { return 547; }
    void OnCreated() override;
    virtual void BindEventHandlers();

    // The members, in their fixed order.
    rg_label BiaoQian1;
    rg_label BiaoQian2;
    rg_quarn_MFCJieMian_KuoZhanZuJian::rg_GongJuTiao GongJuTiao1;
    rg_ZuJianBuJuQi ZuJianBuJuQi1;
    rg_edit_box BianJiKuang1;
    rg_button1 AnNiu1;
    rg_edit_box BianJiKuang2;
    rg_button1 AnNiu2;
    rg_label BiaoQian3;
    rg_quarn_MFCJieMian_BiaoGe::rg_BiaoGe BiaoGe2;
    rg_timer ShiZhong1;
    rg_process_bar JinDuTiao1;
    rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1 DaoRuShiZhong;
    rg_quarn_Tolvar::rg_ShiZhongLei_XianCheng1 DaoChuShiZhong;

    CQrnEventObjectPointer* EventGuard() const noexcept { return eventGuard_; }
    // Whether the last export wrote its workbook (false also before any export). Any thread.
    bool LastExportSucceeded() const noexcept { return lastExportSucceeded_.load(); }

    // The handlers, with the handler signature of the event bindings.
    static int32_t HandleWorkTick(CQrnObject* owner, CQrnObject* sender, uint32_t userValue);
    static int32_t HandleCreated(CQrnObject* owner, CQrnObject* sender, uint32_t userValue);
    static int32_t HandleClose(CQrnObject* owner, CQrnObject* sender, uint32_t userValue);
    static int32_t HandleToolBarItem(CQrnObject* owner, CQrnObject* sender, uint32_t userValue, int32_t index);
    static int32_t HandleButtonClick(CQrnObject* owner, CQrnObject* sender, uint32_t userValue);
    static int32_t HandleSecondTick(CQrnObject* owner, CQrnObject* sender, uint32_t userValue);

private:
    void CreateChildControls();
    void CreateChild(CQrnWinControl& control, CQrnWinControl* parent, int32_t x, int32_t y, int32_t width,
                     int32_t height, int32_t id);
    void ShapeGrid();
    void WriteHeaderRow();
    void LoadIcon();

    // Import flow (ImportFlow.cpp).
    void StartImport();
    void RunImport();
    void ImportDirectory();
    void EnableAfterWork();
    // Export flow (ExportFlow.cpp).
    void StartExport();
    void RunExport();

    CQrnEventObjectPointer* eventGuard_;
    std::atomic<bool> lastExportSucceeded_{false};
};

}  // namespace rg_quarn_app
