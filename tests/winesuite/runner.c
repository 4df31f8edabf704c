/* The runner half of the harness: forks a process per test function, gathers the outcomes of its
 * check lines and compares the failing ones with the list in expected.txt (scope.txt names the
 * functions that do not run). The run fails on a failing line that is not listed, and on a listed
 * line that no longer fails, so the list can only shrink. */
#include <errno.h>
#include <signal.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <sys/personality.h>
#include <sys/wait.h>
#include <unistd.h>

#include "runner.h"

struct line_result {
    char location[160];
    char function[96];
    char message[512];
    int passed, failed, marked, listed;
};

static struct line_result *results;
static size_t result_count, result_capacity;

/* A listed line marked "~" reads what a failed call left unset: it may pass or fail from run to run,
 * so it is never called stale. */
struct listed_line {
    char location[160];
    int seen, unsteady;
};
static struct listed_line listed[1024];
static size_t listed_count;
static char out_of_scope[256][96];
static size_t out_of_scope_count;

static struct line_result *result_at(const char *location)
{
    for (size_t i = 0; i < result_count; ++i)
        if (!strcmp(results[i].location, location))
            return &results[i];
    if (result_count == result_capacity) {
        result_capacity = result_capacity ? result_capacity * 2 : 256;
        results = realloc(results, result_capacity * sizeof *results);
        if (!results)
            abort();
    }
    struct line_result *result = &results[result_count++];
    memset(result, 0, sizeof *result);
    snprintf(result->location, sizeof result->location, "%s", location);
    return result;
}

static void record(char outcome, const char *location, int marked, const char *function, const char *message)
{
    struct line_result *result = result_at(location);
    if (outcome == 'P') {
        ++result->passed;
        return;
    }
    if (!result->failed++) {
        snprintf(result->function, sizeof result->function, "%s", function);
        snprintf(result->message, sizeof result->message, "%s", message);
    }
    result->marked |= marked;
}

/* One record a line: outcome, location, todo mark, function, message, separated by tabs. */
static void read_records(FILE *stream)
{
    char line[4096];
    while (fgets(line, sizeof line, stream)) {
        char *fields[5] = {0};
        char *cursor = line;
        for (int i = 0; i < 5 && cursor; ++i) {
            fields[i] = cursor;
            cursor = i < 4 ? strchr(cursor, '\t') : NULL;
            if (cursor)
                *cursor++ = '\0';
        }
        if (!fields[4])
            continue;
        fields[4][strcspn(fields[4], "\n")] = '\0';
        record(fields[0][0], fields[1], atoi(fields[2]), fields[3], fields[4]);
    }
}

static void run_function(const char *function, int argc, char **argv)
{
    int ends[2];
    if (pipe(ends)) {
        perror("pipe");
        exit(2);
    }
    fflush(NULL);
    pid_t child = fork();
    if (child < 0) {
        perror("fork");
        exit(2);
    }
    if (child == 0) {
        close(ends[0]);
        alarm(WINESUITE_TIME_LIMIT);
        winesuite_run_in_this_process(function, ends[1], argc, argv);
        _exit(0);
    }
    close(ends[1]);
    FILE *stream = fdopen(ends[0], "r");
    read_records(stream);
    fclose(stream);
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    char location[160];
    char message[160];
    if (WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM) {
        snprintf(location, sizeof location, "%s:timeout", function);
        snprintf(message, sizeof message, "still running after %d s", WINESUITE_TIME_LIMIT);
    } else if (WIFSIGNALED(status)) {
        snprintf(location, sizeof location, "%s:crash", function);
        snprintf(message, sizeof message, "ended by signal %d (%s)", WTERMSIG(status),
                 strsignal(WTERMSIG(status)));
    } else if (WEXITSTATUS(status) != 0) {
        snprintf(location, sizeof location, "%s:exit", function);
        snprintf(message, sizeof message, "exited with status %d", WEXITSTATUS(status));
    } else {
        return;
    }
    record('F', location, 0, function, message);
}

/* Lines of `FILE WORD REST`: the WORDs given for this binary's file, comments (#) and blanks skipped. */
static void read_list(const char *path, void (*take)(const char *word))
{
    FILE *list = fopen(path, "r");
    if (!list) {
        fprintf(stderr, "winesuite: cannot read %s\n", path);
        exit(2);
    }
    char line[1024];
    while (fgets(line, sizeof line, list)) {
        char file[160], word[160];
        if (line[0] == '#' || sscanf(line, "%159s %159s", file, word) != 2)
            continue;
        if (!strcmp(file, WINESUITE_FILE))
            take(word);
    }
    fclose(list);
}

static void take_listed(const char *location)
{
    if (listed_count == sizeof listed / sizeof *listed) return;
    struct listed_line *entry = &listed[listed_count++];
    entry->unsteady = location[0] == '~';
    snprintf(entry->location, sizeof entry->location, "%s", location + entry->unsteady);
}

static void take_out_of_scope(const char *function)
{
    if (out_of_scope_count < sizeof out_of_scope / sizeof *out_of_scope)
        snprintf(out_of_scope[out_of_scope_count++], sizeof out_of_scope[0], "%s", function);
}

static int is_out_of_scope(const char *function)
{
    for (size_t i = 0; i < out_of_scope_count; ++i)
        if (!strcmp(out_of_scope[i], function))
            return 1;
    return 0;
}

static struct listed_line *listed_entry(const char *location)
{
    for (size_t i = 0; i < listed_count; ++i)
        if (!strcmp(listed[i].location, location))
            return &listed[i];
    return NULL;
}

/* Prints every failing line and every stale entry of the list; returns the number of problems. */
static int compare_with_list(int whole_file)
{
    int problems = 0;
    for (size_t i = 0; i < result_count; ++i) {
        struct line_result *result = &results[i];
        if (!result->failed)
            continue;
        struct listed_line *entry = listed_entry(result->location);
        if (entry)
            entry->seen = result->listed = 1;
        else
            ++problems;
        printf("  %-10s %s%s [%s] %s\n", entry ? "listed" : "NOT LISTED", result->location,
               result->marked ? " (todo_wine)" : "", result->function, result->message);
    }
    for (size_t i = 0; whole_file && i < listed_count; ++i) {
        if (listed[i].seen || listed[i].unsteady)
            continue;
        ++problems;
        int reached = 0;
        for (size_t j = 0; j < result_count; ++j)
            reached |= !strcmp(results[j].location, listed[i].location);
        printf("  %-10s %s: listed in expected.txt but %s; remove it from the list\n", "STALE",
               listed[i].location, reached ? "it passes now" : "no longer reached");
    }
    return problems;
}

/* A test that goes on after a failed call may read what the call left unset: values from the
 * stack. Those are the same from run to run only without address randomisation, so the runner
 * starts itself again without it, and each function starts on a stack zeroed below it. */
static void run_without_address_randomisation(char **argv)
{
    int current = personality(0xffffffff);
    if (current == -1 || (current & ADDR_NO_RANDOMIZE)) return;
    if (personality((unsigned long)current | ADDR_NO_RANDOMIZE) == -1) return;
    execv("/proc/self/exe", argv);
}

int main(int argc, char **argv)
{
    run_without_address_randomisation(argv);
    const char *only = argc > 1 ? argv[1] : NULL;
    read_list(WINESUITE_SCOPE, take_out_of_scope);
    read_list(WINESUITE_EXPECTED, take_listed);
    int run = 0, skipped = 0;
    for (const char *const *function = winesuite_functions; *function; ++function) {
        if (only ? strcmp(only, *function) != 0 : is_out_of_scope(*function)) {
            skipped += !only;
            continue;
        }
        run_function(*function, argc, argv);
        ++run;
    }
    if (only && !run) {
        fprintf(stderr, "winesuite: %s has no test function %s\n", WINESUITE_FILE, only);
        return 2;
    }
    int problems = compare_with_list(!only);
    int passing = 0, failing = 0, listed_failing = 0;
    for (size_t i = 0; i < result_count; ++i) {
        passing += !results[i].failed;
        failing += results[i].failed != 0;
        listed_failing += results[i].listed;
    }
    printf("winesuite %s: test functions run %d, out of scope %d; check lines passing %d, failing %d, "
           "listed %d\n",
           WINESUITE_FILE, run, skipped, passing, failing, listed_failing);
    return only ? failing != 0 : problems != 0;
}
