/* Placeholders for what Wine's tests name and our layer does not have (declared in compat.h). Each
 * fails as the platform fails a call it cannot serve, so no test mistakes it for the real thing. They
 * are weak and linked after the layer, so a function the layer gains replaces its placeholder, and
 * they live in a section of their own, so the harness's GetProcAddress never hands one out. */
#include "wine/test.h"

#define PLACEHOLDER(type, name, parameters, failure)                                                         \
    __attribute__((weak, section("winesuite_placeholders"))) type WINAPI name parameters                     \
    {                                                                                                        \
        SetLastError(ERROR_CALL_NOT_IMPLEMENTED);                                                            \
        return failure;                                                                                      \
    }

/* Each library of tests with names of its own compiles this file again with its list
 * (WINESUITE_PLACEHOLDERS, e.g. placeholders_gdi32.def). */
#ifdef WINESUITE_PLACEHOLDERS
#include WINESUITE_PLACEHOLDERS
#else
#include "placeholders.def"
#endif
