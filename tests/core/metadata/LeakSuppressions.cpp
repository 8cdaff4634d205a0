// GLib's type system and GStreamer's registry, started by the media date reader, keep allocations
// for the life of the process that they never free; they are no leaks of ours.
extern "C" const char* __lsan_default_suppressions()
{
    return "leak:libglib-2.0.so\nleak:libgst\n";
}
