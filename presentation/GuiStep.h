#pragma once
// Marks a manager step that calls into controls: controls removed during it are
// deleted when the outermost step ends, so no caller up the stack is left holding a
// deleted control.

#include "presentation/GuiManager.h"

class CGuiStep
{
public:
    explicit CGuiStep(CGuiManager& manager) : m_manager(manager) { ++m_manager.m_stepDepth; }
    ~CGuiStep()
    {
        if (--m_manager.m_stepDepth == 0)
            m_manager.DeleteClosedControls();
    }
    CGuiStep(const CGuiStep&) = delete;
    CGuiStep& operator=(const CGuiStep&) = delete;

private:
    CGuiManager& m_manager;
};
