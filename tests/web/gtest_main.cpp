// GoogleTest's main without arguments: Debian's Emscripten starts a program's main(argc, argv) by
// a name that clang 15 no longer gives it, so GoogleTest's own main would never run.
#include <gtest/gtest.h>

int main()
{
    testing::InitGoogleTest();
    return RUN_ALL_TESTS();
}
