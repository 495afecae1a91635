#include "presentation/GuiLayoutFile.h"

#include "core/DataFile.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "tests/support/core/StringTableFixture.h"

#include <gtest/gtest.h>

namespace
{
class GuiLayoutFile : public ::testing::Test
{
protected:
    void SetUp() override
    {
        std::string error;
        ASSERT_TRUE(LoadStringTableSource("[English]\nStartText = Start\nQuitText = Quit\n"
                                          "Option_Easy = Easy\nLongHelp = Some help text\n",
                                          m_strings, error))
            << error;
    }

    uint32_t IdOf(const char16_t* key) const
    {
        uint32_t id = 0;
        EXPECT_TRUE(m_strings.FindIdW(key, id));
        return id;
    }

    // Reads layout text: a root block holding the given body. Problems gather over the test.
    SGuiLayout Read(const std::string& body)
    {
        const std::string text = "layout\n{\n" + body + "}\n";
        CDataNodeList nodes;
        EXPECT_TRUE(ParseDataBytes(reinterpret_cast<const uint8_t*>(text.data()), text.size(), nodes));
        SGuiLayout layout;
        if (!nodes.empty())
            ReadGuiLayout(static_cast<const CDataTree&>(*nodes[0]), &m_strings, layout, m_problems);
        return layout;
    }

    // One window holding the given controls; its children.
    std::vector<SGuiLayoutControl> ReadChildren(const std::string& controls)
    {
        SGuiLayout layout = Read("window\n{\n" + controls + "}\n");
        EXPECT_EQ(layout.windows.size(), 1u);
        return layout.windows.empty() ? std::vector<SGuiLayoutControl>() : std::move(layout.windows[0].children);
    }

    template <typename T>
    T ReadOne(const std::string& control)
    {
        std::vector<SGuiLayoutControl> children = ReadChildren(control);
        EXPECT_EQ(children.size(), 1u);
        if (children.size() != 1 || !std::holds_alternative<T>(children[0].desc))
            return T();
        return std::get<T>(children[0].desc);
    }

    bool Warned(const char* text) const { return m_problems.Describe("l").find(text) != std::string::npos; }

    CStringTable m_strings;
    CDefinitionProblems m_problems;
};
} // namespace

TEST_F(GuiLayoutFile, WindowsComeFromTheRootsWindowBlocksWithTheirKeysAndLayers)
{
    SGuiLayout layout = Read("window\n{\nx 10\ny 20\nw 300\nh 200\ncaption Hello there\nclosebox true\n"
                             "cleararea yes\nbordered false\nframeidx 2\ncontrolid 2000\ndummy true\nalphablend true\n"
                             "3dwindow true\n}\n"
                             "other\n{\nwindow\n{\n}\n}\n"
                             "window 1\n"
                             "WINDOW\n{\nlayer 7\nframeidx 5\n}\n"
                             "window\n{\nlayer -3\n}\n");
    ASSERT_EQ(layout.windows.size(), 3u);
    const SGuiLayoutWindow& a = layout.windows[0];
    EXPECT_EQ(a.x, 10);
    EXPECT_EQ(a.y, 20);
    EXPECT_EQ(a.w, 300);
    EXPECT_EQ(a.h, 200);
    EXPECT_TRUE(a.captioned);
    EXPECT_EQ(a.caption, "Hello there");
    EXPECT_TRUE(a.closeBox && a.clearArea && a.dummy && a.alphaBlend && a.window3d);
    EXPECT_FALSE(a.bordered || a.alphaTest);
    EXPECT_EQ(a.frameIndex, 2);
    EXPECT_EQ(a.controlId, 2000);
    EXPECT_EQ(a.layer, 2);

    const SGuiLayoutWindow& b = layout.windows[1];
    EXPECT_EQ(b.layer, 3);
    EXPECT_EQ(b.frameIndex, 0);
    EXPECT_TRUE(b.bordered);
    EXPECT_FALSE(b.captioned || b.closeBox || b.clearArea || b.dummy || b.window3d);
    EXPECT_EQ(b.controlId, -1);
    EXPECT_EQ(layout.windows[2].layer, 0);
    EXPECT_TRUE(Warned("\"layer\" 7 is taken as 3"));
    EXPECT_TRUE(Warned("\"layer\" -3 is taken as 0"));
    EXPECT_TRUE(Warned("\"frameidx\" 5 is taken as 0"));
}

TEST_F(GuiLayoutFile, ControlsAreTheWindowsChildBlocksNamedByClassInFileOrder)
{
    std::vector<SGuiLayoutControl> children =
        ReadChildren("Button\n{\n}\nbutton Not a control\nimagebutton\n{\n}\nstaticimage\n{\n}\ntextbox\n{\n}\n"
                     "editbox\n{\n}\nlistbutton\n{\n}\nstatictext\n{\n}\ntooltip\n{\n}\n"
                     "alertbox\n{\npage0\n{\n}\n}\nwindow\n{\n}\nslider\n{\n}\n");
    const EGuiLayoutClass expected[] = {GUI_CLASS_BUTTON,      GUI_CLASS_IMAGE_BUTTON, GUI_CLASS_STATIC_IMAGE,
                                        GUI_CLASS_TEXT_BOX,    GUI_CLASS_EDIT_BOX,     GUI_CLASS_LIST_BUTTON,
                                        GUI_CLASS_STATIC_TEXT, GUI_CLASS_TOOLTIP,      GUI_CLASS_ALERT_BOX,
                                        GUI_CLASS_WINDOW};
    ASSERT_EQ(children.size(), sizeof(expected) / sizeof(expected[0]));
    for (size_t i = 0; i < children.size(); ++i)
        EXPECT_EQ(children[i].GetClass(), expected[i]) << i;
    EXPECT_TRUE(Warned("\"slider\" is no control class"));
    EXPECT_EQ(children[0].line, 5u); // "Button" on the file's fifth line
}

TEST_F(GuiLayoutFile, AChildWindowHoldsControlsOfItsOwnAndHasNoLayer)
{
    std::vector<SGuiLayoutControl> children =
        ReadChildren("window\n{\nx 5\nlayer 1\ncontrolid 7\nbutton\n{\ncontrolid 8\n}\nwindow\n{\nstatictext\n{\n"
                     "controlid 9\n}\n}\n}\n");
    ASSERT_EQ(children.size(), 1u);
    const SGuiLayoutWindow& inner = std::get<SGuiLayoutWindow>(children[0].desc);
    EXPECT_EQ(inner.x, 5);
    EXPECT_EQ(inner.controlId, 7);
    EXPECT_EQ(inner.layer, 2);
    ASSERT_EQ(inner.children.size(), 2u);
    EXPECT_EQ(std::get<SGuiButtonDesc>(inner.children[0].desc).controlId, 8);
    const SGuiLayoutWindow& innermost = std::get<SGuiLayoutWindow>(inner.children[1].desc);
    ASSERT_EQ(innermost.children.size(), 1u);
    EXPECT_EQ(std::get<SGuiStaticTextDesc>(innermost.children[0].desc).controlId, 9);
}

TEST_F(GuiLayoutFile, TextsTakeTheStringKeyThenTheIdThenTheLiteral)
{
    const uint32_t start = IdOf(u"StartText");
    const uint32_t quit = IdOf(u"QuitText");
    struct SCase
    {
        std::string keys;
        uint32_t id;
        std::u16string literal;
    };
    const SCase cases[] = {
        {"captionidstring StartText\ncaptionid " + std::to_string(quit) + "\ncaption Lit\n", start, u""},
        {"caption Lit\ncaptionid " + std::to_string(quit) + "\n", quit, u""},
        {"caption Lit\n", SGuiText::NO_ID, u"Lit"},
        {"", SGuiText::NO_ID, u""},
        {"captionidstring NoSuchKey\ncaption Lit\n", SGuiText::NO_ID, u""},
    };
    for (const SCase& c : cases)
    {
        SGuiButtonDesc button = ReadOne<SGuiButtonDesc>("button\n{\n" + c.keys + "}\n");
        EXPECT_EQ(button.caption.id, c.id) << c.keys;
        EXPECT_EQ(button.caption.literal, c.literal) << c.keys;
        SGuiTooltipDesc tooltip = ReadOne<SGuiTooltipDesc>("tooltip\n{\n" + c.keys + "}\n");
        EXPECT_EQ(tooltip.caption.id, c.id) << c.keys;
        EXPECT_EQ(tooltip.caption.literal, c.literal) << c.keys;
    }
    EXPECT_TRUE(Warned("no key \"NoSuchKey\""));

    // Static texts and text boxes name their literal differently.
    SGuiStaticTextDesc text = ReadOne<SGuiStaticTextDesc>("statictext\n{\nstring Plain words\ncaption No\n}\n");
    EXPECT_EQ(text.text.literal, u"Plain words");
    SGuiTextBoxDesc box =
        ReadOne<SGuiTextBoxDesc>("textbox\n{\nstring0 First part\nstring1 second\nstring3 never\n}\n");
    EXPECT_EQ(box.text.literal, u"First part second");
    EXPECT_FALSE(box.text.HasId());
    box = ReadOne<SGuiTextBoxDesc>("textbox\n{\nstring0 First\ncaptionidstring LongHelp\n}\n");
    EXPECT_EQ(box.text.id, IdOf(u"LongHelp"));
    EXPECT_EQ(box.text.literal, u"");
}

TEST_F(GuiLayoutFile, ControlKeysAndDefaultsByClass)
{
    SGuiButtonDesc button = ReadOne<SGuiButtonDesc>(
        "button\n{\nx 1\ny 2\nw 3\nh 4\ncontrolid 10\ntooltipcontrolid 11\nupcontrolid 12\ndowncontrolid 13\n"
        "leftcontrolid 14\nrightcontrolid 15\nsticky true\ncentered false\nalphablend false\n"
        "select_effect data\\sounds\\go.wav\n}\n");
    EXPECT_EQ(button.x + button.y * 10 + button.w * 100 + button.h * 1000, 4321);
    EXPECT_EQ(button.controlId, 10);
    EXPECT_EQ(button.tooltipControlId, 11);
    EXPECT_EQ(button.upId, 12);
    EXPECT_EQ(button.downId, 13);
    EXPECT_EQ(button.leftId, 14);
    EXPECT_EQ(button.rightId, 15);
    EXPECT_TRUE(button.sticky);
    EXPECT_FALSE(button.centered || button.alphaBlend || button.alphaTest);
    EXPECT_EQ(button.fontId, 0);
    EXPECT_EQ(button.selectEffect, "data\\sounds\\go.wav");
    EXPECT_EQ(button.backoutEffect, "");

    SGuiImageButtonDesc image = ReadOne<SGuiImageButtonDesc>(
        "imagebutton\n{\nimagename data\\gui\\ship.tga\nuvs 0, 0.5, 0.25, 1\nstick true\nbordered true\n}\n");
    EXPECT_EQ(image.imageName, "data\\gui\\ship.tga");
    EXPECT_EQ(image.uvs[1], 0.5f);
    EXPECT_EQ(image.uvs[2], 0.25f);
    EXPECT_TRUE(image.stick && image.bordered && image.alphaBlend);
    EXPECT_EQ(image.w, 0);
    EXPECT_EQ(image.upId, -1);

    SGuiStaticImageDesc picture = ReadOne<SGuiStaticImageDesc>("staticimage\n{\nimagename a.tga\n}\n");
    EXPECT_EQ(picture.uvs[0], 0.0f);
    EXPECT_EQ(picture.uvs[3], 1.0f);
    EXPECT_FALSE(picture.alphaBlend || picture.alphaTest);

    SGuiTextBoxDesc box = ReadOne<SGuiTextBoxDesc>("textbox\n{\nsingleword true\nscroll false\nscrolldelay 300\n}\n");
    EXPECT_TRUE(box.bordered && box.singleWord);
    EXPECT_FALSE(box.singleChar || box.scroll);
    EXPECT_EQ(box.scrollDelay, 300);
    EXPECT_EQ(box.fontId, 1);

    SGuiEditBoxDesc edit = ReadOne<SGuiEditBoxDesc>(
        "editbox\n{\ncompletedfocuscontrol 5\ncancelledfocuscontrol 6\nrightcontrolid 7\n}\n");
    EXPECT_EQ(edit.maxLength, 256);
    EXPECT_EQ(edit.completedFocusId, 5);
    EXPECT_EQ(edit.cancelledFocusId, 6);
    EXPECT_EQ(edit.rightId, 7);
    EXPECT_FALSE(edit.bordered);

    SGuiTooltipDesc tip = ReadOne<SGuiTooltipDesc>("tooltip\n{\nspeechbubble true\n}\n");
    EXPECT_TRUE(tip.speechBubble && tip.bordered);
    EXPECT_EQ(tip.fontId, 1);
}

TEST_F(GuiLayoutFile, FontIdsAndEditLengthsAreTakenInRange)
{
    struct SCase
    {
        const char* value;
        int button; // the button's font (default 0)
        int other;  // a static text's font (default 1)
    };
    const SCase fonts[] = {{nullptr, 0, 1}, {"-1", 0, 1}, {"2", 2, 2}, {"9", 3, 3}, {"-4", 0, 0}};
    for (const SCase& c : fonts)
    {
        const std::string key = c.value ? std::string("fontId ") + c.value + "\n" : "";
        EXPECT_EQ(ReadOne<SGuiButtonDesc>("button\n{\n" + key + "}\n").fontId, c.button) << key;
        EXPECT_EQ(ReadOne<SGuiStaticTextDesc>("statictext\n{\n" + key + "}\n").fontId, c.other) << key;
        EXPECT_EQ(ReadOne<SGuiListButtonDesc>("listbutton\n{\n" + key + "}\n").fontId, c.other) << key;
    }
    const std::pair<const char*, int> lengths[] = {{"8", 8}, {"256", 256}, {"300", 256}, {"0", 1}, {"-5", 1}};
    for (const auto& [value, taken] : lengths)
        EXPECT_EQ(ReadOne<SGuiEditBoxDesc>(std::string("editbox\n{\nmaxstringlength ") + value + "\n}\n").maxLength,
                  taken)
            << value;
    EXPECT_TRUE(Warned("\"fontId\" 9 is taken as 3"));
    EXPECT_TRUE(Warned("\"maxstringlength\" 300 is taken as 256"));
}

TEST_F(GuiLayoutFile, ListButtonOptionsRunToTheFirstMissingNumberOrComeFromARange)
{
    SGuiListButtonDesc list = ReadOne<SGuiListButtonDesc>(
        "listbutton\n{\noption0 Zero\noptionidstring1 Option_Easy\noption1 hidden\noption3 Three\n"
        "wrapAround false\n}\n");
    ASSERT_EQ(list.options.size(), 2u);
    EXPECT_EQ(list.options[0].literal, u"Zero");
    EXPECT_EQ(list.options[1].id, IdOf(u"Option_Easy"));
    EXPECT_FALSE(list.numberRange);
    EXPECT_FALSE(list.wrapAround);
    EXPECT_TRUE(list.bordered && list.centered && list.alphaBlend);

    list = ReadOne<SGuiListButtonDesc>("listbutton\n{\noptionid0 " + std::to_string(IdOf(u"QuitText")) +
                                       "\nnumberrangelow 3\nnumberrangehigh 1000000\n}\n");
    ASSERT_EQ(list.options.size(), 1u);
    EXPECT_EQ(list.options[0].id, IdOf(u"QuitText"));
    EXPECT_TRUE(list.numberRange);
    EXPECT_EQ(list.rangeLow, 3);
    EXPECT_EQ(list.rangeHigh, 1000000);

    list = ReadOne<SGuiListButtonDesc>("listbutton\n{\nnumberrangelow 3\n}\n");
    EXPECT_FALSE(list.numberRange);
    list = ReadOne<SGuiListButtonDesc>("listbutton\n{\nnumberrangelow 5\nnumberrangehigh 4\n}\n");
    EXPECT_TRUE(list.numberRange);
    EXPECT_TRUE(Warned("the number range 5 to 4 has no numbers"));
}

TEST_F(GuiLayoutFile, AlertBoxLinesAreNumberedOnAcrossPages)
{
    SGuiAlertBoxDesc alert = ReadOne<SGuiAlertBoxDesc>(
        "alertbox\n{\nx 100\nspeechbubbleid 4\nspeechbubblex 30\nspeechbubbley 40\n"
        "page0\n{\nline0 One\nline1 Two\n}\npage1\n{\nline2 Three\nline3 Four\n}\n"
        "page2\n{\ntextidstring LongHelp\nline4 ignored\n}\npage3\n{\nline4 Five\n}\n"
        "page5\n{\nline5 never\n}\n}\n");
    ASSERT_EQ(alert.pages.size(), 4u);
    EXPECT_EQ(alert.pages[0].lines, (std::vector<std::u16string>{u"One", u"Two"}));
    EXPECT_EQ(alert.pages[1].lines, (std::vector<std::u16string>{u"Three", u"Four"}));
    EXPECT_EQ(alert.pages[2].textId, IdOf(u"LongHelp"));
    EXPECT_TRUE(alert.pages[2].lines.empty());
    EXPECT_EQ(alert.pages[3].lines, (std::vector<std::u16string>{u"Five"}));
    EXPECT_EQ(alert.x, 100);
    EXPECT_EQ(alert.speechBubbleId, 4);
    EXPECT_EQ(alert.speechBubbleX, 30);
    EXPECT_EQ(alert.speechBubbleY, 40);

    // Numbers that start again on the second page leave it empty.
    alert = ReadOne<SGuiAlertBoxDesc>(
        "alertbox\n{\npage0\n{\nline0 One\nline1 Two\n}\npage1\n{\nline0 Again\nline1 Again\n}\n}\n");
    ASSERT_EQ(alert.pages.size(), 2u);
    EXPECT_EQ(alert.pages[0].lines.size(), 2u);
    EXPECT_TRUE(alert.pages[1].lines.empty());
}

TEST_F(GuiLayoutFile, AnAlertBoxWithoutPagesMakesNothing)
{
    std::vector<SGuiLayoutControl> children =
        ReadChildren("alertbox\n{\nline0 Lonely\npage1\n{\nline0 x\n}\n}\nbutton\n{\n}\n");
    ASSERT_EQ(children.size(), 1u);
    EXPECT_EQ(children[0].GetClass(), GUI_CLASS_BUTTON);
    EXPECT_TRUE(Warned("alert box without \"page0\""));
}
