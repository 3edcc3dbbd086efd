#pragma once
// The listener interfaces through which a native window reports to its control. A control class
// derives from its interface besides its control base, so the control is its own listener; the
// native window keeps a pointer to that sub-object. Slot 0 of every interface is OnWindowMessage,
// called for every message the native window receives. Called on the window's thread.
#include "platform/window/WinTypes.h"
#include "ui/ControlRecords.h"

#include <cstdint>

struct MINMAXINFO;

class IBaseEventListener {
public:
    // Nonzero: the message is consumed (the native window answers 0 without default processing).
    virtual int32_t OnWindowMessage(MsgRecord& message) = 0;

protected:
    virtual ~IBaseEventListener() = default;
};

class IButtonEventListener : public IBaseEventListener {
public:
    virtual void OnClick() = 0;
};

class ILabelEventListener : public IBaseEventListener {
public:
    // The answer becomes the result of the label's notify message.
    virtual int32_t OnNotify(WPARAM wParam, LPARAM lParam) = 0;
};

class IEditEventListener : public IBaseEventListener {
public:
    virtual void OnChanged() = 0;
    // direction: -1 down, 1 up.
    virtual int32_t OnSpin(int32_t direction) = 0;
};

class ITimerEventListener : public IBaseEventListener {
public:
    virtual void OnTick() = 0;
};

class IToolBarEventListener : public IBaseEventListener {
public:
    virtual void OnItemClick(int32_t index) = 0;
    virtual void OnItemDropDown(int32_t index, int32_t screenX, int32_t screenY) = 0;
};

class IContainerEventListener : public IBaseEventListener {
public:
    virtual void OnCreate() = 0;
    virtual void OnDestroy() = 0;
    virtual void OnFinalDestroy() = 0;
    virtual void OnSize() = 0;
    virtual void OnShow(bool shown) = 0;
    virtual void OnMove() = 0;
    // A command from a menu or an accelerator; nonzero = handled.
    virtual int32_t OnCommand(int32_t id) = 0;
};

class IWinFormEventListener : public IContainerEventListener {
public:
    // Nonzero when the form's pre-translation hook consumed the message.
    virtual int32_t OnPreTranslate(MsgRecord& message) = 0;
    // Both answer 1 to allow closing.
    virtual int32_t OnQueryClose() = 0;
    virtual int32_t OnClosing() = 0;
    virtual void OnFirstActivate() = 0;
    virtual void OnActivate() = 0;
    virtual void OnDeactivate() = 0;
    // kind: 1 left button released, 2 left double-click, 3 right button or context menu.
    virtual void OnTrayIcon(int32_t kind) = 0;
    virtual void OnMenuSelect(int32_t id) = 0;
    // Nonzero: the limits were changed and are to be used.
    virtual int32_t OnSizeLimits(MINMAXINFO* limits) = 0;
    virtual void OnLastFormEvent() = 0;
};
