#include "cli/Cli.h"
#include "testfile/FileIo.h"

#include <iostream>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    // An interrupted or size-limited write leaves the old file and no
    // temporary file behind.
    mirvane::RemoveTemporaryFilesOnInterrupt();
    std::vector<std::string> args(argv + 1, argv + argc);
    const int status = mirvane::RunCli(args, std::cout, std::cerr);
    std::cout.flush();
    std::cerr.flush();
    return status;
}
