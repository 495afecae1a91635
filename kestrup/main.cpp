// kestrup: unpacks the resource pack "TessavarSprites.pak" of the current folder
// (the game's program folder) into the game's patch pack "tessavar.001".

#include "kestrup/KestrupApp.h"

#include <malloc.h>

int main()
{
    // Decoded pictures are large and short-lived, and converting threads free them
    // in turn: such blocks are mapped and unmapped on their own instead of staying
    // in a heap arena of the thread that freed them.
    mallopt(M_MMAP_THRESHOLD, 256 * 1024);
    CKestrupApp app;
    return app.InitInstance(SKestrupOptions());
}
