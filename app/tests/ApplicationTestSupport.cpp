#include "ApplicationTestSupport.h"

namespace app_test {

Journal& TheJournal()
{
    static Journal journal;
    return journal;
}

QRN_IMPLEMENT_CLASS(TestWindowProgram, rg_quarn_base::rg_ChuangKouChengXuLei, "rg_quarn_app::TestWindowProgram")
QRN_IMPLEMENT_CLASS(TestPlainProgram, rg_quarn_base::rg_ChengXuLei, "rg_quarn_app::TestPlainProgram")

TestWindowProgram::~TestWindowProgram() { TheJournal().events.push_back("destroyed"); }

int32_t TestWindowProgram::RunProgram()
{
    TheJournal().events.push_back("run");
    return TheJournal().run ? TheJournal().run() : 1;
}

int32_t TestWindowProgram::PreTranslateMessageHook(HWND, UINT message, WPARAM, LPARAM, MSG*)
{
    return message == static_cast<UINT>(TheJournal().consumeMessage) ? 0 : 1;
}

int32_t TestWindowProgram::IdleHook(uint32_t idleMilliseconds)
{
    TheJournal().idleMilliseconds.push_back(idleMilliseconds);
    return 0;
}

void TestWindowProgram::ExitHook() { TheJournal().events.push_back("exit hook"); }

int32_t TestPlainProgram::RunProgram()
{
    TheJournal().events.push_back("run plain");
    return TheJournal().run ? TheJournal().run() : 1;
}

} // namespace app_test
