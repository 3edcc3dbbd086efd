// Edit boxes: typed characters, notifications, selection, limits, read-only, undo, clipboard.
#include "ControlTestSupport.h"

#include "platform/controls/EditControl.h"
#include "platform/controls/EditText.h"
#include "platform/controls/MessageBeep.h"
#include "platform/window/Focus.h"
#include "platform/window/PresenterHook.h"

using namespace control_test;

namespace {

class EditTest : public ControlTest {
protected:
    void SetUp() override
    {
        ControlTest::SetUp();
        edit = CreateControl(WC_EDITW, u"", ES_AUTOHSCROLL, 201);
    }
    void Type(HWND hwnd, std::u16string_view text)
    {
        for (char16_t c : text)
            EXPECT_TRUE(PostInputMessage(hwnd, WM_CHAR, c, 1));
        window_test::DrainQueue();
    }
    std::u16string Text(HWND hwnd)
    {
        WCHAR buffer[512] = {};
        GetWindowTextW(hwnd, buffer, 512);
        return buffer;
    }
    std::pair<DWORD, DWORD> Selection(HWND hwnd)
    {
        DWORD start = 0, end = 0;
        SendMessageW(hwnd, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
        return {start, end};
    }
    HWND edit = nullptr;
};

const std::vector<UINT> kChanged{EN_UPDATE, EN_CHANGE};

TEST_F(EditTest, TypedCharactersReachTheTextAndEveryOneAnnouncesTheChange)
{
    Subclass recorder(edit);
    Log().Watch({WM_CHAR, WM_COMMAND});
    Type(edit, u"a中");
    std::vector<Entry> expected{{edit, WM_CHAR}, {parent, WM_COMMAND}, {parent, WM_COMMAND},
                                {edit, WM_CHAR}, {parent, WM_COMMAND}, {parent, WM_COMMAND}};
    EXPECT_EQ(Log().Take(), expected);
    EXPECT_EQ(TakeCommandCodes(), (std::vector<UINT>{EN_UPDATE, EN_CHANGE, EN_UPDATE, EN_CHANGE}));
    EXPECT_EQ(Text(edit), u"a中");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{2, 2}));
    EXPECT_TRUE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
}

TEST_F(EditTest, KeysTranslatedByTheMessageLoopArriveAsCharacters)
{
    for (UINT key : {0x41u, 0x42u, VK_BACK, 0x43u})
        PostInputMessage(edit, WM_KEYDOWN, key, 1);
    MSG msg;
    for (int guard = 0; guard < 100 && PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE); ++guard) {
        TranslateMessage(&msg);
        DispatchMessageW(&msg);
    }
    EXPECT_EQ(Text(edit), u"ac");
    // A disabled box takes nothing, without a beep.
    EnableWindow(edit, FALSE);
    unsigned long beeps = GetMessageBeepCount();
    Type(edit, u"xyz\b");
    EXPECT_EQ(Text(edit), u"ac");
    EXPECT_EQ(GetMessageBeepCount(), beeps);
}

TEST_F(EditTest, AFilterInFrontSeesCharactersFirstAndMayChangeOrDropThem)
{
    // What a control library's input filter does: digits refused, "x" typed as "X".
    Subclass filter(edit, [&](UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
        if (message != WM_CHAR)
            return false;
        if (wParam >= u'0' && wParam <= u'9') {
            *result = 0;
            return true;
        }
        if (wParam == u'x')
            *result = CallWindowProcW(filter.original, edit, message, u'X', lParam);
        return wParam == u'x';
    });
    Type(edit, u"1x2y");
    EXPECT_EQ(Text(edit), u"Xy");
    EXPECT_EQ(TakeCommandCodes().size(), 4u);
}

TEST_F(EditTest, KeysAndControlCharactersEdit)
{
    Type(edit, u"abc");
    Type(edit, u"\b");
    EXPECT_EQ(Text(edit), u"ab");
    Type(edit, std::u16string(1, char16_t{0x01}));  // Ctrl+A selects everything
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 2}));
    Type(edit, u"Z");
    EXPECT_EQ(Text(edit), u"Z");
    Type(edit, u"\r\t");  // a single-line box takes neither
    EXPECT_EQ(Text(edit), u"Z");
    Input(edit, {Message(WM_KEYDOWN, VK_LEFT), Message(WM_KEYDOWN, VK_DELETE)});
    EXPECT_EQ(Text(edit), u"");
    TakeNotifications();
    Input(edit, {Message(WM_KEYDOWN, VK_DELETE)});  // nothing left to delete: no change announced
    Type(edit, u"\b");
    EXPECT_TRUE(TakeNotifications().empty());
    // A surrogate pair is one character for backspace.
    Type(edit, u"a\U0001F600");
    Type(edit, u"\b");
    EXPECT_EQ(Text(edit), u"a");
}

TEST_F(EditTest, SelectionFollowsThePlatformRules)
{
    SetWindowTextW(edit, u"abcdef");
    struct Case {
        WPARAM start;
        LPARAM end;
        DWORD wantStart, wantEnd;
    } cases[] = {{0, -1, 0, 6}, {2, 4, 2, 4}, {4, 1, 1, 4}, {3, 100, 3, 6}, {static_cast<WPARAM>(-1), 0, 6, 6}};
    for (const Case& c : cases) {
        SendMessageW(edit, EM_SETSEL, c.start, c.end);
        EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{c.wantStart, c.wantEnd})) << c.start << "," << c.end;
    }
    SendMessageW(edit, EM_SETSEL, 1, 3);
    EXPECT_EQ(SendMessageW(edit, EM_GETSEL, 0, 0), static_cast<LRESULT>(MAKELONG(1, 3)));
    TakeNotifications();
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"XYZ"));
    EXPECT_EQ(Text(edit), u"aXYZdef");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{4, 4}));
    EXPECT_EQ(TakeCommandCodes(), kChanged);
}

TEST_F(EditTest, TheLimitStopsTypingAndCutsInsertionsButNotSetText)
{
    SendMessageW(edit, EM_LIMITTEXT, 3, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 3);
    Type(edit, u"abcd");
    EXPECT_EQ(Text(edit), u"abc");
    std::vector<UINT> codes = TakeCommandCodes();
    EXPECT_EQ(codes.back(), EN_MAXTEXT);
    EXPECT_EQ(std::count(codes.begin(), codes.end(), EN_CHANGE), 3);
    SendMessageW(edit, EM_SETSEL, 1, 2);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"1234"));
    EXPECT_EQ(Text(edit), u"a1c");
    SetWindowTextW(edit, u"longer than three");
    EXPECT_EQ(Text(edit), u"longer than three");
    // A pair that does not fit whole is not split.
    SetWindowTextW(edit, u"ab");
    SendMessageW(edit, EM_SETSEL, 2, 2);
    SendMessageW(edit, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(u"\U0001F600"));
    EXPECT_EQ(Text(edit), u"ab");
    SendMessageW(edit, EM_LIMITTEXT, 0, 0);
    EXPECT_EQ(SendMessageW(edit, EM_GETLIMITTEXT, 0, 0), 0x7FFFFFFE);
    HWND fresh = CreateControl(WC_EDITW, u"", 0, 202);
    EXPECT_EQ(SendMessageW(fresh, EM_GETLIMITTEXT, 0, 0), 32767);
}

TEST_F(EditTest, ReadOnlyAndNumberBoxesRefuseTypingWithABeep)
{
    SetWindowTextW(edit, u"fixed");
    EXPECT_TRUE(SendMessageW(edit, EM_SETREADONLY, TRUE, 0));
    EXPECT_NE(GetWindowLongW(edit, GWL_STYLE) & ES_READONLY, 0);
    TakeNotifications();
    unsigned long beeps = GetMessageBeepCount();
    Type(edit, u"x\b");
    Input(edit, {Message(WM_KEYDOWN, VK_DELETE)});
    EXPECT_EQ(Text(edit), u"fixed");
    EXPECT_EQ(GetMessageBeepCount(), beeps + 3);
    EXPECT_TRUE(TakeNotifications().empty());
    SendMessageW(edit, EM_SETSEL, 0, -1);
    SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(u"program"));  // only the user is stopped
    EXPECT_EQ(Text(edit), u"program");

    HWND number = CreateControl(WC_EDITW, u"", ES_NUMBER | ES_UPPERCASE, 203);
    beeps = GetMessageBeepCount();
    Type(number, u"4a2");
    EXPECT_EQ(Text(number), u"42");
    EXPECT_EQ(GetMessageBeepCount(), beeps + 1);
    HWND upper = CreateControl(WC_EDITW, u"", ES_UPPERCASE, 204);
    Type(upper, u"abc");
    EXPECT_EQ(Text(upper), u"ABC");
}

TEST_F(EditTest, SetTextAnnouncesForSingleLineBoxesOnlyAndResetsTheBox)
{
    Type(edit, u"abc");
    TakeNotifications();
    SetWindowTextW(edit, u"new");
    EXPECT_EQ(TakeCommandCodes(), kChanged);
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 0}));
    EXPECT_FALSE(SendMessageW(edit, EM_GETMODIFY, 0, 0));
    EXPECT_FALSE(SendMessageW(edit, EM_CANUNDO, 0, 0));

    HWND multi = CreateControl(WC_EDITW, u"", ES_MULTILINE | ES_WANTRETURN, 205, RECT{10, 50, 200, 150});
    SetWindowTextW(multi, u"one");
    EXPECT_TRUE(TakeNotifications().empty());
    SendMessageW(multi, EM_SETSEL, 3, 3);
    Type(multi, u"\rtwo\tx");
    EXPECT_EQ(Text(multi), u"one\r\ntwo\tx");
    EXPECT_EQ(SendMessageW(multi, EM_GETLINECOUNT, 0, 0), 2);
    EXPECT_EQ(SendMessageW(multi, EM_LINEINDEX, 1, 0), 5);
    EXPECT_EQ(SendMessageW(multi, EM_LINELENGTH, 6, 0), 5);
    EXPECT_EQ(SendMessageW(multi, EM_LINEFROMCHAR, 6, 0), 1);
    EXPECT_EQ(SendMessageW(multi, EM_LINEINDEX, 2, 0), -1);
    WCHAR line[8] = {};
    line[0] = 8;
    EXPECT_EQ(SendMessageW(multi, EM_GETLINE, 1, reinterpret_cast<LPARAM>(line)), 5);
    EXPECT_EQ(std::u16string(line, 5), u"two\tx");
    EXPECT_EQ(SendMessageW(multi, WM_GETDLGCODE, 0, 0) & DLGC_WANTALLKEYS, DLGC_WANTALLKEYS);
    Input(multi, {Message(WM_KEYDOWN, VK_UP)});
    EXPECT_EQ(Selection(multi), (std::pair<DWORD, DWORD>{3, 3}));
}

TEST_F(EditTest, FocusChangesNotifyTheParent)
{
    HWND other = CreateControl(WC_EDITW, u"", 0, 206, RECT{10, 50, 110, 70});
    SetFocus(edit);
    SetFocus(other);
    std::vector<Notification> expected{{WM_COMMAND, edit, EN_SETFOCUS, 201},
                                       {WM_COMMAND, edit, EN_KILLFOCUS, 201},
                                       {WM_COMMAND, other, EN_SETFOCUS, 206}};
    EXPECT_EQ(TakeNotifications(), expected);
    Click(edit);
    EXPECT_EQ(GetFocus(), edit);
}

TEST_F(EditTest, UndoTogglesAndTheClipboardCarriesText)
{
    Type(edit, u"abc");
    SendMessageW(edit, EM_SETSEL, 0, -1);
    Type(edit, u"Z");
    EXPECT_TRUE(SendMessageW(edit, EM_UNDO, 0, 0));
    EXPECT_EQ(Text(edit), u"abc");
    EXPECT_EQ(Selection(edit), (std::pair<DWORD, DWORD>{0, 3}));
    SendMessageW(edit, WM_UNDO, 0, 0);
    EXPECT_EQ(Text(edit), u"Z");
    SendMessageW(edit, EM_EMPTYUNDOBUFFER, 0, 0);
    EXPECT_FALSE(SendMessageW(edit, EM_UNDO, 0, 0));

    SetWindowTextW(edit, u"copy me");
    SendMessageW(edit, EM_SETSEL, 0, 4);
    Type(edit, std::u16string(1, char16_t{0x18}));  // Ctrl+X
    EXPECT_EQ(Text(edit), u" me");
    EXPECT_EQ(GetClipboardText(), u"copy");
    SetClipboardText(u"first\r\nsecond");
    Type(edit, std::u16string(1, char16_t{0x16}));  // Ctrl+V keeps the first line in a single-line box
    EXPECT_EQ(Text(edit), u"first me");

    HWND secret = CreateControl(WC_EDITW, u"hunter2", ES_PASSWORD, 207);
    EXPECT_EQ(SendMessageW(secret, EM_GETPASSWORDCHAR, 0, 0), u'*');
    SendMessageW(secret, EM_SETSEL, 0, -1);
    SendMessageW(secret, WM_COPY, 0, 0);
    SendMessageW(secret, WM_CUT, 0, 0);
    EXPECT_EQ(GetClipboardText(), u"first\r\nsecond");  // a password never leaves its box
    EXPECT_EQ(Text(secret), u"hunter2");
    SendMessageW(secret, EM_SETPASSWORDCHAR, 0, 0);
    EXPECT_EQ(GetWindowLongW(secret, GWL_STYLE) & ES_PASSWORD, 0);
}

TEST(EditTextTest, PositionsKeepPairsAndLinesWhole)
{
    using namespace tabrix::controls_detail;
    std::u16string text = u"a\U0001F600\r\nb";
    EXPECT_EQ(NextCharacter(text, 1), 3u);
    EXPECT_EQ(PreviousCharacter(text, 3), 1u);
    EXPECT_EQ(NextCharacter(text, 3), 5u);
    EXPECT_EQ(PreviousCharacter(text, 5), 3u);
    EXPECT_EQ(LineCount(text), 2u);
    EXPECT_EQ(LineOf(text, 4), 0u);
    EXPECT_EQ(LineOf(text, 5), 1u);
    EXPECT_EQ(FittingPrefix(u"x\U0001F600", 2), u"x");
    EXPECT_EQ(FirstLine(u"one\ntwo"), u"one");
}

}  // namespace
