#include "tests/presentation/GuiFixture.h"

uint32_t CGuiTest::s_now = 0;
std::vector<SGuiEventRecord> CGuiTest::s_events;
std::function<void(const SGuiEventRecord&)> CGuiTest::s_onEvent;

void CProbeControl::Action(int code)
{
    m_actions.push_back(code);
    RaiseEvent(GUI_EVENT_ACTION, code);
}

void CProbeControl::CharInput(uint32_t code)
{
    m_characters.push_back(code);
}

bool CProbeControl::PointerClick(const SGuiPoint&)
{
    ++m_clicks;
    RaiseEvent(GUI_EVENT_ACTIVATED, 0);
    return true;
}

bool CProbeControl::PointerPress(const SGuiPoint&)
{
    ++m_presses;
    return true;
}

bool CProbeControl::TakeFocus()
{
    if (!m_visible || !m_enabled)
        return false;
    m_focused = true;
    return true;
}

bool CProbeControl::AcceptHoverFocus()
{
    return m_visible && m_enabled;
}

CProbeControl::~CProbeControl()
{
    if (m_deathLog)
        m_deathLog->push_back("probe");
}

void CGuiTest::SetUp()
{
    s_now = 1000;
    s_events.clear();
    s_onEvent = nullptr;
    MakeManager(640);
}

void CGuiTest::TearDown()
{
    s_onEvent = nullptr;
    m_gui.reset();
    m_renderer.reset();
}

void CGuiTest::MakeManager(int width)
{
    m_gui.reset();
    m_renderer = std::make_unique<CVertexRecordingRenderer>(false, width);
    m_gui = std::make_unique<CGuiManager>(*m_renderer);
    m_gui->SetClock(&CGuiTest::Clock);
    m_gui->SetEventCallback(&CGuiTest::RecordEvent);
    m_gui->StampFrameTime();
}

int CGuiTest::AddWindow(int layer, SGuiRect rect, bool dummy, int32_t owner)
{
    SGuiWindowDesc desc;
    desc.x = rect.x;
    desc.y = rect.y;
    desc.w = rect.w;
    desc.h = rect.h;
    desc.dummy = dummy;
    desc.owner = owner;
    int handle = -1;
    EXPECT_TRUE(m_gui->CreateWindowControl(desc, handle));
    EXPECT_TRUE(m_gui->AddWindowToLayer(handle, layer));
    return handle;
}

CProbeControl* CGuiTest::AddProbe(int window, SGuiRect rect, int controlId, int* handle)
{
    auto* probe = new CProbeControl();
    int made = -1;
    EXPECT_TRUE(m_gui->AddControl(probe, made));
    probe->SetRect(rect);
    probe->SetControlId(controlId);
    CGuiWindow* parent = m_gui->GetWindow(window);
    probe->SetOwner(parent->GetOwner());
    parent->AddChild(probe);
    if (handle)
        *handle = made;
    return probe;
}

void CGuiTest::Frame(std::initializer_list<int> pressed)
{
    s_now += 40;
    SGuiActionInput input;
    for (int action : pressed)
        input.pressed[action] = true;
    m_gui->SetActionInput(input);
    m_gui->StampFrameTime();
    m_gui->Update();
    m_gui->UpdateMouse();
}

void CGuiTest::Pointer(int x, int y, int32_t event)
{
    m_renderer->GetMouseRing().Push(SMouseRingEvent{x, y, event});
}

uint32_t CGuiTest::Clock()
{
    return s_now;
}

void CGuiTest::RecordEvent(int32_t owner, int32_t controlId, int32_t event, int32_t value)
{
    s_events.push_back({owner, controlId, event, value});
    if (s_onEvent)
        s_onEvent(s_events.back());
}
