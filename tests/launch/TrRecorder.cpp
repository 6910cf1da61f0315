// TrRecorder.cpp - a tiny program the launch tests start: it writes its
// working folder, its command line and its arguments to the file named by the
// environment variable TR_RECORDER_OUT, then ends.
#include <windows.h>

#include <cstdio>
#include <cstdlib>

int main(int argc, char** argv) {
    char out[MAX_PATH] = "";
    if (!::GetEnvironmentVariableA("TR_RECORDER_OUT", out, MAX_PATH)) return 2;
    char cwd[MAX_PATH] = "";
    ::GetCurrentDirectoryA(MAX_PATH, cwd);
    // Written to a side file and renamed, so a reader never sees half a record.
    char temp[MAX_PATH + 8];
    std::snprintf(temp, sizeof(temp), "%s.tmp", out);
    FILE* f = std::fopen(temp, "wb");
    if (!f) return 3;
    std::fprintf(f, "cwd=%s\n", cwd);
    for (int i = 0; i < argc; ++i) std::fprintf(f, "arg%d=%s\n", i, argv[i]);
    std::fclose(f);
    return ::MoveFileExA(temp, out, MOVEFILE_REPLACE_EXISTING) ? 0 : 4;
}
