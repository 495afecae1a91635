#pragma once
// Level texts with asteroid definitions for the world's tests. Pictures are "dummy"
// sprites whose frame size and count the definitions give, so no sprite file is needed.

#include <string>
#include <vector>

struct SAsteroidDefText
{
    std::string type;
    int mass = 1;
    int health = 1;
    int velLimit = 0;
    int frame = 32;        // frame width and height
    float radius = 16.0f;  // root circle (the inner circle is 1 smaller)
    std::string deathEffect;
    std::string contactEffect;
    int minRotSec = 90;
    int maxRotSec = 90;
    float scale = 1.0f;
};

// The kinds of every test level: two entries of each rock (size 0 the restrained
// one), one of each gem, the explosive rock and each special object.
std::vector<SAsteroidDefText> MakeStandardDefs();

// A LEVEL section (world 4000, the given mass and ratios, chanceOfGems) and an
// ASTEROID_DEFS section with the definitions and one spawn site at the centre.
std::string MakeAsteroidLevel(const std::vector<SAsteroidDefText>& defs, int totalMass = 400,
                              float chanceOfGems = 0.5f, float siteRadius = 0.4f, int worldWidth = 4000);

// The ASTEROID_DEFS section alone.
std::string MakeAsteroidSection(const std::vector<SAsteroidDefText>& defs, float siteRadius = 0.4f);
