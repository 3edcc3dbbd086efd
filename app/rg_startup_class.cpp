#include "app/rg_startup_class.h"

#include "platform/framework/FrameworkApp.h"
#include "platform/loader/ImportTable.h"
#include "runtime/CQrnStream.h"

namespace rg_quarn_app {

QRN_IMPLEMENT_CONTROL_CLASS(rg_startup_class, rg_quarn_base::rg_ChuangKouChengXuLei,
                            "rg_quarn_app::rg_startup_class")

bool rg_startup_class::CopyFrom(const CQrnObject& source)
{
    if (&source == this)
        return true;
    if (!source.IsKindOf(StaticClassInfo()))
        return false;
    OnBeforeAssign();
    const auto& other = static_cast<const rg_startup_class&>(source);
    flags = other.flags;
    tag = other.tag;
    return mainWindow.CopyFrom(other.mainWindow);
}

void rg_startup_class::Reset()
{
    rg_startup_class fresh;
    CopyFrom(fresh);
}

void rg_startup_class::LoadFromStream(CQrnStream& stream)
{
    if (stream.GetError() == 0)
        mainWindow.LoadFromStream(stream);
}

void rg_startup_class::SaveToStream(CQrnStream& stream) const
{
    if (stream.GetError() == 0)
        mainWindow.SaveToStream(stream);
}

int32_t rg_startup_class::RunProgram()
{
    ResolveProgramImports();
    WinCreateInfo info;
    info.x = info.y = info.width = info.height = kDefaultCoordinate;
    info.id = 0;
    info.userInt = -1;
    info.text = u"";
    if (mainWindow.Create(info) != 0) {
        if (CWinThread* thread = AfxGetThread())
            thread->SetMainWindow(mainWindow.GetSafeHwnd());
    }
    return 1;
}

}  // namespace rg_quarn_app
