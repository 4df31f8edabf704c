#include "atlas_support.h"

#include "pixels.h"
#include "SlantGlyphDemo.h"

#include <cstdlib>
#include <filesystem>

#ifndef _WIN32
#include <sys/wait.h>
#endif

namespace atlas_test {

namespace {

std::filesystem::path ToolPath()
{
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof(self));
    // The Windows build's tool is an .exe beside the test, the native one has no extension.
    return std::filesystem::path(self).parent_path() /
           (std::string("slantglyph-atlas") + std::filesystem::path(self).extension().string());
}

} // namespace

int RunTool(const std::string &arguments, const std::string &errorFile)
{
    std::string command = "\"" + ToolPath().string() + "\" " + arguments;
    if (!errorFile.empty()) {
        command += " 2>\"" + errorFile + "\"";
    }
#ifdef _WIN32
    // cmd.exe drops the first and the last quote of a line that starts with one.
    return std::system(("\"" + command + "\"").c_str());
#else
    const int status = std::system(command.c_str());
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
#endif
}

std::string TempPath(const std::string &name)
{
    static const std::filesystem::path folder = [] {
        std::filesystem::path path = std::filesystem::temp_directory_path() /
                                     ("slantglyph-atlas-test-" + std::to_string(GetCurrentProcessId()));
        std::filesystem::remove_all(path);
        std::filesystem::create_directories(path);
        return path;
    }();
    return (folder / name).string();
}

scene::Frame DialogPaint(const atlas::Setting &setting)
{
    const driving::Dialog dialog(DialogProc);
    dialog.SetScene(atlas::SceneOf(setting));
    return dialog.Paint();
}

} // namespace atlas_test
