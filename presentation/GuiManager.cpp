#include "presentation/GuiManager.h"

#include "core/Clock.h"
#include "core/Console.h"
#include "core/RealTimeClock.h"
#include "core/DataTree.h"
#include "platform/AudioSystem.h"
#include "platform/Renderer.h"
#include "presentation/GuiControl.h"
#include "presentation/GuiStep.h"
#include "presentation/GuiWindow.h"

#include <algorithm>
#include <new>

CGuiManager* g_gui = nullptr;

namespace
{
int ClampLayer(int layer)
{
    return std::clamp(layer, 0, CGuiManager::LAYER_COUNT - 1);
}
} // namespace

void PlayGuiSound(int sample)
{
    if (sample < 0 || !g_audio)
        return;
    int channel = -1;
    g_audio->PlaySample(sample, 1, 0, 0.7f, 0.0f, false, false, nullptr, nullptr, channel);
}

CGuiManager::CGuiManager(CRenderer& renderer) : m_renderer(renderer), m_clock([] { return GetRealTimeClock().GetMs(); })
{
    m_highlightColour = 0xFFFFFFFF;
    g_gui = this;
}

CGuiManager::~CGuiManager()
{
    // Whatever is left goes without callbacks into code that may be gone already.
    for (CGuiControl*& control : m_controls)
    {
        delete control;
        control = nullptr;
    }
    for (CGuiControl* control : m_closed)
        delete control;
    m_closed.clear();
    for (int i = 0; i < SOUND_COUNT; ++i)
        SetDefaultSound(EDefaultSound(i), nullptr);
    if (g_gui == this)
        g_gui = nullptr;
}

// ---- fonts and sounds ---------------------------------------------------------

CFont* CGuiManager::GetFont(int index)
{
    if (index < 0 || index >= FONT_COUNT || !m_fonts[index].IsLoaded())
        return nullptr;
    return &m_fonts[index];
}

CFont& CGuiManager::GetFontOrSystem(int index)
{
    CFont* font = GetFont(index);
    return font ? *font : m_systemFont;
}

void CGuiManager::SetDefaultSound(EDefaultSound which, const char* fileName)
{
    if (which < 0 || which >= SOUND_COUNT)
        return;
    if (m_defaultSounds[which] >= 0 && g_audio)
        g_audio->ReleaseSample(m_defaultSounds[which]);
    m_defaultSounds[which] = -1;
    m_defaultSoundNames[which] = fileName ? fileName : "";
    int index = -1;
    if (fileName && *fileName && g_audio && g_audio->LoadSample(fileName, index))
        m_defaultSounds[which] = index;
}

int CGuiManager::GetDefaultSound(EDefaultSound which) const
{
    return (which < 0 || which >= SOUND_COUNT) ? -1 : m_defaultSounds[which];
}

void CGuiManager::ResolveSounds()
{
    // The restarted audio system has no samples: look the names up again.
    for (int i = 0; i < SOUND_COUNT; ++i)
    {
        m_defaultSounds[i] = -1;
        int index = -1;
        if (!m_defaultSoundNames[i].empty() && g_audio && g_audio->LoadSample(m_defaultSoundNames[i].c_str(), index))
            m_defaultSounds[i] = index;
    }
    for (CGuiControl* control : m_controls)
        if (control && control->GetType() != GUI_TYPE_WINDOW)
            control->ResolveSounds();
}

// ---- events -------------------------------------------------------------------

void CGuiManager::RaiseEvent(int32_t owner, int32_t controlId, int32_t event, int32_t value)
{
    if (m_eventCallback)
        m_eventCallback(owner, controlId, event, value);
}

void CGuiManager::SetGameKeyboardFlag(bool enabled)
{
    if (m_keyboardHook)
        m_keyboardHook(enabled);
}

void CGuiManager::StampFrameTime()
{
    m_frameTime = m_clock();
}

void CGuiManager::RestartActionRepeat(int action)
{
    static const int order[6] = {GUI_ACTION_UP, GUI_ACTION_DOWN, GUI_ACTION_LEFT, GUI_ACTION_RIGHT, GUI_ACTION_SELECT,
                                 GUI_ACTION_BACK};
    for (int i = 0; i < 6; ++i)
        if (order[i] == action || (action == GUI_ACTION_SELECT_2 && order[i] == GUI_ACTION_SELECT))
            m_repeatStamps[i] = int32_t(m_frameTime);
}

// ---- the control table --------------------------------------------------------

CGuiControl* CGuiManager::GetControl(int handle) const
{
    return (handle < 0 || handle >= MAX_CONTROLS) ? nullptr : m_controls[handle];
}

CGuiWindow* CGuiManager::GetWindow(int handle) const
{
    CGuiControl* control = GetControl(handle);
    return control && control->GetType() == GUI_TYPE_WINDOW ? static_cast<CGuiWindow*>(control) : nullptr;
}

bool CGuiManager::FindControlById(int controlId, int& handle) const
{
    for (int i = 0; i < MAX_CONTROLS; ++i)
        if (m_controls[i] && m_controls[i]->GetControlId() == controlId)
        {
            handle = i;
            return true;
        }
    return false;
}

int CGuiManager::FindControlNear(const CGuiControl& near, int controlId) const
{
    if (controlId < 0)
        return -1;
    const CGuiControl* top = near.GetTopLevel();
    int first = -1;
    for (int i = 0; i < MAX_CONTROLS; ++i)
    {
        const CGuiControl* control = m_controls[i];
        if (!control || control->GetControlId() != controlId)
            continue;
        if (control->GetTopLevel() == top)
            return i;
        if (first < 0)
            first = i;
    }
    return first;
}

int CGuiManager::FindFreeHandle() const
{
    for (int i = 0; i < MAX_CONTROLS; ++i)
        if (!m_controls[i])
            return i;
    return -1;
}

bool CGuiManager::AddControl(CGuiControl* control, int& handle)
{
    handle = -1;
    if (!control)
        return false;
    int free = FindFreeHandle();
    if (free < 0)
    {
        delete control;
        return false;
    }
    control->m_manager = this;
    control->m_handle = free;
    m_controls[free] = control;
    ++m_generations[free];
    handle = free;
    return true;
}

bool CGuiManager::CreateWindowControl(const SGuiWindowDesc& desc, int& handle)
{
    handle = -1;
    CGuiWindow* window = new (std::nothrow) CGuiWindow(desc);
    return window && AddControl(window, handle);
}

void CGuiManager::DestroyControl(int handle)
{
    CloseControl(handle);
}

void CGuiManager::CloseControl(int handle)
{
    if (CGuiControl* control = GetControl(handle))
    {
        CGuiStep step(*this);
        control->Close();
    }
}

void CGuiManager::RemoveControl(CGuiControl* control)
{
    if (!control || control->m_handle < 0 || GetControl(control->m_handle) != control)
        return;
    const int handle = control->m_handle;
    if (control->GetType() == GUI_TYPE_WINDOW)
        static_cast<CGuiWindow*>(control)->RunCloseCallback();
    if (GetControl(handle) != control)
        return; // the callback removed it already
    if (CGuiWindow* parent = control->GetParent())
        parent->RemoveChild(control);
    else if (control->GetType() == GUI_TYPE_WINDOW)
        RemoveWindowFromLayer(handle);
    if (m_focus == handle)
        m_focus = -1;
    m_controls[handle] = nullptr;
    control->m_handle = -1;
    if (m_stepDepth > 0)
        m_closed.push_back(control);
    else
        delete control;
}

void CGuiManager::DeleteClosedControls()
{
    std::vector<CGuiControl*> closed;
    closed.swap(m_closed);
    for (CGuiControl* control : closed)
        delete control;
}

void CGuiManager::DestroyAllControls()
{
    CGuiStep step(*this);
    for (int pass = 0; pass < 2; ++pass)
        for (int i = 0; i < MAX_CONTROLS; ++i)
        {
            CGuiControl* control = m_controls[i];
            if (control && (control->GetType() == GUI_TYPE_WINDOW) == (pass == 1))
                RemoveControl(control);
        }
    m_focus = -1;
}

// ---- layers -------------------------------------------------------------------

bool CGuiManager::AddWindowToLayer(int handle, int layer)
{
    CGuiWindow* window = GetWindow(handle);
    if (!window)
        return false;
    layer = ClampLayer(layer);
    if (window->GetParent())
        window->GetParent()->RemoveChild(window);
    window->SetParent(nullptr);
    if (window->GetLayer() >= 0)
        RemoveWindowFromLayer(handle);
    m_layers[layer].insert(m_layers[layer].begin(), handle);
    window->SetLayer(layer);
    return true;
}

bool CGuiManager::RemoveWindowFromLayer(int handle)
{
    CGuiWindow* window = GetWindow(handle);
    if (!window || window->GetParent())
        return false;
    int layer = window->GetLayer();
    if (layer >= 0 && layer < LAYER_COUNT)
    {
        std::vector<int>& list = m_layers[layer];
        auto found = std::find(list.begin(), list.end(), handle);
        if (found != list.end())
        {
            list.erase(found);
            window->SetLayer(-1);
            return true;
        }
    }
    window->SetLayer(-1);
    return false;
}

void CGuiManager::BringWindowToFront(int handle)
{
    CGuiWindow* window = GetWindow(handle);
    if (!window || window->GetLayer() < 0)
        return;
    std::vector<int>& list = m_layers[window->GetLayer()];
    auto found = std::find(list.begin(), list.end(), handle);
    if (found == list.end())
        return;
    list.erase(found);
    list.insert(list.begin(), handle);
}

const std::vector<int>& CGuiManager::GetLayer(int layer) const
{
    return m_layers[ClampLayer(layer)];
}

// ---- focus --------------------------------------------------------------------

bool CGuiManager::FocusFirstInLayer(int layer)
{
    CGuiStep step(*this);
    std::vector<int> windows = m_layers[ClampLayer(layer)];
    for (int handle : windows)
    {
        CGuiControl* window = GetControl(handle);
        if (window && window->TakeFocus())
        {
            m_focus = handle;
            return true;
        }
    }
    return false;
}

bool CGuiManager::SetFocus(int handle)
{
    CGuiStep step(*this);
    for (CGuiControl* control : m_controls)
        if (control)
            control->ClearFocusedFlag();
    if (handle == -1)
    {
        m_focus = -1;
        for (int layer : {2, 1, 0})
            if (FocusFirstInLayer(layer))
                return true;
        return false;
    }
    CGuiControl* next = GetControl(handle);
    if (!next)
        return false;
    if (CGuiControl* old = GetControl(m_focus))
    {
        if (old->GetType() == GUI_TYPE_EDIT_BOX)
            SetGameKeyboardFlag(true);
        old->SwitchTooltip(next);
    }
    else if (next->GetTooltipControlId() >= 0)
    {
        if (CGuiControl* tooltip = GetControl(FindControlNear(*next, next->GetTooltipControlId())))
            tooltip->ShowAsTooltip(true);
    }
    // The tooltips' calls may have closed the control.
    next = GetControl(handle);
    if (!next || !next->TakeFocus())
        return false;
    m_focus = handle;
    next->OnFocusGained();
    return true;
}

int CGuiManager::FindNavigationTarget(const CGuiControl& from, int targetId, int action) const
{
    std::vector<int> visited;
    int id = targetId;
    while (id >= 0)
    {
        int handle = FindControlNear(from, id);
        CGuiControl* control = GetControl(handle);
        if (!control)
            return -1;
        if (control->IsEnabled())
            return handle;
        if (std::find(visited.begin(), visited.end(), handle) != visited.end())
            return -1;
        visited.push_back(handle);
        id = control->GetLink(action);
    }
    return -1;
}

// ---- pointer and shutdown -----------------------------------------------------

void CGuiManager::GetMousePosition(int& x, int& y) const
{
    x = m_pointer.x;
    y = m_pointer.y;
}

int CGuiManager::ShowMouseCursor(bool show)
{
    m_cursorShowCount = std::max(0, m_cursorShowCount + (show ? 1 : -1));
    return m_cursorShowCount;
}

void CGuiManager::Shutdown()
{
    CGuiStep step(*this);
    if (m_pointerConstrained)
    {
        m_constrainMouse = nullptr;
        ApplyConstrainMouse();
    }
    for (int layer = 0; layer < LAYER_COUNT; ++layer)
    {
        std::vector<int> windows = m_layers[layer];
        for (int handle : windows)
            CloseControl(handle);
    }
    if (m_skin.texture >= 0)
        m_renderer.ReleaseTexture(m_skin.texture);
    m_skin.texture = -1;
}
