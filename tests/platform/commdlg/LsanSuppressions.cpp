// What SDL and the session bus keep for good from the start of SDL's video, in the screenshot's child
// process, suppressed in this binary so that it passes however it is run.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libSDL2-2.0.so\nleak:libdbus-1.so\n";
}
