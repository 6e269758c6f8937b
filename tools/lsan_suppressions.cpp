// Built into every program and test under -DSANITIZE=ON: memory that system
// libraries allocate once and never free (their own leaks, not this code's).
// Those libraries keep no frame pointers, so stacks are taken the slow way
// for the suppressions to see the library's entry point.
extern "C" const char* __asan_default_options() { return "fast_unwind_on_malloc=0"; }
extern "C" const char* __lsan_default_suppressions() {
    return "leak:FcInitLoadConfigAndFonts\n"  // fontconfig's configuration parser
           "leak:libdbus-1.so\n";             // the session bus the window system opens
}
