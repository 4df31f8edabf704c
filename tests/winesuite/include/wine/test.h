/* The test macros Wine's conformance tests are written with, as our harness gives them meaning.
 * Every check counts on our layer as it would on Windows: todo_wine and todo_wine_if state the real
 * platform's behaviour, so they are ordinary checks here (the flag is kept only for the report);
 * broken() accepts nothing, as under Wine; win_skip() is a failure, as under Wine. */
#ifndef WINESUITE_TEST_H
#define WINESUITE_TEST_H

#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <windows.h>

extern int winetest_debug;
extern int winetest_interactive;
extern const char *winetest_platform;

/* The place of the check about to be made: the macros record it, then call the function. */
void winesuite_locate(const char *file, int line);
void winetest_ok(int condition, const char *format, ...) __attribute__((format(printf, 2, 3)));
void winetest_skip(const char *format, ...) __attribute__((format(printf, 1, 2)));
void winetest_win_skip(const char *format, ...) __attribute__((format(printf, 1, 2)));
void winetest_trace(const char *format, ...) __attribute__((format(printf, 1, 2)));
void winetest_push_context(const char *format, ...) __attribute__((format(printf, 1, 2)));
void winetest_pop_context(void);
int winetest_get_mainargs(char ***argv);
int broken(int condition);

#define ok_(file, line) (winesuite_locate(file, line), winetest_ok)
#define skip_(file, line) (winesuite_locate(file, line), winetest_skip)
#define win_skip_(file, line) (winesuite_locate(file, line), winetest_win_skip)
#define trace_(file, line) (winesuite_locate(file, line), winetest_trace)
#define ok ok_(__FILE__, __LINE__)
#define skip skip_(__FILE__, __LINE__)
#define win_skip win_skip_(__FILE__, __LINE__)
#define trace trace_(__FILE__, __LINE__)

/* A block whose checks Wine marks as failing on Wine (or flaky on Windows): run as ordinary checks,
 * the mark remembered so the report can say Wine fails the same line. */
int winesuite_mark_begin(int marked);
int winesuite_mark_end(void);
#define todo_if(marked)                                                                                      \
    for (int winesuite_mark_once_ = winesuite_mark_begin(marked); winesuite_mark_once_;                      \
         winesuite_mark_once_ = winesuite_mark_end())
#define todo_wine todo_if(1)
#define todo_wine_if(marked) todo_if(marked)
#define flaky_if(marked) todo_if(0)
#define flaky todo_if(0)
#define flaky_wine todo_if(0)
#define flaky_wine_if(marked) todo_if(0)

/* Printable forms of the values checks report; each call gets a buffer of its own among a ring. */
const char *wine_dbg_sprintf(const char *format, ...) __attribute__((format(printf, 1, 2)));
const char *wine_dbgstr_an(const char *text, int length);
const char *wine_dbgstr_wn(const WCHAR *text, int length);
static inline const char *wine_dbgstr_a(const char *text)
{
    return wine_dbgstr_an(text, -1);
}
static inline const char *wine_dbgstr_w(const WCHAR *text)
{
    return wine_dbgstr_wn(text, -1);
}
static inline const char *wine_dbgstr_rect(const RECT *rect)
{
    if (!rect)
        return "(null)";
    return wine_dbg_sprintf("(%d,%d)-(%d,%d)", (int)rect->left, (int)rect->top, (int)rect->right,
                            (int)rect->bottom);
}
static inline const char *wine_dbgstr_point(const POINT *point)
{
    if (!point)
        return "(null)";
    return wine_dbg_sprintf("(%d,%d)", (int)point->x, (int)point->y);
}
static inline const char *wine_dbgstr_longlong(unsigned long long value)
{
    return wine_dbg_sprintf("%llx", value);
}

#ifndef ARRAY_SIZE
#define ARRAY_SIZE(array) (sizeof(array) / sizeof((array)[0]))
#endif
#define U(x) (x)
#define U1(x) (x)
#define U2(x) (x)
#define U3(x) (x)
#define S(x) (x)
#define S1(x) (x)
#define S2(x) (x)

/* The file's entry: it prepares what its functions share, then calls them; the harness lets only the
 * function this process runs go through (see prepare.awk). */
int winesuite_selected(const char *function);
#define START_TEST(name) void winesuite_start(void)

#endif
