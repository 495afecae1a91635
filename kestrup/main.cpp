// kestrup: unpacks the resource pack "TessavarSprites.pak" of the current folder
// (the game's program folder) into the game's patch pack "tessavar.001".

#include "kestrup/KestrupApp.h"

#include <cstdio>
#include <malloc.h>

int main(int argc, char** argv)
{
    // It takes no arguments: whatever a user meant by one ("--help", a file name), a
    // run would replace tessavar.001 and delete the resource pack, so nothing is done.
    if (argc > 1)
    {
        std::fprintf(stderr,
                     "%s: unexpected argument '%s'\n"
                     "usage: kestrup\n"
                     "Run in the game's program folder, it unpacks the resource pack TessavarSprites.pak into\n"
                     "the patch pack tessavar.001, then deletes the resource pack and Tessavar.002. It takes no\n"
                     "arguments; KESTRUP_HEADLESS=1 writes plain log lines instead of a progress bar.\n",
                     argv[0], argv[1]);
        return 2;
    }
    // Decoded pictures are large and short-lived, and converting threads free them
    // in turn: such blocks are mapped and unmapped on their own instead of staying
    // in a heap arena of the thread that freed them.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    CKestrupApp app;
    return app.InitInstance(SKestrupOptions());
}
