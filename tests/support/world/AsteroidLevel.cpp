#include "tests/support/world/AsteroidLevel.h"

#include <cstdio>

std::vector<SAsteroidDefText> MakeStandardDefs()
{
    std::vector<SAsteroidDefText> defs;
    auto add = [&](const char* type, int mass, int health, int velLimit, int frame, float radius) {
        SAsteroidDefText def;
        def.type = type;
        def.mass = mass;
        def.health = health;
        def.velLimit = velLimit;
        def.frame = frame;
        def.radius = radius;
        defs.push_back(def);
    };
    add("small", 2, 2, 120, 32, 16);
    add("small", 3, 2, 120, 32, 16);
    add("medium", 10, 5, 80, 64, 32);
    add("medium", 10, 5, 80, 64, 32);
    add("large", 30, 10, 40, 128, 64);
    add("large", 30, 10, 40, 128, 64);
    for (const char* gem : {"normalGem", "normalGemLarge", "rareGem", "rareGemLarge", "veryRareGem", "veryRareGemLarge"})
        add(gem, 1, 3, 0, 16, 8);
    add("explosive", 10, 5, 80, 64, 32);
    for (const char* special : {"crewSite", "crewMan", "wreckPod", "drivePod", "friendlyAlienStation",
                                "brokenAlienStation", "friendlyAlien", "equipmentPod"})
        add(special, 5, 20, 60, 48, 24);
    return defs;
}

std::string MakeAsteroidSection(const std::vector<SAsteroidDefText>& defs, float siteRadius)
{
    std::string text = "ASTEROID_DEFS\n{\n\tnumDefs\t" + std::to_string(defs.size()) + "\n";
    char line[512];
    for (size_t i = 0; i < defs.size(); ++i)
    {
        const SAsteroidDefText& def = defs[i];
        std::snprintf(line, sizeof(line),
                      "\tdef%zu\n\t{\n\t\ttype\t%s\n\t\tminRotSec\t%d\n\t\tmaxRotSec\t%d\n\t\tmass\t%d\n\t\thealth\t%d\n"
                      "\t\tvelLimit\t%d\n\t\tinertialDampening\t0.99\n\t\tscale\t%g, %g\n",
                      i, def.type.c_str(), def.minRotSec, def.maxRotSec, def.mass, def.health, def.velLimit,
                      def.scale, def.scale);
        text += line;
        if (!def.deathEffect.empty())
            text += "\t\tdeathEffect\t" + def.deathEffect + "\n";
        if (!def.contactEffect.empty())
            text += "\t\tcollisionContactEffect\t" + def.contactEffect + "\n";
        std::snprintf(line, sizeof(line),
                      "\t\tsprite\n\t\t{\n\t\t\tspriteFile\tdummy\n\t\t\twidth\t%d\n\t\t\theight\t%d\n\t\t\tnumFrames\t8\n"
                      "\t\t}\n\t\tcollision\n\t\t{\n\t\t\tnumObj\t2\n"
                      "\t\t\tc0\n\t\t\t{\n\t\t\t\ttype\trootCircle\n\t\t\t\tradius\t%g\n\t\t\t\toffset\t0, 0\n\t\t\t}\n"
                      "\t\t\tc1\n\t\t\t{\n\t\t\t\ttype\tcircle\n\t\t\t\tradius\t%g\n\t\t\t\toffset\t0, 0\n\t\t\t}\n"
                      "\t\t}\n\t}\n",
                      def.frame, def.frame, def.radius, def.radius - 1.0f);
        text += line;
    }
    std::snprintf(line, sizeof(line),
                  "\tspawnSites\n\t{\n\t\tnumSites\t1\n\t\tsite0\n\t\t{\n\t\t\trandomVel\tno\n\t\t\tinitVelMin\t0, 0\n"
                  "\t\t\tinitVelMax\t0, 0\n\t\t\tcentre\t0.5, 0.5\n\t\t\tradius\t%g\n\t\t}\n\t}\n}\n",
                  siteRadius);
    return text + line;
}

std::string MakeAsteroidLevel(const std::vector<SAsteroidDefText>& defs, int totalMass, float chanceOfGems,
                              float siteRadius, int worldWidth)
{
    char level[512];
    std::snprintf(level, sizeof(level),
                  "LEVEL\n{\n\tworldWidth\t%d\n\ttreeDepth\t5\n\ttotalAsteroidMass\t%d\n\tratioSmall\t0.505\n"
                  "\tratioMedium\t0.855\n\tratioLarge\t1.0\n\tchanceOfGems\t%g\n\tviewLag\t1.0\n}\n",
                  worldWidth, totalMass, chanceOfGems);
    return level + MakeAsteroidSection(defs, siteRadius);
}
