#pragma once
// A GUI manager on a recording renderer with a clock the test moves, probe controls
// that record what reaches them, and the events the callback saw.

#include "presentation/GuiControl.h"
#include "presentation/GuiManager.h"
#include "presentation/GuiWindow.h"
#include "tests/support/platform/VertexRecordingRenderer.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

struct SGuiEventRecord
{
    int32_t owner, controlId, event, value;
};

// A focusable control that records the actions, characters, clicks and presses that
// reach it; an action raises event 0 and a click event 1, as buttons do.
class CProbeControl : public CGuiControl
{
public:
    int GetType() const override { return GUI_TYPE_BUTTON; }
    void Action(int code) override;
    void CharInput(uint32_t code) override;
    bool PointerClick(const SGuiPoint& point) override;
    bool PointerPress(const SGuiPoint& point) override;
    bool TakeFocus() override;
    bool AcceptHoverFocus() override;
    ~CProbeControl() override;

    std::vector<int> m_actions;
    std::vector<uint32_t> m_characters;
    int m_clicks = 0;
    int m_presses = 0;
    std::vector<std::string>* m_deathLog = nullptr;
};

class CGuiTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;
    void MakeManager(int width);

    // A top-level window on a layer (visible), and a probe inside a window.
    int AddWindow(int layer, SGuiRect rect, bool dummy = false, int32_t owner = 0);
    CProbeControl* AddProbe(int window, SGuiRect rect, int controlId = -1, int* handle = nullptr);

    // One frame: the clock moves 40 ms, then the GUI's steps with these actions pressed.
    void Frame(std::initializer_list<int> pressed = {});
    void Pointer(int x, int y, int32_t event);

    static uint32_t Clock();
    static void RecordEvent(int32_t owner, int32_t controlId, int32_t event, int32_t value);

    static uint32_t s_now;
    static std::vector<SGuiEventRecord> s_events;
    // Runs inside the event callback after the event was recorded.
    static std::function<void(const SGuiEventRecord&)> s_onEvent;

    std::unique_ptr<CVertexRecordingRenderer> m_renderer;
    std::unique_ptr<CGuiManager> m_gui;
};
