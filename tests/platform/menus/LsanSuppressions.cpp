// The suppressions of tools/lsan.supp built into this binary, so that it passes however it is run: what SDL
// and the session bus keep for good from the start of SDL's video.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libSDL2-2.0.so\nleak:libdbus-1.so\n";
}
