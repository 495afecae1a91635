#pragma once
// The renderer's part of start-up, the frame and shutdown: choosing and opening it
// with its fallbacks, the first frames, screenshots and its console commands.

class CDataTree;

// Kind 0 unless the settings name "ogl" (first three characters, any case).
int ChooseRendererKind(const CDataTree* settings);

// Makes g_renderer of the kind and opens it: with the settings, then once more with the
// defaults. False leaves the failed object in g_renderer for the caller.
bool CreateRenderer(int kind, const CDataTree* settings);

// The kind of the settings, else the other kind when this build has it. The kind that
// opened is kept for the settings written at shutdown.
bool StartRenderer(const CDataTree* settings);
int GetRunningRendererKind();

// One empty frame, and the two black frames that clear both buffers.
void DrawEmptyFrame();
void ClearBothBuffers();

// The next free "%s/tessavar/screengrabs/Tessavar_%05u.tga" in the user folder.
bool SaveScreenshot();

// "/showtiming", "/showpolycount", "/showtextureusage", "/showperframetextureusage" and the
// variable "textureusage".
void RegisterRendererConsoleCommands();

// "r_renderer" with the kind that ran, then the renderer's own keys.
void AddRendererSettings(CDataTree& tree);

// Close and delete g_renderer.
void CloseRenderer();
