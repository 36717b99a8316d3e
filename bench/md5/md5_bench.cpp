// Times Utils::FileMd5 on one file: "md5_bench PATH RUNS" prints the digest and the
// best time in seconds of RUNS runs, so the script can set it beside md5sum.
#include <windows.h>

#include <cstdio>
#include <cstdlib>
#include <string>

#include "utils/file_md5.h"

int main(int argc, char** argv) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: md5_bench PATH [RUNS]\n");
        return 2;
    }
    const std::string path = argv[1];
    const int runs = argc > 2 ? std::atoi(argv[2]) : 3;
    LARGE_INTEGER frequency;
    ::QueryPerformanceFrequency(&frequency);
    double best = 0;
    std::string digest;
    for (int run = 0; run < runs; ++run) {
        LARGE_INTEGER start, end;
        ::QueryPerformanceCounter(&start);
        digest = Utils::FileMd5(path);
        ::QueryPerformanceCounter(&end);
        const double seconds = double(end.QuadPart - start.QuadPart) / double(frequency.QuadPart);
        if (run == 0 || seconds < best) best = seconds;
    }
    if (digest.empty()) {
        std::fprintf(stderr, "cannot read %s\n", path.c_str());
        return 1;
    }
    std::printf("%s %.6f\n", digest.c_str(), best);
    return 0;
}
