#pragma once
// The readable source of a ".cas" animation: one data-tree block (any name) that
// holds, in order, blocks "sprite", "text" and "sound", one per track.
//
//   sprite {                              text {                  sound {
//     file      data\logo\logo.spr          line   Hello             file    data\beep.wav
//     group     -1      (default)           line   __SomeKey         length  75
//     length    75                          length 75                loop    false
//     position  STEP, X, Y, PLANE           font   -1 (default)      pan     STEP, PAN
//     rotation  STEP, RADIANS               position STEP, X, Y, Z   volume  STEP, VOLUME
//     scale     STEP, X, Y                  colour STEP, A, R, G, B  play    STEP, 0 or 1
//     colour    STEP, A, R, G, B          }                        }
//     frame     STEP, FRAME
//     visible   STEP, 0 or 1
//   }
//
// Every key line may come any number of times; a key list is sorted by step. A
// line NAMERamp FROM, TO, then the values at FROM, then the values at TO (for the
// float keys: position, rotation, scale, colour, pan, volume) writes one key for
// every step from FROM to TO, the values moving in a straight line.
// The source is refused, with a message, when anything would not play as written:
// an unknown name, a value that does not read, two keys at one step, a key list
// that does not begin at step 0 or has a key at or after the length, a sprite
// track without a position key, colours outside 0..255, a plane outside 0..20, a
// font outside -1..3, a volume outside 0..1 or a pan outside -1..1.

#include "presentation/CasTypes.h"

#include <string>

class CDataTree;

bool CompileCasSource(const CDataTree& source, SCasAnimation& animation, std::string& error);
// Reads the file's first block through the file layer and compiles it.
bool CompileCasSourceFile(const char* path, SCasAnimation& animation, std::string& error);
