#pragma once
// Making the input device, as start-up and the renderer's display reset both do it:
// version 8 unless version 5 is forced, and version 5 when 8 cannot start.

class CCoreInput;

// The new device, or null with the start-up message that explains why.
CCoreInput* CreateInputDevice(bool forceDi5, void* instance, const char** failureMessage);
