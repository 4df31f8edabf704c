// Debian's Emscripten starts only a main without arguments (see gtest_main.cpp): a program whose
// main takes them is built with that main renamed ProgramMain, and started here with none.
int ProgramMain(int argc, char **argv);

int main()
{
    char name[] = "program";
    char *arguments[] = {name, nullptr};
    return ProgramMain(1, arguments);
}
