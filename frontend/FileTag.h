#pragma once
// The tags that mark the blocks and versions of the game's binary files ("CRC", "V_3",
// "V4e", "V14", "DMH"): a 32-bit 4, the three letters and a NUL, as a string of the
// file layer is stored.

class CFileInterface;

bool WriteFileTag(CFileInterface& file, const char* letters);
// True, with the tag read, when the stream holds a 4 and the letters at its position;
// otherwise the stream is left where it stood (an older file without the tag).
bool ReadFileTag(CFileInterface& file, const char* letters);
