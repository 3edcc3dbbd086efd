#pragma once
// CQrnWinContainer: the base of controls that host other controls (layouters and forms). It marks
// its window WS_EX_CONTROLPARENT and, for a default width or height, computes the outer size of
// its design client size (GetDesignClientWidth x GetDesignClientHeight, 0 x 0 unless a form class
// says otherwise), remembered as designOuterSize. Threads: as CQrnWinControl.
#include "ui/CQrnWinControl.h"

namespace rg_quarn_MFCJieMian_base {

struct DesignOuterSize {
    int32_t width = 0;
    int32_t height = 0;
};

class CQrnWinContainer : public CQrnWinControl {
    QRN_DECLARE_CONTROL_CLASS(CQrnWinContainer)
public:
    CQrnWinContainer() = default;

    void FillCreateInfo(WinCreateInfo& info) override;
    void AdjustCreateInfo(WinCreateInfo& info) override;
    virtual int32_t GetDesignClientWidth() const { return 0; }
    virtual int32_t GetDesignClientHeight() const { return 0; }
    // Runs when the container's window is created, before WindowCreated: a form creates its child
    // controls here.
    virtual void OnCreated() {}

    DesignOuterSize designOuterSize;

protected:
    explicit CQrnWinContainer(std::unique_ptr<CVWnd> native) : CQrnWinControl(std::move(native)) {}
};

}  // namespace rg_quarn_MFCJieMian_base
