#pragma once
// CVWnd_WinForm: the native window of forms ("QrnWinForm" or the form's own class name): a
// container with a frame, an icon, close requests, activation, pre-translation of input messages
// (keyboard navigation, Escape, dragging) and the form's own events. Used on the window's thread.
#include "platform/gdi/GdiTypes.h"
#include "runtime/CWString.h"
#include "ui/CVWnd_Container.h"
#include "ui/DesignableClasses.h"

class CVWnd_WinForm : public CVWnd_Container {
public:
    static constexpr const char16_t* kClassName = u"QrnWinForm";

    CVWnd_WinForm();
    ~CVWnd_WinForm() override;

    HWND envelope = nullptr;
    int32_t activatedOnce = 0;
    int32_t inActivate = 0;
    int32_t helpShown = 0;
    int32_t defaultButtonId = 0;
    int32_t enterPressed = 0;
    CRefQrnMenu* menu = nullptr;   // counted reference
    HICON trayIcon = nullptr;      // owned
    int32_t borderStyle = 2;       // 0 none, 1 sizable, 2 fixed single, 3/4 tool window, 5/6 client edge
    int32_t controlBox = 1;
    int32_t maximizeBox = 0;
    int32_t minimizeBox = 1;
    int32_t startState = 0;        // 0 normal, 1 centred, 2 minimised, 3 maximised
    int32_t movable = 1;
    HICON icon = nullptr;
    int32_t escapeCloses = 1;
    CWString helpFile;
    int32_t helpContext = 0;
    int32_t dragAnywhere = 0;
    int32_t shape = 0;             // 0 rectangle, 1 ellipse, 2 rounded rectangle
    int32_t topMost = 0;
    int32_t keepCaptionActive = 0;
    CWString className;

    // The caption bits the title and the frame fields ask for (under kCaptionMask).
    uint32_t WantedCaptionBits(const CWString& title) const;
    // Changes the window's caption bits when they differ from the wanted ones.
    void UpdateCaptionBits();
    // Gives the window the region of `shape` (none for a rectangle).
    void ApplyShape();
    // Takes a reference to the menu object, releasing the old one (null releases).
    void SetMenuObject(CRefQrnMenu* newMenu);
    // 1 when the pre-translation consumed the input message.
    int32_t PreTranslate(const MSG* message);

    static constexpr uint32_t kCaptionMask = 0xCB0000;

protected:
    LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
    LRESULT OnCommandMessage(WPARAM wParam, LPARAM lParam) override;

private:
    IWinFormEventListener* FormListener() const;
    LRESULT OnClose();
    void OnActivateMessage(WPARAM wParam);
    void OnDestroyMessage();
    LRESULT OnMinMaxInfo(MINMAXINFO* info);
    LRESULT OnGetDefaultId();
    int32_t PreTranslateKey(const MSG* message, int32_t key);
};
