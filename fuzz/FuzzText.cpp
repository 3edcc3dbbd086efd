#include "fuzz/FuzzText.h"

#include <cstdio>
#include <cstdlib>

namespace tabrix_fuzz {

void Fail(const char* what)
{
    std::fprintf(stderr, "property broken: %s\n", what);
    std::abort();
}

}  // namespace tabrix_fuzz
