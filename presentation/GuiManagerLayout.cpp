// Building the windows and controls of a layout file.

#include "presentation/GuiManager.h"

#include "core/Console.h"
#include "core/DefinitionProblems.h"
#include "core/StringTable.h"
#include "presentation/GuiLayoutFile.h"
#include "presentation/GuiStep.h"
#include "presentation/GuiWindow.h"

namespace
{
bool Create(CGuiManager& gui, const SGuiButtonDesc& desc, int& handle)
{
    return gui.CreateButton(desc, handle);
}
bool Create(CGuiManager& gui, const SGuiImageButtonDesc& desc, int& handle)
{
    return gui.CreateImageButton(desc, handle);
}
bool Create(CGuiManager& gui, const SGuiStaticImageDesc& desc, int& handle)
{
    return gui.CreateStaticImage(desc, handle);
}
bool Create(CGuiManager& gui, const SGuiTextBoxDesc& desc, int& handle)
{
    return gui.CreateTextBox(desc, handle);
}
bool Create(CGuiManager& gui, const SGuiEditBoxDesc& desc, int& handle)
{
    return gui.CreateEditBox(desc, handle);
}
bool Create(CGuiManager& gui, const SGuiListButtonDesc& desc, int& handle)
{
    return gui.CreateListButton(desc, handle);
}
bool Create(CGuiManager& gui, const SGuiStaticTextDesc& desc, int& handle)
{
    return gui.CreateStaticText(desc, handle);
}
bool Create(CGuiManager& gui, const SGuiTooltipDesc& desc, int& handle)
{
    return gui.CreateTooltip(desc, handle);
}
bool Create(CGuiManager& gui, const SGuiAlertBoxDesc& desc, int& handle)
{
    return gui.CreateAlertBox(desc, handle);
}

// A control of a layout, carrying the layout's owner in its events.
template <typename TDesc>
bool CreateOwned(CGuiManager& gui, TDesc desc, int32_t owner, int& handle)
{
    desc.owner = owner;
    return Create(gui, desc, handle);
}

// Windows inside windows are built on their own.
bool CreateOwned(CGuiManager&, const SGuiLayoutWindow&, int32_t, int&)
{
    return false;
}
} // namespace

bool CGuiManager::BuildLayoutWindow(const SGuiLayoutWindow& layout, bool topLevel, int32_t owner, CGuiWindow* parent,
                                    std::vector<int>* handles)
{
    SGuiWindowDesc desc;
    desc.x = layout.x;
    desc.y = layout.y;
    desc.w = layout.w;
    desc.h = layout.h;
    desc.bordered = layout.bordered;
    desc.captioned = layout.captioned;
    desc.clearArea = layout.clearArea;
    desc.closeBox = layout.closeBox;
    desc.alphaTest = layout.alphaTest;
    desc.alphaBlend = layout.alphaBlend;
    desc.dummy = layout.dummy;
    desc.caption = layout.caption.c_str();
    desc.frameIndex = layout.frameIndex;
    desc.owner = owner;
    int handle = -1;
    if (!(layout.window3d ? CreateWindow3DControl(desc, handle) : CreateWindowControl(desc, handle)))
        return false;
    CGuiWindow* window = GetWindow(handle);
    window->SetControlId(layout.controlId);
    if (handles)
        handles->push_back(handle);
    if (topLevel)
    {
        // Top-level windows wait hidden for the screen that loaded them.
        window->SetVisible(false);
        AddWindowToLayer(handle, layout.layer);
    }
    else
        parent->AddChild(window);

    for (const SGuiLayoutControl& control : layout.children)
    {
        if (const SGuiLayoutWindow* inner = std::get_if<SGuiLayoutWindow>(&control.desc))
        {
            BuildLayoutWindow(*inner, false, owner, window, handles);
            continue;
        }
        int made = -1;
        const bool created =
            std::visit([&](const auto& controlDesc) { return CreateOwned(*this, controlDesc, owner, made); }, control.desc);
        if (!created)
            continue;
        CGuiControl* child = GetControl(made);
        window->AddChild(child);
        // Tooltips and alert boxes wait hidden until they are shown.
        const int type = child->GetType();
        child->SetVisible(type != GUI_TYPE_TOOLTIP && type != GUI_TYPE_ALERT_BOX);
        if (handles)
            handles->push_back(made);
    }
    return true;
}

bool CGuiManager::LoadLayout(const char* file, int32_t owner, std::vector<int>* handles)
{
    SGuiLayout layout;
    CDefinitionProblems problems;
    if (!LoadGuiLayoutFile(file, g_stringTable, layout, problems))
    {
        if (g_console)
            g_console->Printf("Failed to load layout %s", file ? file : "");
        return false;
    }
    CGuiStep step(*this);
    for (const SGuiLayoutWindow& window : layout.windows)
        BuildLayoutWindow(window, true, owner, nullptr, handles);
    return true;
}

int CGuiManager::FindControlInLayout(const std::vector<int>& handles, int controlId) const
{
    for (int handle : handles)
        if (const CGuiControl* control = GetControl(handle))
            if (control->GetControlId() == controlId)
                return handle;
    return -1;
}
