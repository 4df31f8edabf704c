/* The harness as the tests' loader. On Windows the tests load user32, gdi32 and comctl32 and look
 * functions up in them; natively the layer is linked into the test itself, so these stand-ins
 * (linked with --wrap) name the program for those libraries and look a name up among the layer's
 * symbols. A placeholder (placeholders.c) is never handed out: the function is then missing. */
#include <dlfcn.h>
#include <strings.h>

#include "wine/test.h"

HMODULE __real_GetModuleHandleA(LPCSTR name);
FARPROC __real_GetProcAddress(HMODULE module, LPCSTR name);
extern const char __start_winesuite_placeholders[] __attribute__((weak));
extern const char __stop_winesuite_placeholders[] __attribute__((weak));

static const char *const layer_libraries[] = {"user32", "gdi32", "comctl32", "kernel32", "uxtheme"};

static int names_layer_library(LPCSTR name)
{
    if (!name)
        return 0;
    const char *base = strrchr(name, '\\');
    base = base ? base + 1 : name;
    for (size_t i = 0; i < ARRAY_SIZE(layer_libraries); ++i) {
        size_t length = strlen(layer_libraries[i]);
        if (!strncasecmp(base, layer_libraries[i], length) &&
            (!base[length] || !strcasecmp(base + length, ".dll")))
            return 1;
    }
    return 0;
}

HMODULE __wrap_GetModuleHandleA(LPCSTR name)
{
    return __real_GetModuleHandleA(names_layer_library(name) ? NULL : name);
}

/* Loading comctl32 registers its classes, as its DllMain does on Windows. */
__attribute__((weak)) HMODULE WINAPI LoadLibraryA(LPCSTR name)
{
    if (names_layer_library(name)) {
        INITCOMMONCONTROLSEX classes = {sizeof classes, ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
        InitCommonControlsEx(&classes);
        return __real_GetModuleHandleA(NULL);
    }
    return LoadLibraryExA(name, NULL, 0);
}

/* comctl32 exports these by number only. */
static const struct {
    WORD ordinal;
    const char *name;
} ordinals[] = {{410, "SetWindowSubclass"},
                {411, "GetWindowSubclass"},
                {412, "RemoveWindowSubclass"},
                {413, "DefSubclassProc"}};

FARPROC __wrap_GetProcAddress(HMODULE module, LPCSTR name)
{
    if (IS_INTRESOURCE(name)) {
        const char *named = NULL;
        for (size_t i = 0; i < ARRAY_SIZE(ordinals); ++i)
            if (ordinals[i].ordinal == (WORD)(ULONG_PTR)name)
                named = ordinals[i].name;
        if (!named)
            return __real_GetProcAddress(module, name);
        name = named;
    }
    const char *symbol = dlsym(RTLD_DEFAULT, name);
    if (!symbol || (symbol >= __start_winesuite_placeholders && symbol < __stop_winesuite_placeholders))
        return __real_GetProcAddress(module, name);
    return (FARPROC)symbol;
}
