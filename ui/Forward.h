#pragma once
// Forward declarations of the control library's classes.

class CVWnd;
class CMfcWndObject;
class CQrnWindowProcFilter;
class CQrnWindowProcFilters;
class CRefQrnMenu;
struct MsgRecord;
struct WinCreateInfo;
struct NativeWindowParts;

class IBaseEventListener;
class IButtonEventListener;
class ILabelEventListener;
class IEditEventListener;
class ITimerEventListener;
class IToolBarEventListener;
class IContainerEventListener;
class IWinFormEventListener;

namespace rg_quarn_base {
class rg_KeSheJiLei;
class rg_CaiChanLei;
class rg_WeiZhiLei;
class rg_CheCunLei;
}  // namespace rg_quarn_base

namespace rg_quarn_MFCJieMian_base {
class CQrnWinControl;
class CQrnWinContainer;
class rg_ZuJianBuJuQi;
class CQrnWinForm;
class rg_AnNiuJiChuLei;
class rg_button1;
class rg_label;
class rg_edit_box;
class rg_process_bar;
class rg_timer;
class rg_ChuangKouWeiZhiXianZhiXinXi;
}  // namespace rg_quarn_MFCJieMian_base

namespace rg_quarn_MFCJieMian_KuoZhanZuJian {
class rg_GongJuTiao;
}
