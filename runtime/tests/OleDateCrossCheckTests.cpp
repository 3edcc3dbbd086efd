// Checks thousands of random dates against an independent reader: Python's datetime calendar with
// exact rational arithmetic (check_ole_dates.py). Skipped only when /usr/bin/python3 is missing.
#include "runtime/OleDate.h"
#include "runtime/Unicode.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <fstream>
#include <random>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

constexpr const char* kPython = "/usr/bin/python3";
constexpr int kCasesPerKind = 4000;

std::string Hex(double value)
{
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%a", value);
    return buffer;
}

std::string NumericText(double date)
{
    CWString text;
    return Utf16ToUtf8(DateToText(date, DateForm::Numeric, text));
}

std::string ChineseText(double date)
{
    CWString text;
    return Utf16ToUtf8(DateToText(date, DateForm::Chinese, text));
}

class CaseWriter {
public:
    explicit CaseWriter(std::ostream& out) : out_(out) {}

    // Random calendar fields; the day may exceed its month, which DateFromParts clamps.
    void Parts()
    {
        int y = Pick(100, 9999), mo = Pick(1, 12), d = Pick(1, 31);
        switch (Pick(0, 9)) {
        case 0: y = Pick(1895, 1905); break;
        case 1: y = Pick(1, 99) * 100, mo = 2, d = Pick(28, 31); break;    // the century leap rule
        default: break;
        }
        const int h = Pick(0, 23), mi = Pick(0, 59), s = Pick(0, 59);
        const int ms = Pick(0, 999);
        const double value = DateFromParts(y, mo, d, h, mi, s, ms, kInvalidDate);
        char iso[64];
        std::snprintf(iso, sizeof iso, "%04d-%02d-%02d %02d:%02d:%02d", y, mo, d, h, mi, s);
        const std::u16string isoText(iso, iso + std::char_traits<char>::length(iso));
        out_ << "P\t" << y << '\t' << mo << '\t' << d << '\t' << h << '\t' << mi << '\t' << s << '\t' << ms << '\t'
             << Hex(value) << '\t' << NumericText(value) << '\t' << ChineseText(value) << '\t'
             << Hex(TextToDate(isoText.c_str(), DateForm::Chinese)) << '\n';
    }

    // Any double around and beyond the valid days, many of them near the epoch.
    void Value()
    {
        const double value = Pick(0, 3) == 0 ? Uniform(-4.0, 4.0) : Uniform(kDateMin - 1.5, kDateMax + 1.5);
        out_ << "V\t" << Hex(value) << '\t' << NumericText(value) << '\n';
    }

    // Pairs far apart, and pairs within seconds of each other, also across the epoch.
    void Diff()
    {
        const double a = Pick(0, 3) == 0 ? Uniform(-3.0, 3.0) : ValidDate();
        double b;
        switch (Pick(0, 2)) {
        case 0: b = ValidDate(); break;
        case 1: b = a + Uniform(-5.0, 5.0) / 86400; break;
        default: b = a + Uniform(-40000.0, 40000.0); break;    // around the 32-bit limit of some 68 years
        }
        if (std::trunc(b) < kDateMin || std::trunc(b) > kDateMax)
            b = a;
        out_ << "D\t" << Hex(a) << '\t' << Hex(b) << '\t' << DateDiffSeconds64(a, b) << '\t'
             << DateDiffSeconds(a, b) << '\n';
    }

private:
    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }
    double Uniform(double low, double high) { return std::uniform_real_distribution<double>(low, high)(random_); }
    double ValidDate() { return Uniform(kDateMin - 0.999, kDateMax + 0.999); }

    std::ostream& out_;
    std::mt19937_64 random_{20240821};
};

} // namespace

TEST(OleDateCrossCheck, RandomDatesAgreeWithPythonsCalendar)
{
    if (access(kPython, X_OK) != 0)
        GTEST_SKIP() << kPython << " is not installed";
    char path[] = "/tmp/tabrix-ole-dates-XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    {
        std::ofstream out(path);
        CaseWriter writer(out);
        for (int i = 0; i < kCasesPerKind; ++i) {
            writer.Parts();
            writer.Value();
            writer.Diff();
        }
        ASSERT_TRUE(out.good());
    }
    const std::string command = std::string(kPython) + " '" + TABRIX_OLE_DATE_CHECKER + "' '" + path + "' 2>&1";
    std::string output;
    FILE* pipe = popen(command.c_str(), "r");
    ASSERT_NE(pipe, nullptr);
    char buffer[4096];
    for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
        output.append(buffer, n);
    const int status = pclose(pipe);
    unlink(path);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << output;
    EXPECT_NE(output.find("checked"), std::string::npos) << output;
}
