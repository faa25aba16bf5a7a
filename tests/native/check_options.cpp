// The checks' settings, built into every program of the native build so that no run needs them in
// its environment: a report of undefined behaviour shows the calls that led there. (Leaks are
// reported by default.)
extern "C" const char* __ubsan_default_options() {
    return "print_stacktrace=1";
}
