// Preloaded into mirvane-cli by a test: a file's flush to disk waits for a
// signal, so that the test can interrupt a write while its temporary file
// exists.
#include <unistd.h>

extern "C" int fsync(int)
{
    pause();
    return 0;
}
