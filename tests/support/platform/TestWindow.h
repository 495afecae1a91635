#pragma once
// A renderer opened for a test picture: in a window of 640 x 480 back-buffer pixels.

class CRenderer;

bool OpenTestWindow(CRenderer& renderer);
