// Leak checking of this test binary. Qt Quick 6.4 keeps the textures of Image items when a
// QQuickWidget is destroyed (a plain QQuickWidget(url) showing one Image shows it), so those
// allocations are suppressed; telling them by their callers needs full stack unwinding, since the
// Qt libraries are built without frame pointers.

#if defined(__SANITIZE_ADDRESS__)
extern "C" __attribute__((visibility("default"), used)) const char *__asan_default_options()
{
    return "fast_unwind_on_malloc=0";
}

extern "C" __attribute__((visibility("default"), used)) const char *__lsan_default_suppressions()
{
    return "leak:QSGRenderContext::textureForFactory\n"
           "leak:QQuickPixmap::load\n";
}
#endif
