// Stands in for the web browser while a test watches which page of the
// manual Retrace opens: adds the page it is given to the file named first.
// A windows program, so that no console shows while it runs.

#include <windows.h>

#include <cstdio>
#include <cstdlib>

int WINAPI WinMain(HINSTANCE, HINSTANCE, LPSTR, int) {
    if (__argc < 3) return 1;
    FILE* pages = std::fopen(__argv[1], "a");
    if (!pages) return 1;
    std::fprintf(pages, "%s\n", __argv[2]);
    std::fclose(pages);
    return 0;
}
