// DllUnregisterServer of a shared library that the tests install and uninstall: it appends a
// line to the file named by UNINSTALL_TEST_MARK, as proof that it was called.
#include <cstdio>
#include <cstdlib>

extern "C" __attribute__((visibility("default"))) int DllUnregisterServer()
{
    const char *mark = std::getenv("UNINSTALL_TEST_MARK");
    if (!mark)
        return 1;
    std::FILE *file = std::fopen(mark, "a");
    if (!file)
        return 1;
    std::fputs("unregistered\n", file);
    std::fclose(file);
    return 0;
}
