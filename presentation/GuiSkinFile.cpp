#include "presentation/GuiSkinFile.h"

#include "core/DataTree.h"
#include "core/DefinitionProblems.h"

#include <cstdio>

namespace
{
const char* const WINDOW_PIECES[] = {"frame_tl_corner", "frame_tr_corner", "frame_bl_corner", "frame_br_corner",
                                     "frame_top",       "frame_left",      "frame_right",     "frame_bottom",
                                     "frame_closebox",  "frame_caption",   "background_color"};
const char* const TOOLTIP_PIECES[] = {"frame_tl_corner", "frame_tr_corner", "frame_bl_corner", "frame_br_corner",
                                      "frame_br_corner_sb", "frame_top", "frame_left", "frame_right",
                                      "frame_bottom", "background_color"};
const char* const ALERT_PIECES[] = {"frame_tl_corner", "frame_tr_corner", "frame_bl_corner",
                                    "frame_br_corner", "frame_top",       "frame_left",
                                    "frame_right",     "frame_bottom",    "background_color"};
const char* const CONVERSATION_PIECES[] = {"frame_tl_corner", "frame_tr_corner", "frame_bl_corner", "frame_br_corner",
                                           "frame_top",       "frame_left",      "frame_right",     "frame_bottom",
                                           "background_color", "flashy_thing"};
const char* const SOUND_KEYS[GUI_SKIN_SOUND_COUNT] = {"default_select", "default_backout", "default_incdec",
                                                      "default_navigate", "default_alert"};

constexpr int FIRST_TOOLTIP_PIECE = GUI_PIECE_TOOLTIPS;
constexpr int FIRST_ALERT_PIECE = GUI_PIECE_ALERTBOX;
constexpr int FIRST_CONVERSATION_PIECE = GUI_PIECE_CONVERSATION;
constexpr int MOUSE_NORMAL_PIECE = GUI_PIECE_MOUSE_NORMAL;
constexpr int MOUSE_WAIT_PIECE = GUI_PIECE_MOUSE_WAIT;
constexpr int LEFT_ARROW_PIECE = GUI_PIECE_LIST_LEFT_ARROW;
constexpr int RIGHT_ARROW_PIECE = GUI_PIECE_LIST_RIGHT_ARROW;

template <size_t N>
constexpr int CountOf(const char* const (&)[N])
{
    return int(N);
}

// A block of pieces, names in file order, stored from piece index first.
struct SPieceBlock
{
    const char* name;
    const char* const* pieces;
    int count;
    int first;
};

const SPieceBlock OPTIONAL_BLOCKS[] = {
    {"tooltips", TOOLTIP_PIECES, CountOf(TOOLTIP_PIECES), FIRST_TOOLTIP_PIECE},
    {"alertbox", ALERT_PIECES, CountOf(ALERT_PIECES), FIRST_ALERT_PIECE},
    {"conversation", CONVERSATION_PIECES, CountOf(CONVERSATION_PIECES), FIRST_CONVERSATION_PIECE},
};

bool ReadPiece(const CDataTree& block, const char* key, SGuiSkinPiece& piece, CDefinitionProblems& problems)
{
    float values[4];
    if (!block.GetVec4(key, values))
    {
        if (block.FindChild(key))
            problems.AddFatal(block.FindChild(key), "\"%s\" is not four numbers \"x, y, w, h\"", key);
        else
            problems.AddMissingKey(&block, key);
        return false;
    }
    piece = SGuiSkinPiece{values[0], values[1], values[2], values[3]};
    return true;
}

bool ReadPieceBlock(const CDataTree& block, const SPieceBlock& layout, SGuiSkinDefinition& out,
                    CDefinitionProblems& problems)
{
    for (int i = 0; i < layout.count; ++i)
        if (!ReadPiece(block, layout.pieces[i], out.pieces[layout.first + i], problems))
            return false;
    return true;
}

// A block that must be there.
bool ReadRequiredBlock(const CDataTree& root, const SPieceBlock& layout, SGuiSkinDefinition& out,
                       CDefinitionProblems& problems)
{
    const CDataTree* block = root.FindBlock(layout.name);
    if (!block)
    {
        problems.AddFatal(&root, "missing block \"%s\"", layout.name);
        return false;
    }
    return ReadPieceBlock(*block, layout, out, problems);
}

// A block that may be left out; present says whether it was there.
bool ReadOptionalBlock(const CDataTree& root, const SPieceBlock& layout, SGuiSkinDefinition& out, bool& present,
                       CDefinitionProblems& problems)
{
    const CDataTree* block = root.FindBlock(layout.name);
    present = block != nullptr;
    return !block || ReadPieceBlock(*block, layout, out, problems);
}

void ReadOptionalString(const CDataTree& root, const char* key, std::string& out)
{
    char text[260];
    if (root.GetString(key, text, sizeof(text)))
        out = text;
}
} // namespace

std::string GetGuiSkinTexturePath(const char* name)
{
    return std::string("data/gui/") + (name ? name : "") + ".tga";
}

std::string GetGuiSkinDefinitionPath(const char* name)
{
    return std::string("data/gui/") + (name ? name : "") + ".skin";
}

bool ReadGuiSkinSizes(const CDataTree& root, SGuiSkinSizes& sizes, CDefinitionProblems& problems)
{
    struct SSizeKey
    {
        const char* key;
        int32_t SGuiSkinSizes::*field;
        bool required;
    };
    static const SSizeKey KEYS[] = {
        {"tooltip_borderwidth", &SGuiSkinSizes::tooltipBorderWidth, false},
        {"tooltip_borderheight", &SGuiSkinSizes::tooltipBorderHeight, false},
        {"tooltip_frame_br_sb_xsize", &SGuiSkinSizes::tooltipSpeechBubbleWidth, false},
        {"tooltip_frame_br_sb_ysize", &SGuiSkinSizes::tooltipSpeechBubbleHeight, false},
        {"alertbox_borderwidth", &SGuiSkinSizes::alertBorderWidth, false},
        {"alertbox_borderheight", &SGuiSkinSizes::alertBorderHeight, false},
        {"windowborderwidth", &SGuiSkinSizes::windowBorderWidth, true},
        {"windowborderheight", &SGuiSkinSizes::windowBorderHeight, true},
        {"buttonborderwidth", &SGuiSkinSizes::buttonBorderWidth, true},
        {"buttonborderheight", &SGuiSkinSizes::buttonBorderHeight, true},
        {"windowcaptionheight", &SGuiSkinSizes::windowCaptionHeight, true},
        {"closeboxwidth", &SGuiSkinSizes::closeBoxWidth, true},
        {"closeboxheight", &SGuiSkinSizes::closeBoxHeight, true},
        {"conversationborderwidth", &SGuiSkinSizes::conversationBorderWidth, true},
        {"conversationborderheight", &SGuiSkinSizes::conversationBorderHeight, true},
        {"conversationflashythingwidth", &SGuiSkinSizes::conversationFlashyWidth, true},
        {"conversationflashythingheight", &SGuiSkinSizes::conversationFlashyHeight, true},
        {"listbuttonarrowwidth", &SGuiSkinSizes::listButtonArrowWidth, true},
    };
    sizes = SGuiSkinSizes();
    for (const SSizeKey& key : KEYS)
        if (!root.GetInt(key.key, sizes.*key.field) && key.required)
        {
            problems.AddMissingKey(&root, key.key);
            return false;
        }
    return true;
}

bool ReadGuiSkinDefinition(const CDataTree& root, SGuiSkinDefinition& out, CDefinitionProblems& problems)
{
    out = SGuiSkinDefinition();
    for (int set = 0; set < 4; ++set)
    {
        char name[16];
        std::snprintf(name, sizeof(name), "window%d", set);
        const SPieceBlock layout{name, WINDOW_PIECES, CountOf(WINDOW_PIECES), set * CountOf(WINDOW_PIECES)};
        if (!ReadRequiredBlock(root, layout, out, problems))
            return false;
    }
    if (!ReadOptionalBlock(root, OPTIONAL_BLOCKS[0], out, out.hasTooltips, problems) ||
        !ReadOptionalBlock(root, OPTIONAL_BLOCKS[1], out, out.hasAlertBox, problems) ||
        !ReadPiece(root, "mouse_normal", out.pieces[MOUSE_NORMAL_PIECE], problems) ||
        !ReadPiece(root, "mouse_wait", out.pieces[MOUSE_WAIT_PIECE], problems) ||
        !ReadOptionalBlock(root, OPTIONAL_BLOCKS[2], out, out.hasConversation, problems) ||
        !ReadPiece(root, "listbutton_leftarrow", out.pieces[LEFT_ARROW_PIECE], problems) ||
        !ReadPiece(root, "listbutton_rightarrow", out.pieces[RIGHT_ARROW_PIECE], problems) ||
        !ReadGuiSkinSizes(root, out.sizes, problems))
        return false;

    ReadOptionalString(root, "systemfont", out.systemFont);
    for (int n = 0; n < GUI_SKIN_FONT_COUNT; ++n)
    {
        SGuiSkinFont& font = out.fonts[n];
        char key[32];
        std::snprintf(key, sizeof(key), "font%d", n);
        font.named = root.FindValue(key) != nullptr;
        ReadOptionalString(root, key, font.name);
        std::snprintf(key, sizeof(key), "numberspacefixup%d", n);
        root.GetInt(key, font.numberSpaceFixup);
        std::snprintf(key, sizeof(key), "verticalspacefixup%d", n);
        root.GetInt(key, font.verticalSpaceFixup);
        std::snprintf(key, sizeof(key), "defaultverticalfudge%d", n);
        root.GetInt(key, font.defaultVerticalFudge);
    }
    for (int n = 0; n < GUI_SKIN_SOUND_COUNT; ++n)
        ReadOptionalString(root, SOUND_KEYS[n], out.sounds[n]);
    return true;
}

bool CheckGuiSkinPieces(const SGuiSkinDefinition& skin, int32_t width, int32_t height, std::string& reason)
{
    if (width <= 0 || height <= 0)
    {
        reason = "the skin texture has no pixels";
        return false;
    }
    for (int i = 0; i < GUI_PIECE_COUNT; ++i)
    {
        const SGuiSkinPiece& p = skin.pieces[i];
        // Written so that a NaN fails too.
        bool inside = p.x >= 0.0f && p.y >= 0.0f && p.w >= 0.0f && p.h >= 0.0f && p.x + p.w <= float(width) &&
                      p.y + p.h <= float(height);
        if (!inside)
        {
            char text[200];
            std::snprintf(text, sizeof(text), "piece %s (%g, %g, %g, %g) lies outside the %d x %d texture",
                          GetGuiSkinPieceName(i).c_str(), double(p.x), double(p.y), double(p.w), double(p.h),
                          int(width), int(height));
            reason = text;
            return false;
        }
    }
    return true;
}

std::string GetGuiSkinPieceName(int piece)
{
    if (piece < 0 || piece >= GUI_PIECE_COUNT)
        return "?";
    if (piece < FIRST_TOOLTIP_PIECE)
    {
        const int per = CountOf(WINDOW_PIECES);
        return "window" + std::to_string(piece / per) + "." + WINDOW_PIECES[piece % per];
    }
    for (const SPieceBlock& block : OPTIONAL_BLOCKS)
        if (piece >= block.first && piece < block.first + block.count)
            return std::string(block.name) + "." + block.pieces[piece - block.first];
    switch (piece)
    {
    case MOUSE_NORMAL_PIECE:
        return "mouse_normal";
    case MOUSE_WAIT_PIECE:
        return "mouse_wait";
    case LEFT_ARROW_PIECE:
        return "listbutton_leftarrow";
    default:
        return "listbutton_rightarrow";
    }
}
