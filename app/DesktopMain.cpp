// tabrix: the desktop program. It shows its window through a desktop presenter; this build has
// none, so it says so and ends.
#include <cstdio>

int main()
{
    std::fputs("tabrix: no display is available to this build; use tabrix-batch DIRECTORY WORKBOOK\n", stderr);
    return 1;
}
