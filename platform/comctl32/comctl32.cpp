// COMCTL32's entry points: registering the common controls.
#include "updown.h"

#include <windows.h>

#include <commctrl.h>

void WINAPI InitCommonControls(void)
{
    // Registered once; a second registration would only fail.
    static const bool registered = (RegisterUpDownClass(), true);
    (void)registered;
}

BOOL WINAPI InitCommonControlsEx(const INITCOMMONCONTROLSEX *picce)
{
    if (!picce || picce->dwSize != sizeof(INITCOMMONCONTROLSEX)) {
        return FALSE;
    }
    // The up-down is the only common control here; every class set gets it.
    InitCommonControls();
    return TRUE;
}

namespace {

// On Windows the library registers its classes as it loads, so a program that links it has the
// up-down before it calls InitCommonControls.
[[maybe_unused]] const bool kRegisteredAtLoad = (InitCommonControls(), true);

} // namespace
