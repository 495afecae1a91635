#include "tests/presentation/GuiSkinText.h"

#include <sstream>
#include <vector>

namespace
{
const std::vector<std::string> WINDOW = {"frame_tl_corner", "frame_tr_corner", "frame_bl_corner", "frame_br_corner",
                                         "frame_top",       "frame_left",      "frame_right",     "frame_bottom",
                                         "frame_closebox",  "frame_caption",   "background_color"};
const std::vector<std::string> TOOLTIPS = {"frame_tl_corner", "frame_tr_corner", "frame_bl_corner",
                                           "frame_br_corner", "frame_br_corner_sb", "frame_top",
                                           "frame_left",      "frame_right",     "frame_bottom",
                                           "background_color"};
const std::vector<std::string> ALERT = {"frame_tl_corner", "frame_tr_corner", "frame_bl_corner",
                                        "frame_br_corner", "frame_top",       "frame_left",
                                        "frame_right",     "frame_bottom",    "background_color"};
const std::vector<std::string> CONVERSATION = {"frame_tl_corner", "frame_tr_corner", "frame_bl_corner",
                                               "frame_br_corner", "frame_top",       "frame_left",
                                               "frame_right",     "frame_bottom",    "background_color",
                                               "flashy_thing"};

std::string Piece(int& k)
{
    std::ostringstream out;
    out << 16 * (k % 8) << ", " << 16 * (k / 8) << ", 8, 6";
    ++k;
    return out.str();
}

void Block(std::ostringstream& out, const std::string& name, const std::vector<std::string>& pieces, int& k)
{
    out << "\t" << name << "\n\t{\n";
    for (const std::string& piece : pieces)
        out << "\t\t" << piece << "\t" << Piece(k) << "\n";
    out << "\t}\n";
}
} // namespace

std::string MakeSkinText()
{
    std::ostringstream out;
    int k = 0;
    out << "skin\n{\n";
    for (int n = 0; n < 4; ++n)
        Block(out, "window" + std::to_string(n), WINDOW, k);
    Block(out, "tooltips", TOOLTIPS, k);
    out << "\ttooltip_borderwidth 2\n\ttooltip_borderheight 3\n"
           "\ttooltip_frame_br_sb_xsize 12\n\ttooltip_frame_br_sb_ysize 13\n";
    Block(out, "alertbox", ALERT, k);
    out << "\talertbox_borderwidth 5\n\talertbox_borderheight 4\n";
    Block(out, "conversation", CONVERSATION, k);
    out << "\tmouse_normal\t" << Piece(k) << "\n";
    out << "\tmouse_wait\t" << Piece(k) << "\n";
    out << "\tlistbutton_leftarrow\t" << Piece(k) << "\n";
    out << "\tlistbutton_rightarrow\t" << Piece(k) << "\n";
    out << "\twindowborderwidth 4\n\twindowborderheight 5\n\tbuttonborderwidth 3\n\tbuttonborderheight 2\n"
           "\twindowcaptionheight 12\n\tcloseboxwidth 9\n\tcloseboxheight 8\n"
           "\tconversationborderwidth 6\n\tconversationborderheight 7\n"
           "\tconversationflashythingwidth 10\n\tconversationflashythingheight 11\n"
           "\tlistbuttonarrowwidth 14\n";
    out << "\tsystemfont sysfont\n\tfont0 f0\n\tnumberspacefixup0 1\n\tverticalspacefixup0 2\n"
           "\tdefaultverticalfudge0 3\n\tfont1 f1\n";
    out << "\tdefault_select sel.wav\n\tdefault_alert alert.wav\n";
    out << "}\n";
    return out.str();
}

std::string RemoveSkinKey(const std::string& text, const std::string& block, const std::string& key)
{
    std::istringstream in(text);
    std::ostringstream out;
    std::string line;
    int depth = 0;
    bool inBlock = false;
    bool removing = false; // inside the block being removed whole
    bool done = false;
    std::string previousName;
    while (std::getline(in, line))
    {
        std::string trimmed = line.substr(line.find_first_not_of(" \t") == std::string::npos
                                              ? line.size()
                                              : line.find_first_not_of(" \t"));
        std::string name = trimmed.substr(0, trimmed.find_first_of(" \t"));
        if (trimmed == "{")
        {
            ++depth;
            if (depth == 2 && previousName == block)
            {
                inBlock = true;
                removing = key.empty() && !done;
            }
        }
        bool drop = false;
        if (!done)
        {
            if (removing)
                drop = true;
            else if (key.empty() && depth == 1 && name == block && !block.empty())
                drop = true; // the block's name line
            else if (!key.empty() && name == key && ((block.empty() && depth == 1) || (inBlock && depth == 2)))
            {
                drop = true;
                done = true;
            }
        }
        if (trimmed == "}")
        {
            if (depth == 2 && inBlock)
            {
                inBlock = false;
                if (removing)
                    done = true;
                removing = false;
            }
            --depth;
        }
        if (!drop)
            out << line << "\n";
        previousName = name;
    }
    return out.str();
}
