// The address sanitizer keeps freed memory in a quarantine of up to 256 MB,
// which shows as resident memory: this program measures what the live path
// holds, so freed memory is given back at once.
#if defined(__has_feature)
#if __has_feature(address_sanitizer)
extern "C" const char* __asan_default_options()
{
    return "quarantine_size_mb=0";
}
#endif
#endif
