/* Stands in for the comctl32 tests' v6util.h, which turns version 6 of the common controls on
 * through an activation context. The layer has only version 6 and registers its classes when
 * comctl32 is loaded (loader.c); nothing else is needed. */
#ifndef WINESUITE_V6UTIL_H
#define WINESUITE_V6UTIL_H
static inline BOOL load_v6_module(ULONG_PTR *cookie, HANDLE *context)
{
    *cookie = 0;
    *context = NULL;
    return LoadLibraryA("comctl32.dll") != NULL;
}
static inline void unload_v6_module(ULONG_PTR cookie, HANDLE context)
{
    (void)cookie;
    (void)context;
}
#endif
