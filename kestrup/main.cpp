// kestrup: unpacks the resource pack "TessavarSprites.pak" of the current folder
// (the game's program folder) into the game's patch pack "tessavar.001".

#include "kestrup/KestrupApp.h"

int main()
{
    CKestrupApp app;
    return app.InitInstance(SKestrupOptions());
}
