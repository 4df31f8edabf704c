/* What the runner needs from the harness half that runs inside a test function's process. */
#ifndef WINESUITE_RUNNER_H
#define WINESUITE_RUNNER_H

#ifndef WINESUITE_TIME_LIMIT
#define WINESUITE_TIME_LIMIT 20
#endif

/* The file's test functions in the order its START_TEST calls them, then NULL (see prepare.awk). */
extern const char *const winesuite_functions[];

/* Runs the file's START_TEST with only `function` let through, reporting each check to `report_fd`. */
void winesuite_run_in_this_process(const char *function, int report_fd, int argc, char **argv);

#endif
