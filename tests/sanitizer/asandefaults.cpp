// Built into every test of a sanitizer build, so that a test run by hand with
// ASAN_OPTIONS of its own still has it: GCC 12's leak check mistakes a
// run-time-loaded library's thread-local block for an old glibc's and scans
// from a bogus address at exit (libjpeg's, under Qt's JPEG plugin). Options
// named in ASAN_OPTIONS override these.
extern "C" const char *__asan_default_options()
{
    return "intercept_tls_get_addr=0";
}

// D-Bus keeps a buffer of its connection to the session bus until the process
// ends, when Qt's accessibility bridge talks to one (a desktop with at-spi):
// not the program's.
extern "C" const char *__lsan_default_suppressions()
{
    return "leak:libdbus-1.so\n";
}
