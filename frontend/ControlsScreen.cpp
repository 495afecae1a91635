#include "frontend/ControlsScreen.h"

#include "core/DataTree.h"
#include "core/WString.h"
#include "core/WideFormat.h"
#include "frontend/GameFlow.h"
#include "frontend/KeyMap.h"
#include "frontend/Options.h"
#include "platform/CoreInput.h"
#include "platform/input/DikCodes.h"
#include "presentation/GuiListButton.h"
#include "presentation/GuiManager.h"
#include "world/Controls.h"

#include <cstdlib>

namespace
{
constexpr int CONFIRM_ACTION = 8;
constexpr int SELECT_ACTION = 0;
constexpr int MAX_BUTTONS = 16;
constexpr int MAX_AXIS_PAIRS = 4;
// The dead zone steps in 5% of an axis's half range.
constexpr int DEAD_ZONE_PERCENT = 5;

// Whether an axis lies beyond the dead zone around the centre of its range; which way.
bool IsAxisPushed(int32_t position, int32_t min, int32_t max, int32_t step, bool& positive)
{
    const int64_t centre = (static_cast<int64_t>(min) + max) / 2;
    const int64_t half = (static_cast<int64_t>(max) - min) / 2;
    const int64_t zone = half * step * DEAD_ZONE_PERCENT / 100;
    const int64_t offset = position - centre;
    if (std::llabs(offset) <= zone)
        return false;
    positive = offset > 0;
    return true;
}
} // namespace

CControlsScreen::CControlsScreen(CGameFlow& flow) : CFrontEndScreen(flow, SCREEN_CONTROLS, LAYOUT)
{
}

COptions& CControlsScreen::GetOptions() const
{
    return m_flow.GetOptions();
}

int CControlsScreen::GetRowOfButton(int32_t controlId)
{
    const int offset = controlId - FIRST_ROW;
    if (offset < 0 || offset % 3 != 0 || offset / 3 >= ROWS)
        return -1;
    return offset / 3;
}

std::u16string CControlsScreen::DescribeKey(int32_t code)
{
    const char* name = GetKeyName(code);
    if (!name && code > 0 && code < 256)
        name = GetDikName(static_cast<uint8_t>(code));
    return name ? WidenToU16(name) : u"?";
}

std::u16string CControlsScreen::DescribeBinding(const SJoystickBinding& binding)
{
    CWString text;
    if (binding.isButton)
    {
        FormatWide(text, u"B%i", static_cast<int>(binding.number));
        return text.GetText();
    }
    const uint32_t direction = binding.firstAxis
                                   ? (binding.positive ? TEXT_FIRST_POSITIVE : TEXT_FIRST_NEGATIVE)
                                   : (binding.positive ? TEXT_SECOND_POSITIVE : TEXT_SECOND_NEGATIVE);
    const std::u16string directionText = LookUpText(direction);
    FormatWide(text, LookUpText(TEXT_AXIS).c_str(), static_cast<int>(binding.number), directionText.c_str());
    return text.GetText();
}

void CControlsScreen::Show()
{
    ShowPage();
    m_captureRow = -1;
    m_escapeHeld = false;
    GetOptions().SetCapturing(false);
    GetOptions().ReadSettings();
    FillJoystickList();
    if (CGuiListButton* list = m_page.FindList(DEAD_ZONE_LIST))
    {
        list->ClearOptions();
        for (int step = 0; step <= SKeyMap::MAX_DEAD_ZONE_STEP; ++step)
        {
            CWString text;
            FormatWide(text, u"%i%%", step * DEAD_ZONE_PERCENT);
            list->AddOptionWide(text.GetText());
        }
        list->SetSelection(GetOptions().GetKeyMap().deadZoneStep);
    }
    m_page.SetEnabled(RESCAN, true);
    m_rescanPaused = false;
    RefreshRows();
    m_page.Focus(FIRST_ROW);
    ArmInputGate();
}

// Leaving the screen, however it is left, keeps the key map on disk.
void CControlsScreen::Hide()
{
    if (m_captureRow >= 0)
        EndCapture();
    m_escapeHeld = false;
    GetOptions().SetCapturing(false);
    CFrontEndScreen::Hide();
    GetOptions().SaveKeyMap();
}

void CControlsScreen::FillJoystickList()
{
    CGuiListButton* list = m_page.FindList(JOYSTICK_LIST);
    if (!list)
        return;
    list->ClearOptions();
    list->AddOptionById(TEXT_NO_JOYSTICK);
    const int count = g_input ? g_input->GetJoystickCount() : 0;
    for (int n = 0; n < count; ++n)
    {
        CWString name;
        if (!g_input->GetJoystickName(n, &name))
        {
            list->ClearOptions();
            list->AddOptionById(TEXT_NONE_FOUND);
            return;
        }
        list->AddOptionWide(name.GetText());
    }
    const int32_t joystick = GetOptions().GetKeyMap().joystick;
    list->SetSelection(joystick >= 0 && joystick < count ? joystick + 1 : 0);
}

void CControlsScreen::RefreshRows()
{
    const SKeyMap& map = GetOptions().GetKeyMap();
    const bool hasJoystick = map.joystick != SKeyMap::NO_JOYSTICK;
    for (int row = 0; row < ROWS; ++row)
    {
        const int button = FIRST_ROW + 3 * row;
        m_page.SetText(button + 1, DescribeKey(map.keys[row]));
        m_page.SetText(button + 2, hasJoystick ? DescribeBinding(map.bindings[row]) : u"?");
    }
}

void CControlsScreen::SetRowsEnabled(bool enabled)
{
    for (int row = 0; row < ROWS; ++row)
        m_page.SetEnabled(FIRST_ROW + 3 * row, enabled);
}

void CControlsScreen::StartCapture(int row)
{
    m_captureRow = row;
    m_captureWait = CAPTURE_WAIT_FRAMES;
    GetOptions().SetCapturing(true);
    if (g_gui)
        g_gui->SetFocus(-1);
    SetRowsEnabled(false);
}

void CControlsScreen::EndCapture()
{
    const int row = m_captureRow;
    m_captureRow = -1;
    GetOptions().ApplyKeyMap();
    SetRowsEnabled(true);
    RefreshRows();
    if (row >= 0)
        m_page.Focus(FIRST_ROW + 3 * row);
    ArmInputGate();
}

int CControlsScreen::FindPressedKey(int row) const
{
    if (!g_input)
        return 0;
    const SKeyMap& map = GetOptions().GetKeyMap();
    for (int code = 1; code < 256; ++code)
    {
        if (!g_input->IsKeyDown(code) || code == map.keys[CONFIRM_ACTION])
            continue;
        if (code == Dik::ESCAPE)
            return code;
        if (row != 0 && code == map.keys[SELECT_ACTION])
            continue;
        return code;
    }
    return 0;
}

// The row takes the key; the action that held it takes the row's old key.
bool CControlsScreen::TakeKey(int row, int32_t key)
{
    SKeyMap& map = GetOptions().GetKeyMap();
    const int32_t old = map.keys[row];
    for (int action = 0; action < CControls::ACTION_COUNT; ++action)
        if (action != row && map.keys[action] == key)
            map.keys[action] = old;
    map.keys[row] = key;
    return true;
}

bool CControlsScreen::FindJoystickBinding(SJoystickBinding& binding) const
{
    const SKeyMap& map = GetOptions().GetKeyMap();
    SJoystickState state = {};
    if (!g_input || map.joystick == SKeyMap::NO_JOYSTICK || !g_input->IsJoystickActive(map.joystick) ||
        !g_input->GetJoystickState(map.joystick, &state))
        return false;
    const int buttons = state.numButtons < MAX_BUTTONS ? state.numButtons : MAX_BUTTONS;
    for (int n = 0; n < buttons; ++n)
        if (state.buttons[n] & 0x80)
        {
            binding = SJoystickBinding{n, true, false, false};
            return true;
        }
    const int pairs = state.numAxisPairs < MAX_AXIS_PAIRS ? state.numAxisPairs : MAX_AXIS_PAIRS;
    for (int pair = 0; pair < pairs; ++pair)
    {
        int32_t min[2] = {};
        int32_t max[2] = {};
        if (!g_input->GetJoystickAxisRange(map.joystick, pair, &min[0], &max[0], &min[1], &max[1]))
            continue;
        for (int axis = 0; axis < 2; ++axis)
        {
            bool positive = false;
            if (IsAxisPushed(state.axes[pair][axis], min[axis], max[axis], map.deadZoneStep, positive))
            {
                binding = SJoystickBinding{pair, false, positive, axis == 0};
                return true;
            }
        }
    }
    return false;
}

void CControlsScreen::TakeBinding(int row, const SJoystickBinding& binding)
{
    SKeyMap& map = GetOptions().GetKeyMap();
    const SJoystickBinding old = map.bindings[row];
    for (int action = 0; action < CControls::JOYSTICK_ACTIONS; ++action)
        if (action != row && AreBindingsEqual(map.bindings[action], binding))
            map.bindings[action] = old;
    map.bindings[row] = binding;
}

void CControlsScreen::Update()
{
    if (m_escapeHeld && !(g_input && g_input->IsKeyDown(Dik::ESCAPE)))
    {
        m_escapeHeld = false;
        GetOptions().SetCapturing(false);
    }
    if (m_rescanPaused && HasTimeCome(GetScreenTime(), m_rescanUntil))
    {
        m_rescanPaused = false;
        m_page.SetEnabled(RESCAN, true);
    }
    if (m_captureRow < 0)
        return;
    if (m_captureWait > 0)
    {
        --m_captureWait;
        return;
    }
    const int row = m_captureRow;
    const int key = FindPressedKey(row);
    if (key == Dik::ESCAPE)
    {
        // The old binding stays; the flow leaves Escape alone until it is let go.
        m_escapeHeld = true;
        EndCapture();
        return;
    }
    SJoystickBinding binding;
    if (key != 0)
        TakeKey(row, key);
    else if (FindJoystickBinding(binding))
        TakeBinding(row, binding);
    else
        return;
    EndCapture();
    GetOptions().SetCapturing(false);
}

void CControlsScreen::SelectJoystick(int choice)
{
    COptions& options = GetOptions();
    SKeyMap& map = options.GetKeyMap();
    const int32_t joystick = choice - 1;
    if (joystick >= 0 && g_input && !g_input->IsJoystickActive(joystick))
        g_input->ReenumerateJoysticks();
    map.joystick = joystick >= 0 && g_input && joystick < g_input->GetJoystickCount() ? joystick
                                                                                       : SKeyMap::NO_JOYSTICK;
    map.SetDefaultBindings();
    options.ApplyKeyMap();
    RefreshRows();
}

void CControlsScreen::Rescan()
{
    COptions& options = GetOptions();
    SKeyMap& map = options.GetKeyMap();
    if (g_input)
        g_input->ReenumerateJoysticks();
    if (map.joystick != SKeyMap::NO_JOYSTICK &&
        !DoBindingsFit(map.bindings, CControls::JOYSTICK_ACTIONS, g_input, map.joystick))
    {
        if (!g_input || map.joystick >= g_input->GetJoystickCount())
            map.joystick = SKeyMap::NO_JOYSTICK;
        map.SetDefaultBindings();
    }
    options.ApplyKeyMap();
    m_page.SetEnabled(RESCAN, false);
    m_rescanPaused = true;
    m_rescanUntil = GetScreenTime() + RESCAN_PAUSE_MS;
    FillJoystickList();
    RefreshRows();
}

void CControlsScreen::HandleEvent(int32_t controlId, int32_t event, int32_t value)
{
    if (m_captureRow >= 0)
        return;
    if (event == GUI_EVENT_ACTION)
    {
        if (FocusBackOnBackAction(event, value, BACK) || (value != GUI_ACTION_LEFT && value != GUI_ACTION_RIGHT))
            return;
        const CGuiListButton* list = m_page.FindList(controlId);
        const int32_t joystick = GetOptions().GetKeyMap().joystick;
        if (controlId == JOYSTICK_LIST && list && list->GetSelection() != joystick + 1)
            SelectJoystick(list->GetSelection());
        else if (controlId == DEAD_ZONE_LIST && list)
        {
            GetOptions().GetKeyMap().deadZoneStep = list->GetSelection();
            GetOptions().ApplyKeyMap();
        }
        return;
    }
    if (event != GUI_EVENT_ACTIVATED)
        return;
    const int row = GetRowOfButton(controlId);
    if (row >= 0)
        StartCapture(row);
    else if (controlId == RESCAN)
        Rescan();
    else if (controlId == BACK)
    {
        HidePage();
        m_flow.SetScreen(SCREEN_OPTIONS);
    }
}
