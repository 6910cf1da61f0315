// TrRecorder.cpp - a tiny program the launch tests start: it writes its
// working folder and its arguments to the file named by the environment
// variable TR_RECORDER_OUT, then ends.
#include <windows.h>

#include <cstdio>

int main(int argc, char** argv) {
    char out[MAX_PATH] = "", cwd[MAX_PATH] = "", temp[MAX_PATH + 8];
    if (!::GetEnvironmentVariableA("TR_RECORDER_OUT", out, MAX_PATH)) return 2;
    ::GetCurrentDirectoryA(MAX_PATH, cwd);
    // Written to a side file and renamed, so a reader never sees half a record.
    std::snprintf(temp, sizeof(temp), "%s.tmp", out);
    FILE* f = std::fopen(temp, "wb");
    if (!f) return 3;
    std::fprintf(f, "cwd=%s\n", cwd);
    for (int i = 0; i < argc; ++i) std::fprintf(f, "arg%d=%s\n", i, argv[i]);
    std::fclose(f);
    return ::MoveFileExA(temp, out, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
