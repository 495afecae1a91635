#include "tests/ships/DockingFixtures.h"

#include "core/DataFile.h"
#include "tests/support/SpriteFiles.h"

#include <vector>

#include <cstdio>

std::string PortText(const std::string& name, float pushOnExit, const std::string& extra, int tagCount,
                     const std::string& spriteFile)
{
    char push[32];
    std::snprintf(push, sizeof(push), "%g", static_cast<double>(pushOnExit));
    const std::string tag = tagCount > 1 ? "D000" : "DOOR";
    // The given lines come first: the getters take the first of a name.
    return name + "\n{\n" + extra +
           "anims\n{\n"
                  "sprites\n{\n"
                  "numSpriteDefs 1\n"
                  "def0\n{\nspriteFile " + spriteFile + "\n}\n"
                  "numSprites 2\n"
                  "sinst0\n{\ndefIdx 0\ncollisionTag " +
           tag + "\nnumCollisionTags " + std::to_string(tagCount) +
           "\n}\n"
           "sinst1\n{\ndefIdx 0\n}\n"
           "}\n"
           "numPaths 3\n"
           "path0\n{\nrelative true\nstartForwards true\nnumWP 2\nwp0 -16, -40, 160, 1\nwp1 16, -40, 160, 1\n}\n"
           "path1\n{\nrelative true\nstartForwards true\nnumWP 2\nwp0 0, 0, 250, 1\nwp1 0, -100, 250, 1\n}\n"
           "path2\n{\nrelative true\nstartForwards true\nnumWP 2\nwp0 0, -30, 25, 1\nwp1 0, -31, 25, 1\n}\n"
           "numAnims 3\n"
           "anim0\n{\nfirstSpriteId 0\nnumSprites 1\npathId 0\n}\n"
           "anim1\n{\npathId 1\n}\n"
           "anim2\n{\nfirstSpriteId 1\nnumSprites 1\npathId 2\n}\n"
           "}\n"
           "openAnimIdx 0\nnumOpenAnims 1\n"
           "openStandbyAnimIdx 2\nnumOpenStandbyAnims 1\n"
           "objEntranceAnimIdx 1\n"
           "objCatchment 0, -100\n"
           "pushOnExit " +
           push + "\n}\n";
}

std::unique_ptr<CDataTree> ParseBlock(const std::string& text)
{
    CDataNodeList nodes;
    ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes);
    for (std::unique_ptr<CDataNode>& node : nodes)
        if (node->IsBlock())
            return std::unique_ptr<CDataTree>(static_cast<CDataTree*>(node.release()));
    return nullptr;
}

CTestSpriteFile::CTestSpriteFile()
{
    std::vector<uint8_t> bytes;
    if (WriteSpriteFile(MakeSpriteData(2, spritefile::kStorageRaw), bytes))
        m_dir.WriteFile("test.spr", std::string(bytes.begin(), bytes.end()));
    m_path = m_dir.Join("test.spr");
}
