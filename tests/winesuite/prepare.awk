# Turns one of Wine's test files into one our harness runs a function at a time. Within the file's
# START_TEST body, each statement that calls a test function, `test_x(...);`, goes through only
# in the process that runs test_x; everything else there (the shared set-up) runs in every process.
# Lines keep their numbers, so a check is named by the same file:line as in Wine's source, and the
# list of the functions, in the order the file calls them, is appended for the runner. A loop over
# the file's `test_names`, which starts the file again as child processes to run those tests, goes
# through only in the process of the pseudo-function child_processes.
# Variables: name, the file's name as checks report it (e.g. comctl32/updown.c).
BEGIN { printf "#line 1 \"%s\"\n", name }
/^START_TEST/ { body = 1 }
body && /^}/ { body = 0 }
# Prints the statement on this line so that it runs only in the process of `fn`.
function guard(fn,    indent, rest) {
    if (!(fn in seen)) { seen[fn] = 1; order[++count] = fn }
    indent = $0
    sub(/[^ \t].*$/, "", indent)
    rest = $0
    sub(/^[ \t]+/, "", rest)
    print indent "if (winesuite_selected(\"" fn "\")) " rest
}
body && /^[ \t]+for[ \t]*\(.*test_names/ { guard("child_processes"); next }
body && match($0, /^[ \t]+test_[A-Za-z0-9_]+[ \t]*\(/) {
    call = substr($0, RSTART, RLENGTH)
    sub(/^[ \t]+/, "", call)
    sub(/[ \t]*\($/, "", call)
    guard(call)
    next
}
{ print }
END {
    print "const char *const winesuite_functions[] = {"
    for (i = 1; i <= count; i++) printf "    \"%s\",\n", order[i]
    print "    0};"
}
