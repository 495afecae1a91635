// Text pages: the file reader, typing with its tags, completing and turning pages by
// the select action and the 500 ms key delay, the lines that scroll away, and the
// manager's slots and errors. Fonts of the GUI fixture: every glyph 10 pixels high;
// a space advances 4, "W" 10, "i" 3, every other character 6. Font 1 ("f1") has no
// vertical-space fix-up; the skin's conversation border is 6 x 7.

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "presentation/TextPageManager.h"
#include "tests/presentation/GuiControlFixture.h"
#include "tests/support/core/StringTableFixture.h"

#include <climits>
#include <string>
#include <vector>

namespace
{
const char* const STRINGS = "[English]\n"
                            "Greeting = aaa bbb ccc | greeting.ogg\n"
                            "0x12000004 = ddd eee\n";

// The close callbacks that ran: (user value, handle).
std::vector<std::pair<uint32_t, int>> s_closed;

void Closed(uint32_t userValue, int handle);

class TextPageTest : public CGuiControlTest
{
protected:
    void SetUp() override
    {
        CGuiControlTest::SetUp();
        std::string error;
        ASSERT_TRUE(LoadStringTableSource(STRINGS, m_strings, error)) << error;
        m_savedStrings = g_stringTable;
        g_stringTable = &m_strings;
        m_folder.WritePage("pic1.tga", 20, 16);
        m_folder.WritePage("pic2.tga", 24, 12);
        m_pages = std::make_unique<CTextPageManager>(*m_gui);
        s_closed.clear();
    }
    void TearDown() override
    {
        m_pages.reset();
        g_stringTable = m_savedStrings;
        CGuiControlTest::TearDown();
    }

    // A page file of the given pages ("page0 { ... }" blocks) at x 100, y 300,
    // width 200, picture height 20 and text height 50 in font 1: 50 / 10 - 1 = 4
    // lines stay visible behind the one being typed.
    std::string WriteFile(const std::string& name, const std::string& pages, const std::string& head = "")
    {
        const std::string text = "chat\n{\n\tPrecacheImages\n\t{\n\t\t1\tdata/gui/pic1.tga\n\t\t2\tdata/gui/pic2.tga\n"
                                 "\t\talignleft2\ttrue\n\t}\n\tfontidx\t1\n\tx\t100\n\ty\t300\n\twidth\t200\n"
                                 "\timageheight\t20\n\ttextheight\t50\n" +
                                 head + "\tEnglish\n\t{\n" + pages + "\t}\n}\n";
        m_folder.GetDir().WriteFile("data/chat/" + name, text);
        return "data/chat/" + name;
    }
    static std::string Page(int index, const std::vector<std::string>& lines)
    {
        std::string page = "\t\tpage" + std::to_string(index) + "\n\t\t{\n";
        for (size_t i = 0; i < lines.size(); ++i)
            page += "\t\t\tline" + std::to_string(i) + "\t" + lines[i] + "\n";
        return page + "\t\t}\n";
    }
    int Load(const std::string& file)
    {
        int handle = -1;
        EXPECT_TRUE(m_pages->LoadPage(file.c_str(), 0, handle)) << m_pages->GetLoadFailure();
        return handle;
    }
    // One frame at the time given, select held or not.
    void Frame(uint32_t now, bool select = false)
    {
        STextPageInput input;
        input.now = now;
        input.select = select;
        m_pages->Update(input);
    }
    std::string Shown(int handle)
    {
        std::string out;
        for (const std::u16string& line : m_pages->GetPage(handle)->GetShownLines(m_pages->GetPilotName()))
            out += (out.empty() ? "" : "|") + std::string(line.begin(), line.end());
        return out;
    }

    CStringTable m_strings;
    CStringTable* m_savedStrings = nullptr;
    std::unique_ptr<CTextPageManager> m_pages;
};

void Closed(uint32_t userValue, int handle)
{
    s_closed.push_back({userValue, handle});
}
} // namespace

// One character a frame; "[p_name]" types the pilot's name a character a frame and
// then the line goes on; an empty line costs nothing; the page is complete at the
// first frame that finds nothing left.
TEST_F(TextPageTest, TypesACharacterAFrameWithThePilotsName)
{
    const int page = Load(WriteFile("a.txt", Page(0, {"Hi [P_Name]!", "", "Go"})));
    m_pages->SetPilotName(u"Ann");
    ASSERT_TRUE(m_pages->ShowPage(page, &Closed, 7));
    const char* const expected[] = {"H",       "Hi",        "Hi ",         "Hi A",       "Hi An",
                                    "Hi Ann",  "Hi Ann!",   "Hi Ann!||G",  "Hi Ann!||Go", "Hi Ann!||Go"};
    for (size_t frame = 0; frame < std::size(expected); ++frame)
    {
        Frame(100);
        EXPECT_EQ(Shown(page), expected[frame]) << frame;
        EXPECT_EQ(m_pages->GetPage(page)->IsPageComplete(), frame == std::size(expected) - 1) << frame;
    }
    EXPECT_TRUE(m_pages->IsAnyPageShowing());
}

// "[2]" at the very start shows picture 2 from the first frame; "[-1]" takes it
// away; a number the list lacks, an unterminated "[12" and "[5x]" change nothing,
// and the last two show as text.
TEST_F(TextPageTest, PictureTags)
{
    const int page = Load(WriteFile("b.txt", Page(0, {"[2]ab[7]c[-1]d[1]", "[12 [5x] e[99999999999]"})));
    ASSERT_TRUE(m_pages->ShowPage(page, &Closed, 0));
    const struct
    {
        const char* shown;
        int32_t image;
    } frames[] = {
        {"a", 2}, {"ab", 2}, {"abc", 2}, {"abcd", -1}, {"abcd|[", 1}, {"abcd|[1", 1}, {"abcd|[12", 1},
        {"abcd|[12 ", 1}, {"abcd|[12 [", 1}, {"abcd|[12 [5", 1}, {"abcd|[12 [5x", 1}, {"abcd|[12 [5x]", 1},
        {"abcd|[12 [5x] ", 1}, {"abcd|[12 [5x] e", 1},
    };
    for (size_t frame = 0; frame < std::size(frames); ++frame)
    {
        Frame(100);
        EXPECT_EQ(Shown(page), frames[frame].shown) << frame;
        EXPECT_EQ(m_pages->GetPage(page)->GetImageId(), frames[frame].image) << frame;
    }
    Frame(100);
    EXPECT_TRUE(m_pages->GetPage(page)->IsPageComplete());
}

// Holding select completes a page at once (every line, the picture of its last
// picture tag) and turns it only once more than 500 ms have passed since; after the
// last page the file stops showing and its callback runs with the user value and handle.
TEST_F(TextPageTest, SelectCompletesThenTurnsAfterTheDelay)
{
    const int page =
        Load(WriteFile("c.txt", Page(0, {"one [1]", "two [2][7]"}) + Page(1, {"three"}) + Page(2, {"four"})));
    ASSERT_TRUE(m_pages->ShowPage(page, &Closed, 42));
    CTextPage& text = *m_pages->GetPage(page);
    Frame(10000, true);
    EXPECT_TRUE(text.IsPageComplete());
    EXPECT_EQ(Shown(page), "one |two ");
    EXPECT_EQ(text.GetImageId(), 2);
    EXPECT_EQ(m_pages->GetKeyTime(), 10000u);

    // Held on: nothing until more than 500 ms have passed.
    for (uint32_t now = 10040; now <= 10500; now += 40)
    {
        Frame(now, true);
        EXPECT_EQ(text.GetPageIndex(), 0) << now;
    }
    Frame(10520, true);
    EXPECT_EQ(text.GetPageIndex(), 1);
    EXPECT_FALSE(text.IsPageComplete());
    // Still held: the new page types, as the key is not ready again.
    Frame(10560, true);
    EXPECT_EQ(Shown(page), "t");

    // A tap later completes it, another (after the delay) turns it; the last page
    // closes the file.
    Frame(11100, true);
    EXPECT_TRUE(text.IsPageComplete());
    Frame(11140);
    Frame(11700, true);
    EXPECT_EQ(text.GetPageIndex(), 2);
    Frame(12300, true);
    Frame(12900, true);
    EXPECT_FALSE(text.IsShowing());
    EXPECT_FALSE(m_pages->IsAnyPageShowing());
    ASSERT_EQ(s_closed.size(), 1u);
    EXPECT_EQ(s_closed[0], std::make_pair(42u, page));

    // The file stays loaded and shows again from its start.
    ASSERT_TRUE(m_pages->ShowPage(page, &Closed, 43));
    Frame(13000);
    EXPECT_EQ(Shown(page), "o");
    EXPECT_EQ(text.GetImageId(), -1);
}

// The mouse turns pages too: the left button while down, the right while held.
TEST_F(TextPageTest, MouseButtonsActAsSelect)
{
    const int page = Load(WriteFile("m.txt", Page(0, {"x"}) + Page(1, {"y"})));
    ASSERT_TRUE(m_pages->ShowPage(page, &Closed, 0));
    STextPageInput input;
    input.now = 5000;
    input.leftButton = true;
    m_pages->Update(input);
    EXPECT_TRUE(m_pages->GetPage(page)->IsPageComplete());
    input = STextPageInput();
    input.now = 5600;
    input.rightButton = true;
    m_pages->Update(input);
    EXPECT_EQ(m_pages->GetPage(page)->GetPageIndex(), 1);
}

// Text height 50 in a font 10 high: four full lines stay above the one being typed,
// older ones scroll away. A font of no height shows the typed line alone.
TEST_F(TextPageTest, OlderLinesScrollAway)
{
    const int page = Load(WriteFile("d.txt", Page(0, {"1", "2", "3", "4", "5", "6", "7"})));
    ASSERT_TRUE(m_pages->ShowPage(page, &Closed, 0));
    EXPECT_EQ(m_pages->GetPage(page)->GetVisibleLineCount(), 4);
    for (int frame = 0; frame < 5; ++frame)
        Frame(100);
    EXPECT_EQ(Shown(page), "1|2|3|4|5");
    Frame(100);
    EXPECT_EQ(Shown(page), "2|3|4|5|6");
    Frame(100, true);
    EXPECT_EQ(Shown(page), "3|4|5|6|7");

    // Glyphs of height 0 and no fix-up: no division by 0, one line shows.
    std::string table = MakeFontTable();
    for (size_t at = table.find(" 10 "); at != std::string::npos; at = table.find(" 10 ", at))
        table.replace(at, 4, " 0 ");
    m_folder.WriteTable("f1", table);
    ASSERT_TRUE(m_gui->LoadSkin("test"));
    const int flat = Load(WriteFile("e.txt", Page(0, {"1", "2"})));
    ASSERT_TRUE(m_pages->ShowPage(flat, &Closed, 0));
    EXPECT_EQ(m_pages->GetPage(flat)->GetVisibleLineCount(), 0);
    Frame(100);
    Frame(100);
    EXPECT_EQ(Shown(flat), "2");
    m_pages->Draw(0.5f);
}

// String-table pages are word-wrapped to the width less both borders (200 - 12):
// a word goes on while the line, the word and 10 pixels fit.
TEST_F(TextPageTest, StringPagesAreWrapped)
{
    const int page = Load(WriteFile("f.txt", "\t\tpage0\n\t\t{\n\t\t\ttextidstring\tgreeting\n\t\t}\n"
                                             "\t\tpage1\n\t\t{\n\t\t\ttextid\t0x12000004\n\t\t}\n",
                                     "\twidth\t40\n"));
    CTextPage& text = *m_pages->GetPage(page);
    // The first "width" wins: 200, so everything fits on a line of 188.
    EXPECT_EQ(text.GetLines(0), std::vector<std::u16string>{u"aaa bbb ccc"});
    EXPECT_EQ(text.GetLines(1), std::vector<std::u16string>{u"ddd eee"});

    const std::string narrow = "chat\n{\n\tx\t0\n\ty\t0\n\twidth\t60\n\ttextheight\t50\n\tEnglish\n\t{\n"
                               "\t\tpage0\n\t\t{\n\t\t\ttextidstring\tGreeting\n\t\t}\n\t}\n}\n";
    m_folder.GetDir().WriteFile("data/chat/g.txt", narrow);
    const int wrapped = Load("data/chat/g.txt");
    // 48 pixels: "aaa" (18 + 10) fits, "aaa bbb" (22 + 18 + 10) does not.
    EXPECT_EQ(m_pages->GetPage(wrapped)->GetLines(0), (std::vector<std::u16string>{u"aaa", u"bbb", u"ccc"}));
}

// 128 files load; the 129th is refused. Handles that are not loaded pages set error
// 1; a file that cannot be read sets error 4; a file the pages cannot be built from
// is refused and leaves its slot free.
TEST_F(TextPageTest, SlotsAndErrors)
{
    const std::string file = WriteFile("h.txt", Page(0, {"x"}));
    for (int i = 0; i < CTextPageManager::SLOT_COUNT; ++i)
        ASSERT_EQ(Load(file), i);
    int handle = 5;
    EXPECT_FALSE(m_pages->LoadPage(file.c_str(), 0, handle));
    EXPECT_EQ(handle, -1);
    m_pages->Destroy();

    for (int bad : {-1, 128, 3, INT_MAX})
    {
        m_pages->SetPilotName(u"");
        EXPECT_FALSE(m_pages->ShowPage(bad, &Closed, 0)) << bad;
        EXPECT_EQ(m_pages->GetErrorCode(), CTextPageManager::ERROR_NOT_LOADED);
        EXPECT_FALSE(m_pages->IsPageShowing(bad));
    }
    EXPECT_FALSE(m_pages->LoadPage("data/chat/none.txt", 0, handle));
    EXPECT_EQ(m_pages->GetErrorCode(), CTextPageManager::ERROR_UNREADABLE);

    const struct
    {
        std::string pages;
        std::string head;
        const char* reason;
    } refused[] = {
        {Page(1, {"no first page"}), "", "no \"page0\""},
        {"\t\tpage0\n\t\t{\n\t\t\ttextidstring\tMissing\n\t\t}\n", "", "no text \"Missing\""},
        {"\t\tpage0\n\t\t{\n\t\t\ttextid\t0x99000001\n\t\t}\n", "", "no text 0x99000001"},
        {"\t\tpage0\n\t\t{\n\t\t\ttextid\tsome\n\t\t}\n", "", "no string id"},
    };
    for (const auto& c : refused)
    {
        const std::string bad = WriteFile("bad.txt", c.pages, c.head);
        EXPECT_FALSE(m_pages->LoadPage(bad.c_str(), 0, handle)) << c.reason;
        EXPECT_NE(m_pages->GetLoadFailure().find(c.reason), std::string::npos) << m_pages->GetLoadFailure();
        EXPECT_EQ(Load(file), 0) << "the slot stays free";
        m_pages->Destroy();
    }
    // A picture that does not load.
    m_folder.GetDir().WriteFile("data/chat/j.txt", "chat\n{\n\tPrecacheImages\n\t{\n\t\t3\tdata/gui/none.tga\n\t}\n"
                                                   "\tEnglish\n\t{\n" + Page(0, {"x"}) + "\t}\n}\n");
    EXPECT_FALSE(m_pages->LoadPage("data/chat/j.txt", 0, handle));
    EXPECT_NE(m_pages->GetLoadFailure().find("picture 3 \"data/gui/none.tga\" does not load"), std::string::npos);
    EXPECT_EQ(Load(file), 0) << "the slot stays free";

    // Only language 0 has a block name.
    EXPECT_FALSE(m_pages->LoadPage(file.c_str(), 1, handle));
    m_folder.GetDir().WriteFile("data/chat/i.txt", "chat\n{\n\tFrench\n\t{\n\t}\n}\n");
    EXPECT_FALSE(m_pages->LoadPage("data/chat/i.txt", 0, handle));
    EXPECT_NE(m_pages->GetLoadFailure().find("no \"English\" block"), std::string::npos);
}

// The reader's tags: "[p_name]" in any case, "[" with a whole number and "]".
TEST(TextPageTags, FoundAtTheStart)
{
    const struct
    {
        const char16_t* text;
        ETextPageTag tag;
        size_t length;
        int32_t image;
    } cases[] = {
        {u"[p_name]x", TEXT_PAGE_PILOT_TAG, 8, 0},   {u"[P_NAME]", TEXT_PAGE_PILOT_TAG, 8, 0},
        {u"[p_nam]", TEXT_PAGE_NO_TAG, 0, 0},        {u"[2]", TEXT_PAGE_IMAGE_TAG, 3, 2},
        {u"[-1]z", TEXT_PAGE_IMAGE_TAG, 4, -1},      {u"[12", TEXT_PAGE_NO_TAG, 0, 0},
        {u"[]", TEXT_PAGE_NO_TAG, 0, 0},             {u"[-]", TEXT_PAGE_NO_TAG, 0, 0},
        {u"[5x]", TEXT_PAGE_NO_TAG, 0, 0},           {u"x[2]", TEXT_PAGE_NO_TAG, 0, 0},
        {u"[99999999999]", TEXT_PAGE_IMAGE_TAG, 13, INT32_MIN},
    };
    for (const auto& c : cases)
    {
        const std::u16string text = c.text;
        size_t length = 0;
        int32_t image = 0;
        EXPECT_EQ(FindTextPageTag(text.c_str(), text.size(), length, image), c.tag);
        if (c.tag != TEXT_PAGE_NO_TAG)
        {
            EXPECT_EQ(length, c.length);
        }
        if (c.tag == TEXT_PAGE_IMAGE_TAG)
        {
            EXPECT_EQ(image, c.image);
        }
    }
    // A tag cut off by the end of the text is none.
    size_t length = 0;
    int32_t image = 0;
    EXPECT_EQ(FindTextPageTag(u"[2]", 2, length, image), TEXT_PAGE_NO_TAG);
    EXPECT_EQ(FindTextPageTag(u"[p_name]", 7, length, image), TEXT_PAGE_NO_TAG);
}
