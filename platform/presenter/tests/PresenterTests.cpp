// The presenter against plain core windows on a virtual display: many changes between two frames
// cost one update, closing the Qt window only asks the core window (which decides), typed text
// reaches the edit box and the box's text comes back, a destroyed window's widget goes, and each
// control shows the font the core gave it, with a face the desktop lacks replaced by a Chinese one.
#include "platform/controls/ButtonControl.h"
#include "platform/controls/ControlClasses.h"
#include "platform/controls/ProgressControl.h"
#include "platform/gdi/GdiConstants.h"
#include "platform/gdi/GdiObjects.h"
#include "platform/presenter/DesktopFonts.h"
#include "platform/presenter/DesktopPresenter.h"
#include "platform/presenter/tests/VirtualDisplay.h"
#include "platform/window/Clock.h"
#include "platform/window/MessageQueue.h"
#include "platform/window/WinMessages.h"
#include "platform/window/WinStyles.h"
#include "platform/window/WindowGeometry.h"
#include "platform/window/Window.h"
#include "platform/window/WindowClass.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCoreApplication>
#include <QFontDatabase>
#include <QFontInfo>
#include <QInputMethodEvent>
#include <QLineEdit>
#include <QProgressBar>
#include <QTest>

#include <functional>
#include <memory>
#include <string>

namespace {

const bool g_desktopRegistered = (RegisterDesktopEnvironment(), true);

int g_closeRequests = 0;

LRESULT FrameProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam)
{
    if (message == WM_CLOSE) {
        ++g_closeRequests;  // kept open: the core window decides, not the desktop
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000)
{
    return PumpMessagesUntil(done, timeoutMs);
}

std::u16string CoreText(HWND hwnd)
{
    char16_t buffer[256] = {};
    GetWindowTextW(hwnd, buffer, 256);
    return buffer;
}

class PresenterTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        if (!XvfbInstalled())
            GTEST_SKIP() << "no Xvfb binary: install xvfb to run the desktop tests";
        ASSERT_TRUE(DesktopReady()) << "Xvfb did not start";
        RegisterStandardControlClasses();
        WNDCLASSEXW cls{};
        cls.cbSize = sizeof(cls);
        cls.lpfnWndProc = &FrameProc;
        cls.lpszClassName = u"PresenterTestFrame";
        RegisterClassExW(&cls);
        g_closeRequests = 0;
        presenter = std::make_unique<DesktopPresenter>();
        presenter->Attach();
        frame = CreateWindowExW(0, u"PresenterTestFrame", u"框架", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 400,
                                300, nullptr, nullptr, nullptr, nullptr);
        progress = CreateWindowExW(0, PROGRESS_CLASSW, u"", WS_CHILD | WS_VISIBLE, 10, 10, 200, 20, frame,
                                   reinterpret_cast<HMENU>(7), nullptr, nullptr);
        edit = CreateWindowExW(0, WC_EDITW, u"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 40, 200, 24, frame,
                               reinterpret_cast<HMENU>(8), nullptr, nullptr);
        ASSERT_TRUE(frame && progress && edit);
        ASSERT_TRUE(PumpUntil([this] { return presenter->WidgetFor(edit) && presenter->WidgetFor(frame)->isVisible(); }));
    }
    void TearDown() override
    {
        if (frame)
            DestroyWindow(frame);
        presenter.reset();
    }

    std::unique_ptr<DesktopPresenter> presenter;
    HWND frame = nullptr;
    HWND progress = nullptr;
    HWND edit = nullptr;
};

TEST_F(PresenterTest, AThousandProgressStepsCostOneFrame)
{
    auto* bar = qobject_cast<QProgressBar*>(presenter->WidgetFor(progress));
    ASSERT_NE(bar, nullptr);
    EXPECT_EQ(bar->objectName(), "window-7");
    const uint64_t before = presenter->PullCount();
    SendMessageW(progress, PBM_SETRANGE32, 0, 1000);
    for (int position = 1; position <= 1000; ++position)
        SendMessageW(progress, PBM_SETPOS, position, 0);
    ASSERT_TRUE(PumpUntil([bar] { return bar->value() == 1000; }));
    EXPECT_EQ(bar->maximum(), 1000);
    EXPECT_EQ(presenter->PullCount() - before, 1u);
}

TEST_F(PresenterTest, ClosingTheQtWindowAsksTheCoreWindowWhichDecides)
{
    QWidget* window = presenter->WidgetFor(frame);
    EXPECT_EQ(window->windowTitle(), QString::fromUtf8("框架"));
    window->close();
    EXPECT_EQ(g_closeRequests, 1);
    EXPECT_TRUE(IsWindow(frame));
    EXPECT_TRUE(window->isVisible()) << "the core window stays open, so its mirror does";
    DestroyWindow(frame);
    frame = nullptr;
    EXPECT_TRUE(PumpUntil([&] { return presenter->TopLevelWidgets().empty(); }));
}

TEST_F(PresenterTest, TypedTextReachesTheEditBoxAndItsTextComesBack)
{
    auto* line = qobject_cast<QLineEdit*>(presenter->WidgetFor(edit));
    ASSERT_NE(line, nullptr);
    // Chinese arrives committed by the input method, the rest as keys.
    QInputMethodEvent composed;
    composed.setCommitString(QString::fromUtf8("粤"));
    QCoreApplication::sendEvent(line, &composed);
    QTest::keyClicks(line, "B12345");
    EXPECT_EQ(CoreText(edit), u"粤B12345");
    SetWindowTextW(edit, u"沪A00001");
    EXPECT_TRUE(PumpUntil([line] { return line->text() == QString::fromUtf8("沪A00001"); }));
    EnableWindow(edit, FALSE);
    EXPECT_TRUE(PumpUntil([line] { return !line->isEnabled(); }));
}

// Sibling widgets stack as the core's windows do: the first made on top, then as SetWindowPos moves them.
TEST_F(PresenterTest, OverlappingSiblingsStackInTheCoresOrder)
{
    HWND first = CreateWindowExW(0, WC_STATICW, u"上", WS_CHILD | WS_VISIBLE, 20, 100, 100, 40, frame,
                                 reinterpret_cast<HMENU>(31), nullptr, nullptr);
    HWND second = CreateWindowExW(0, WC_STATICW, u"下", WS_CHILD | WS_VISIBLE, 60, 110, 100, 40, frame,
                                  reinterpret_cast<HMENU>(32), nullptr, nullptr);
    QWidget* frameWidget = presenter->WidgetFor(frame);
    const QPoint overlap(80, 120);
    ASSERT_TRUE(PumpUntil([&] { return presenter->WidgetFor(second) && presenter->WidgetFor(second)->isVisible(); }));
    EXPECT_EQ(frameWidget->childAt(overlap), presenter->WidgetFor(first));
    SetWindowPos(second, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(PumpUntil([&] { return frameWidget->childAt(overlap) == presenter->WidgetFor(second); }));
    SetWindowPos(second, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    EXPECT_TRUE(PumpUntil([&] { return frameWidget->childAt(overlap) == presenter->WidgetFor(first); }));
    DestroyWindow(first);
    DestroyWindow(second);
}

HFONT MakeFont(const char16_t* face, LONG height, LONG weight, bool italic, bool underline, bool strikeOut)
{
    LOGFONTW description{};
    description.lfHeight = height;
    description.lfWeight = weight;
    description.lfItalic = italic;
    description.lfUnderline = underline;
    description.lfStrikeOut = strikeOut;
    std::u16string(face).copy(description.lfFaceName, LF_FACESIZE - 1);
    return CreateFontIndirectW(&description);
}

bool HasChineseFaces()
{
    return QFontDatabase::hasFamily("Noto Serif CJK SC") && QFontDatabase::hasFamily("Noto Sans CJK SC");
}

// Buttons, edits and painted statics alike: face, points (negative heights) or pixels (positive),
// weight, italic, underline and strike-out; a font taken back, or deleted under the control, is
// the desktop's default again.
TEST_F(PresenterTest, EachControlShowsTheFontTheCoreGaveIt)
{
    if (!HasChineseFaces())
        GTEST_SKIP() << "fonts-noto-cjk is not installed";
    struct Case {
        const char16_t* className;
        DWORD style;
        const char16_t* face;
        LONG height;
        LONG weight;
        bool italic, underline, strikeOut;
        const char* family;
        double points;  // 0: pixels instead
        int pixels;
    };
    const Case cases[] = {
        {WC_BUTTONW, BS_PUSHBUTTON, u"DejaVu Sans", -20, FW_BOLD, false, false, false, "DejaVu Sans", 15.0, 0},
        {WC_EDITW, 0, u"", -16, 400, true, true, false, nullptr, 12.0, 0},
        {WC_STATICW, 0, u"宋体", 24, 400, false, false, true, "Noto Serif CJK SC", 0, 24},
        {WC_STATICW, 0, u"微软雅黑", -12, FW_BOLD, false, false, false, "Noto Sans CJK SC", 9.0, 0},
    };
    int id = 20;
    for (const Case& c : cases) {
        SCOPED_TRACE(QString::fromUtf16(c.face).toStdString() + " on " + QString::fromUtf16(c.className).toStdString());
        HWND control = CreateWindowExW(0, c.className, u"汉字", WS_CHILD | WS_VISIBLE | c.style, 10, 70, 200, 30, frame,
                                       reinterpret_cast<HMENU>(static_cast<intptr_t>(id++)), nullptr, nullptr);
        ASSERT_NE(control, nullptr);
        HFONT font = MakeFont(c.face, c.height, c.weight, c.italic, c.underline, c.strikeOut);
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        const auto matches = [&c](const QFont& shown) {
            const bool size = c.points > 0 ? shown.pointSizeF() == c.points : shown.pixelSize() == c.pixels;
            return size && shown.weight() == c.weight && shown.italic() == c.italic
                   && shown.underline() == c.underline && shown.strikeOut() == c.strikeOut;
        };
        QWidget* widget = nullptr;
        ASSERT_TRUE(PumpUntil([&] {
            widget = presenter->WidgetFor(control);
            return widget && matches(widget->font());
        })) << "the mirror does not show the font";
        if (c.family) {
            EXPECT_EQ(widget->font().family().toStdString(), c.family);
            EXPECT_EQ(QFontInfo(widget->font()).family().toStdString(), c.family);
        }
        SendMessageW(control, WM_SETFONT, 0, TRUE);
        EXPECT_TRUE(PumpUntil([&] { return widget->font() == QApplication::font(); })) << "the font was not taken back";
        SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(font), TRUE);
        EXPECT_TRUE(PumpUntil([&] { return matches(widget->font()); }));
        // The control still names the handle; a pull after the deletion reads no font, not freed memory.
        DeleteObject(font);
        MarkWindowChanged(control, WindowChangeFont);
        EXPECT_TRUE(PumpUntil([&] { return widget->font() == QApplication::font(); })) << "a deleted font is still shown";
        DestroyWindow(control);
    }
}

// A face the desktop lacks becomes a Chinese face of the same kind; a face it has, or none, stays.
TEST(DesktopFontsTest, AMissingFaceFallsBackToAChineseFace)
{
    if (!XvfbInstalled())
        GTEST_SKIP() << "no Xvfb binary: install xvfb to run the desktop tests";
    ASSERT_TRUE(DesktopReady());
    if (!HasChineseFaces())
        GTEST_SKIP() << "fonts-noto-cjk is not installed";
    const std::pair<const char*, const char*> cases[] = {
        {"宋体", "Noto Serif CJK SC"},       {"SimSun", "Noto Serif CJK SC"}, {"楷体", "Noto Serif CJK SC"},
        {"微软雅黑", "Noto Sans CJK SC"},    {"Microsoft YaHei", "Noto Sans CJK SC"},
        {"No Such Face 42", "Noto Sans CJK SC"}, {"DejaVu Sans", "DejaVu Sans"}, {"", ""},
    };
    for (const auto& [face, family] : cases)
        EXPECT_EQ(DesktopFamilyFor(QString::fromUtf8(face)).toStdString(), family) << face;
    FontSnapshot songTi;
    songTi.set = true;
    songTi.face = u"宋体";
    songTi.height = -20;
    songTi.weight = FW_BOLD;
    const QFontInfo resolved(DesktopFontFor(songTi));
    EXPECT_EQ(resolved.family().toStdString(), "Noto Serif CJK SC");
    EXPECT_TRUE(resolved.bold());
}

}  // namespace
