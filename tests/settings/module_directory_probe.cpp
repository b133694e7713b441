// Writes what GetModuleDirectory reports, with and then without the separator, to the file
// named on the command line.
#include <windows.h>

#include <cstdio>

#include "settings/window_utils.h"

int main(int argc, char** argv) {
    if (argc < 2) return 2;
    char with[MAX_PATH];
    char without[MAX_PATH];
    GetModuleDirectory(with, 1);
    GetModuleDirectory(without, 0);
    FILE* out = fopen(argv[1], "wb");
    if (!out) return 1;
    fprintf(out, "%s\n%s\n", with, without);
    return fclose(out) == 0 ? 0 : 1;
}
