#include "cli/Cli.h"
#include "testfile/FileIo.h"

#include <cerrno>
#include <iostream>

int main(int argc, char** argv)
{
    std::ios::sync_with_stdio(false);
    // An interrupted or size-limited write leaves the old file and no
    // temporary file behind.
    mirvane::RemoveTemporaryFilesOnInterrupt();
    std::vector<std::string> args(argv + 1, argv + argc);
    int status = mirvane::RunCli(args, std::cout, std::cerr);
    errno = 0;
    std::cout.flush();
    // Lines lost on the way (a full disk) leave the caller without the
    // report: that must not pass for success.
    if (!std::cout) {
        std::cerr << "Не удалось записать стандартный вывод: " << mirvane::ErrorReason(errno ? errno : EIO) << '\n';
        status = 2;
    }
    std::cerr.flush();
    return status;
}
