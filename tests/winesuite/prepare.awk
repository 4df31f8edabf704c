# Turns one of Wine's test files into one our harness runs a function at a time. Within the file's
# START_TEST body, each statement that calls a test function, `test_x(...);`, goes through only
# in the process that runs test_x; everything else there (the shared set-up) runs in every process.
# Lines keep their numbers, so a check is named by the same file:line as in Wine's source, and the
# list of the functions, in the order the file calls them, is appended for the runner.
# Variables: name, the file's name as checks report it (e.g. comctl32/updown.c).
BEGIN { printf "#line 1 \"%s\"\n", name }
/^START_TEST/ { body = 1 }
body && /^}/ { body = 0 }
body && match($0, /^[ \t]+test_[A-Za-z0-9_]+[ \t]*\(/) {
    call = substr($0, RSTART, RLENGTH)
    sub(/^[ \t]+/, "", call)
    sub(/[ \t]*\($/, "", call)
    if (!(call in seen)) { seen[call] = 1; order[++count] = call }
    indent = $0
    sub(/[^ \t].*$/, "", indent)
    rest = $0
    sub(/^[ \t]+/, "", rest)
    print indent "if (winesuite_selected(\"" call "\")) " rest
    next
}
{ print }
END {
    print "const char *const winesuite_functions[] = {"
    for (i = 1; i <= count; i++) printf "    \"%s\",\n", order[i]
    print "    0};"
}
