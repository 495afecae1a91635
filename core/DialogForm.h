#pragma once
// What a set-up dialog shows: its controls, their places and their states. The
// dialog's model fills a form from the settings and reads it back; a view shows it
// to the player (or answers it from a script) and changes only the states.

#include <string>
#include <vector>

enum class EDialogControlKind
{
    Label,
    Button,
    CheckBox,
    RadioButton, // radio buttons with the same group exclude each other
    ComboBox,
};

struct SDialogControl
{
    int id = 0;
    EDialogControlKind kind = EDialogControlKind::Label;
    std::string text;
    int x = 0, y = 0, width = 0, height = 0; // pixels in the dialog's window
    int group = 0;                            // radio group
    bool checked = false;                     // check boxes and radio buttons
    std::vector<std::string> items;           // combo box entries
    int selection = 0;                        // combo box: the chosen entry
    std::string answer;                       // buttons: the word that presses it in a script
};

class CDialogForm
{
public:
    // `name` tells scripts which dialog this is ("launcher", "setup", "advanced").
    CDialogForm(const char* name, const char* caption, int width, int height);

    const std::string& GetName() const { return m_name; }
    const std::string& GetCaption() const { return m_caption; }
    int GetWidth() const { return m_width; }
    int GetHeight() const { return m_height; }

    SDialogControl& AddLabel(int x, int y, const char* text);
    SDialogControl& AddButton(int id, int x, int y, int width, const char* text, const char* answer);
    SDialogControl& AddCheckBox(int id, int x, int y, const char* text);
    SDialogControl& AddRadioButton(int id, int group, int x, int y, const char* text);
    SDialogControl& AddComboBox(int id, int x, int y, int width, const std::vector<std::string>& items);

    std::vector<SDialogControl>& GetControls() { return m_controls; }
    const std::vector<SDialogControl>& GetControls() const { return m_controls; }
    SDialogControl* Find(int id);
    const SDialogControl* Find(int id) const;

    bool IsChecked(int id) const;
    // A check box takes the state; a radio button set to true clears its group.
    void SetChecked(int id, bool checked);
    int GetSelection(int id) const;
    // Ignored when the index is outside the entries.
    void Select(int id, int index);

    // The button Enter presses and the one Escape or closing the window means.
    void SetDefaultButton(int id) { m_defaultButton = id; }
    void SetCancelButton(int id) { m_cancelButton = id; }
    int GetDefaultButton() const { return m_defaultButton; }
    int GetCancelButton() const { return m_cancelButton; }

private:
    SDialogControl& Add(EDialogControlKind kind, int id, int x, int y, int width, int height, const char* text);

    std::string m_name;
    std::string m_caption;
    int m_width;
    int m_height;
    std::vector<SDialogControl> m_controls;
    int m_defaultButton = 0;
    int m_cancelButton = 0;
};

// Shows forms to the player, modally.
class CDialogView
{
public:
    virtual ~CDialogView() = default;
    // Gives the id of the button that ended the form; closing the window gives the
    // form's cancel button.
    virtual int RunForm(CDialogForm& form) = 0;
};
