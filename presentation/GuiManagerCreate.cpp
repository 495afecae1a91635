// The create operations of the GUI manager: one per control class, each taking the
// lowest free handle for a control made from its description.

#include "presentation/GuiManager.h"

#include "presentation/GuiAlertBox.h"
#include "presentation/GuiButton.h"
#include "presentation/GuiEditBox.h"
#include "presentation/GuiImage.h"
#include "presentation/GuiListButton.h"
#include "presentation/GuiStep.h"
#include "presentation/GuiTextBox.h"
#include "presentation/GuiTooltip.h"
#include "presentation/GuiWindow3D.h"

#include <new>

namespace
{
template <typename TControl, typename TDesc>
CGuiControl* Make(const TDesc& desc)
{
    return new (std::nothrow) TControl(desc);
}
} // namespace

bool CGuiManager::AddInitialisedControl(CGuiControl* control, int& handle)
{
    handle = -1;
    int made = -1;
    if (!AddControl(control, made))
        return false;
    if (!control->Initialise())
    {
        CGuiStep step(*this);
        RemoveControl(control);
        return false;
    }
    handle = made;
    return true;
}

bool CGuiManager::CreateWindow3DControl(const SGuiWindowDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiWindow3D>(desc), handle);
}

bool CGuiManager::CreateButton(const SGuiButtonDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiButton>(desc), handle);
}

bool CGuiManager::CreateImageButton(const SGuiImageButtonDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiImageButton>(desc), handle);
}

bool CGuiManager::CreateStaticImage(const SGuiStaticImageDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiStaticImage>(desc), handle);
}

bool CGuiManager::CreateTextBox(const SGuiTextBoxDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiTextBox>(desc), handle);
}

bool CGuiManager::CreateEditBox(const SGuiEditBoxDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiEditBox>(desc), handle);
}

bool CGuiManager::CreateListButton(const SGuiListButtonDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiListButton>(desc), handle);
}

bool CGuiManager::CreateStaticText(const SGuiStaticTextDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiStaticText>(desc), handle);
}

bool CGuiManager::CreateTooltip(const SGuiTooltipDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiTooltip>(desc), handle);
}

bool CGuiManager::CreateAlertBox(const SGuiAlertBoxDesc& desc, int& handle)
{
    return AddInitialisedControl(Make<CGuiAlertBox>(desc), handle);
}
