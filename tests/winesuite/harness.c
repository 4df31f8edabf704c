/* The half of the harness that runs inside a test function's process: what Wine's test macros do
 * here, each check's outcome reported to the runner (runner.c) the first time its line gives it.
 * A check line is the file:line of an ok() (or the place an ok_() names); it passes when every
 * check made there held. */
#include <stdarg.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#include "runner.h"
#include "wine/test.h"

int winetest_debug = 1;
int winetest_interactive = 0;
/* The branches a test takes for the platform are Windows' ones: our layer claims its behaviour. */
const char *winetest_platform = "windows";

void winesuite_start(void);

/* ---- In the process that runs a function: checks reported to the runner as they happen. ---- */

static __thread const char *check_file;
static __thread int check_line;
static __thread int check_marked;
static const char *running_function;
static int report_fd = -1;
static char context[1024];
static size_t context_depth[32];
static int context_count;

enum { OUTCOME_PASS = 'P', OUTCOME_FAIL = 'F' };
enum { SEEN_SLOTS = 1 << 16 };
static struct {
    const char *file;
    int line;
    char outcome;
} seen[SEEN_SLOTS];

static const char *base_name(const char *path)
{
    const char *slash = strrchr(path, '/');
    return slash ? slash + 1 : path;
}

/* True the first time a line gives an outcome: each is reported once per process. */
static int first_outcome(const char *file, int line, char outcome)
{
    unsigned hash = (unsigned)line * 2654435761u + (unsigned char)outcome;
    for (const char *c = file; *c; ++c)
        hash = hash * 31u + (unsigned char)*c;
    for (unsigned probe = 0; probe < SEEN_SLOTS; ++probe) {
        unsigned slot = (hash + probe) & (SEEN_SLOTS - 1);
        if (!seen[slot].file) {
            seen[slot].file = file;
            seen[slot].line = line;
            seen[slot].outcome = outcome;
            return 1;
        }
        if (seen[slot].line == line && seen[slot].outcome == outcome && !strcmp(seen[slot].file, file))
            return 0;
    }
    return 0;
}

static void report(char outcome, const char *format, va_list args)
{
    const char *file = check_file ? base_name(check_file) : "?";
    if (!first_outcome(file, check_line, outcome))
        return;
    char message[1536] = "";
    if (format)
        vsnprintf(message, sizeof message, format, args);
    for (char *c = message; *c; ++c)
        if ((unsigned char)*c < 0x20) /* one record a line, whatever the message holds */
            *c = ' ';
    char record[3072];
    int length = snprintf(record, sizeof record, "%c\t%s:%d\t%d\t%s\t%s%s\n", outcome, file, check_line,
                          check_marked, running_function, context, message);
    if (length > (int)sizeof record - 1) {
        length = (int)sizeof record - 1;
        record[length - 1] = '\n';
    }
    if (report_fd >= 0 && write(report_fd, record, (size_t)length) < 0)
        _exit(3);
}

void winesuite_locate(const char *file, int line)
{
    check_file = file;
    check_line = line;
}

void winetest_ok(int condition, const char *format, ...)
{
    va_list args;
    va_start(args, format);
    report(condition ? OUTCOME_PASS : OUTCOME_FAIL, format, args);
    va_end(args);
}

/* A skip says the platform lacks what the check needs: nothing is checked. */
void winetest_skip(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    if (winetest_debug > 1)
        vfprintf(stderr, format, args);
    va_end(args);
}

/* A skip allowed only on old Windows: a failure on any other platform, ours as Wine's. */
void winetest_win_skip(const char *format, ...)
{
    va_list args;
    va_start(args, format);
    report(OUTCOME_FAIL, format, args);
    va_end(args);
}

void winetest_trace(const char *format, ...)
{
    if (winetest_debug < 2)
        return;
    va_list args;
    va_start(args, format);
    vfprintf(stderr, format, args);
    va_end(args);
}

void winetest_push_context(const char *format, ...)
{
    size_t used = strlen(context);
    if (context_count < (int)(sizeof context_depth / sizeof *context_depth))
        context_depth[context_count++] = used;
    va_list args;
    va_start(args, format);
    vsnprintf(context + used, sizeof context - used, format, args);
    va_end(args);
    used = strlen(context);
    snprintf(context + used, sizeof context - used, ": ");
}

void winetest_pop_context(void)
{
    if (context_count > 0)
        context[context_depth[--context_count]] = '\0';
}

int winesuite_mark_begin(int marked)
{
    check_marked = marked != 0;
    return 1;
}

int winesuite_mark_end(void)
{
    check_marked = 0;
    return 0;
}

int broken(int condition)
{
    (void)condition;
    return 0;
}

static int main_argc;
static char **main_argv;
int winetest_get_mainargs(char ***argv)
{
    *argv = main_argv;
    return main_argc;
}

int winesuite_selected(const char *function)
{
    return running_function && !strcmp(function, running_function);
}

const char *wine_dbg_sprintf(const char *format, ...)
{
    static __thread char ring[16][1024];
    static __thread unsigned next;
    char *buffer = ring[next++ % 16];
    va_list args;
    va_start(args, format);
    vsnprintf(buffer, sizeof ring[0], format, args);
    va_end(args);
    return buffer;
}

/* A string of bytes or of UTF-16 units, quoted, with what is not plain ASCII as \x escapes of
   `digits` hexadecimal digits; a negative length reads up to the terminator. */
static const char *quoted(const char *prefix, const char *bytes, const WCHAR *units, int length, int digits)
{
    const void *text = bytes ? (const void *)bytes : (const void *)units;
    if (!text)
        return "(null)";
    if (IS_INTRESOURCE(text))
        return wine_dbg_sprintf("#%04x", (unsigned)(ULONG_PTR)text);
    char buffer[512];
    size_t used = (size_t)snprintf(buffer, sizeof buffer, "%s\"", prefix);
    for (int i = 0; (length < 0 || i < length) && used < sizeof buffer - 10; ++i) {
        unsigned c = bytes ? (unsigned char)bytes[i] : units[i];
        if (length < 0 && c == 0)
            break;
        if (c >= 0x20 && c < 0x7f && c != '"' && c != '\\')
            buffer[used++] = (char)c;
        else
            used += (size_t)snprintf(buffer + used, sizeof buffer - used, "\\x%0*x", digits, c);
    }
    buffer[used++] = '"';
    buffer[used] = '\0';
    return wine_dbg_sprintf("%s", buffer);
}

const char *wine_dbgstr_an(const char *text, int length)
{
    return quoted("", text, NULL, length, 2);
}

const char *wine_dbgstr_wn(const WCHAR *text, int length)
{
    return quoted("L", NULL, text, length, 4);
}

/* Zeroes the stack the test function will use, so what it reads unset is the same every run. */
static __attribute__((noinline)) void zero_stack_below(void)
{
    volatile char stack[256 * 1024];
    memset((char *)stack, 0, sizeof stack);
}

void winesuite_run_in_this_process(const char *function, int fd, int argc, char **argv)
{
    zero_stack_below();
    running_function = function;
    report_fd = fd;
    main_argc = argc;
    main_argv = argv;
    winesuite_start();
}
